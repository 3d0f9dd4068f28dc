#pragma once
// Reads a full-text index over borrowed bytes (the title maps its file and lends the
// section). Open checks the header and the tables it sizes; everything else is checked as
// it is decoded, so damage makes a lookup or a query fail, never read out of bounds.
// Open and Verify report offsets from the start of the index.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/base/Result.h"
#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search {

struct TermInfo {
  uint32_t ordinal = 0;
  uint32_t docCount = 0;
  std::span<const uint8_t> postings;
  bool strided = false;  // blocks of more than a stride start with their stride table
};

class SearchIndex {
public:
  static Result<SearchIndex> Open(std::span<const uint8_t> bytes);

  uint32_t topicCount() const { return topicCount_; }
  uint32_t termCount() const { return termCount_; }
  size_t sizeBytes() const { return bytes_.size(); }
  bool IsStopWord(std::string_view folded) const;
  const std::vector<std::string>& stopWords() const { return stopWords_; }
  // Number of word positions of the topic's heading; body positions follow after a gap.
  uint32_t HeadingWords(uint32_t topic) const;
  uint32_t BodyBase(uint32_t topic) const;

  // Each lookup answers false when the index turns out damaged; `found` tells a missing term.
  bool FindTerm(std::string_view term, TermInfo* info, bool* found) const;
  bool TermAt(uint32_t ordinal, TermInfo* info, std::string* text) const;
  // Visits the terms from the first one >= `from` in ascending order while `visit` answers
  // true.
  using TermVisitor = std::function<bool(std::string_view term, const TermInfo& info)>;
  bool VisitTerms(std::string_view from, const TermVisitor& visit) const;
  // Ordinals of the terms whose stem is `stem` (ascending); empty when none.
  bool TermsOfStem(std::string_view stem, std::vector<uint32_t>* ordinals) const;

  // Pairs of adjacent frequent terms (none in a version 1 index). A pair word's index is
  // its place among the pair words, or -1 for a term that is none.
  uint16_t version() const { return version_; }
  size_t pairWordCount() const { return pairWords_.size(); }
  int32_t PairWord(uint32_t ordinal) const;
  // The postings of `first` directly followed by `second` (pair word indexes), with the
  // positions of `first`; `found` false when the two never stand side by side.
  bool FindPair(uint32_t first, uint32_t second, TermInfo* info, bool* found) const;

  // Decodes every table and postings list; the first inconsistency, or nullopt.
  std::optional<ParseError> Verify() const;

private:
  std::optional<ParseError> ReadTables();
  std::span<const uint8_t> Section(size_t index) const;
  uint64_t OffsetOf(const uint8_t* p) const { return static_cast<uint64_t>(p - bytes_.data()); }
  int64_t FindBlock(std::span<const uint8_t> blocks, std::span<const uint8_t> index,
                    uint32_t blockCount, std::string_view key, bool terms, bool* ok) const;
  bool VerifyPostings(const TermInfo& info) const;
  std::optional<ParseError> ReadPairWords();
  std::optional<ParseError> VerifyPairs() const;
  std::span<const uint8_t> PairRun(uint32_t first) const;
  bool strided() const;

  std::span<const uint8_t> bytes_;
  std::vector<std::span<const uint8_t>> sections_;
  uint32_t topicCount_ = 0;
  uint32_t termCount_ = 0;
  uint32_t stemCount_ = 0;
  uint16_t version_ = 0;
  std::vector<std::string> stopWords_;
  std::vector<uint32_t> pairWords_;  // term ordinals, ascending
};

// The error word a caller of the runtime sees for an index that did not open: IndexVersion
// for a file that is not an index or is one of another version, IndexDamaged otherwise.
SearchError OpenErrorWord(const ParseError& error);

}  // namespace kro::search
