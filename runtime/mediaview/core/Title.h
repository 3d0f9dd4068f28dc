#pragma once
// Reader of a title file (layout in TitleFormat.h). Opening checks the header and the
// directory only; topics, indexes and baggage are located and checked when first asked
// for, so a title of any size opens in constant time. Every query answers "none" (kNone,
// nullopt, false) for anything missing or damaged; nothing read from the file is trusted.
// A failed open, a region that does not decode and Verify() say where and why
// (ParseError, offsets from the start of the file).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/base/ByteReader.h"
#include "runtime/base/Result.h"
#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/TitleFormat.h"
#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search {
class SearchIndex;
}

namespace kro::mv {

class MappedFile;

struct TitleOptions {
  // Off only for fuzzing, so mutated files reach the parsers behind the checksums and
  // the recorded file size; every offset is still checked against the real size.
  bool verifyChecksums = true;
  // Called between the steps of an open; returning false stops it (ParseCause::Stopped).
  std::function<bool()> keepGoing;
};

struct FontInfo {
  std::string_view face;
  uint8_t charset = 0;
  uint8_t family = 0;
};

// The two regions of a topic, still encoded; an absent region is empty.
struct TopicRegions {
  std::span<const uint8_t> heading;
  std::span<const uint8_t> body;
};

enum class RegionIndex { Heading = 0, Body = 1 };

class Title;

// One word wheel: sorted keys, each with the topics of its key index.
class WordWheel {
public:
  uint32_t size() const { return entryCount_; }
  std::optional<std::string_view> Key(uint32_t entry) const;
  // The first entry not before `prefix` in word-wheel order (size() when none): an entry
  // that starts with the prefix when one exists.
  uint32_t Prefix(std::string_view prefix) const;
  // The entry whose key is `key` (exact bytes preferred, else equal in word-wheel order).
  uint32_t Find(std::string_view key) const;
  uint32_t AddressCount(uint32_t entry) const;
  // Copies up to out.size() topic numbers starting at the entry's `first`; returns how many.
  uint32_t Addresses(uint32_t entry, uint32_t first, std::span<uint32_t> out) const;

private:
  friend class Title;
  struct Entry {
    uint32_t keyRef, firstAddr, addrCount;
  };
  std::optional<Entry> ReadEntry(uint32_t entry) const;
  std::string_view KeyOrEmpty(uint32_t entry) const;

  const Title* title_ = nullptr;
  ByteReader section_;
  uint32_t entryCount_ = 0;
  uint32_t entriesOffset_ = 0;
  uint32_t addrsOffset_ = 0;
  uint32_t addrCount_ = 0;
};

class Title {
public:
  // Reads a title held in memory that the caller keeps alive.
  static Result<std::unique_ptr<Title>> Open(std::span<const uint8_t> bytes, const TitleOptions& options);
  static Result<std::unique_ptr<Title>> OpenFile(const std::string& path, const TitleOptions& options);
  ~Title();

  uint32_t topicCount() const { return topicCount_; }
  uint32_t articleCount() const { return articleCount_; }
  uint32_t contentsTopic() const { return contentsTopic_; }

  std::optional<std::string_view> TopicTitle(uint32_t topic) const;
  std::optional<std::string_view> TopicContext(uint32_t topic) const;
  std::optional<std::string_view> TopicData(uint32_t topic) const;
  uint32_t BrowsePrev(uint32_t topic) const;
  uint32_t BrowseNext(uint32_t topic) const;
  uint32_t TopicByContext(std::string_view context) const;
  uint32_t TopicByHash(uint32_t hash) const;

  // The encoded regions, after the topic's checksum is verified.
  std::optional<TopicRegions> Regions(uint32_t topic) const;
  Result<Region> DecodeRegion(uint32_t topic, RegionIndex region) const;
  // The plain text that search indexes and highlight offsets count (RichText.h).
  std::optional<std::string> RegionText(uint32_t topic, RegionIndex region) const;

  uint32_t fontCount() const { return fontCount_; }
  std::optional<FontInfo> Font(uint32_t index) const;

  std::optional<WordWheel> OpenWordWheel(std::string_view name) const;
  std::optional<std::vector<uint32_t>> StoredList(std::string_view name) const;
  std::vector<std::string_view> StoredListNames() const;
  // Baggage names match without regard to case (by the code page).
  // *damaged (when given) tells a file that is there but fails its checks from one that is not.
  std::optional<std::span<const uint8_t>> BaggageFile(std::string_view name, bool* damaged = nullptr) const;
  std::vector<std::string_view> BaggageNames() const;

  // A whole section after its checksum is verified; for sections other libraries own
  // (the full-text index).
  std::optional<std::span<const uint8_t>> Section(SectionKind kind) const;

  // The full-text index, opened on first use and kept; nullptr with *error set
  // (IndexMissing, IndexVersion, IndexDamaged) when there is none to search.
  const search::SearchIndex* FullTextIndex(search::SearchError* error) const;

  // Checks every section, topic, baggage file, stored list and the full-text index; the
  // first fault found, or nullopt when the title is sound.
  std::optional<ParseError> Verify() const;

private:
  friend class WordWheel;
  struct SectionEntry {
    uint32_t offset = 0, size = 0, crc = 0;
    bool present = false;
  };
  struct TopicRecord {
    uint32_t blobOffset, blobSize, blobCrc, titleRef, contextRef, dataRef, prev, next;
  };
  enum class Check : uint8_t { Unknown, Good, Bad };

  Title(std::span<const uint8_t> bytes, bool verify);
  std::optional<ParseError> ReadDirectory();
  std::optional<ParseError> ReadFixedSections();
  // Readers over one section that report file offsets.
  ByteReader Raw(SectionKind kind) const;
  // The section's bytes when its checksum holds (checked once).
  ByteReader Checked(SectionKind kind) const;
  std::optional<TopicRecord> Topic(uint32_t topic) const;
  Result<TopicRegions> ReadRegions(uint32_t topic) const;
  Result<std::span<const uint8_t>> BaggageAt(uint32_t index) const;
  Result<std::vector<uint32_t>> StoredListAt(uint32_t index) const;
  std::optional<std::string_view> String(uint32_t ref) const;
  struct FullText;
  std::optional<ParseError> VerifyFullTextIndex() const;
  template <typename Fn>
  uint32_t FindNamed(SectionKind kind, uint32_t recordSize, std::string_view name, Fn compare) const;

  std::span<const uint8_t> bytes_;
  bool verify_;
  std::unique_ptr<MappedFile> file_;
  std::array<SectionEntry, kSectionKindCount> sections_{};
  mutable std::array<Check, kSectionKindCount> checks_{};
  mutable std::unique_ptr<FullText> fullText_;
  uint32_t topicCount_ = 0;
  uint32_t articleCount_ = 0;
  uint32_t contentsTopic_ = kNone;
  uint32_t fontCount_ = 0;
};

}  // namespace kro::mv
