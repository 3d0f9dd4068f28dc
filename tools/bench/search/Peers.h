#pragma once
// The two engines we measure against, behind one small interface. Texts and words are
// UTF-8 here; every query returns all matching topic numbers in ascending order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kro::bench {

// Near: two words at most kNearWords positions apart. WildPhrase: a phrase of prefixes.
enum class QueryOp { Word, And, Phrase, Prefix, Or, Not, Forms, Near, WildPhrase };
inline constexpr int kNearWords = 8;

struct PeerArticle {
  std::string title, body;  // UTF-8
};

class PeerEngine {
public:
  virtual ~PeerEngine() = default;
  virtual const char* name() const = 0;
  // Builds the index in `path` (a file or a folder); false on failure.
  virtual bool Build(const std::vector<PeerArticle>& articles, const std::string& path) = 0;
  // Opens the index an earlier Build left in `path`; false when there is none.
  virtual bool Open(const std::string& path) = 0;
  virtual uint64_t SizeBytes() const = 0;
  // False when the engine has no such query (FTS5 has no word forms, neither peer has
  // phrases of prefixes).
  virtual bool Supports(QueryOp op) const = 0;
  virtual std::vector<uint32_t> Run(QueryOp op, const std::vector<std::string>& words) = 0;
};

std::unique_ptr<PeerEngine> MakeFts5();
std::unique_ptr<PeerEngine> MakeXapian();

}  // namespace kro::bench
