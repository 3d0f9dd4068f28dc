#include "runtime/mediaview/core/Title.h"

#include <algorithm>
#include <cstring>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/Collation.h"
#include "runtime/mediaview/core/MappedFile.h"
#include "runtime/mediaview/core/search/SearchIndex.h"

namespace kro::mv {
namespace {

constexpr uint32_t kSummarySize = 16;
constexpr uint32_t kFontRecordSize = kFontFaceBytes + 4;
constexpr uint32_t kWheelRecordSize = 20;
constexpr uint32_t kWheelEntrySize = 12;
constexpr uint32_t kListRecordSize = 12;
constexpr uint32_t kBaggageRecordSize = 16;
constexpr uint32_t kContextRecordSize = 8;

std::string Num(uint64_t value) { return std::to_string(value); }

ParseError Stopped() { return {0, ParseCause::Stopped, "open stopped by the caller"}; }

int CompareBytes(std::string_view a, std::string_view b) { return a.compare(b); }

int CompareFolded(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int ca = Cp1251Lower(static_cast<uint8_t>(a[i]));
    const int cb = Cp1251Lower(static_cast<uint8_t>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool EqualContexts(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace

// The opened full-text index and the outcome of opening it, remembered so a missing or
// damaged index is examined once, not on every query.
struct Title::FullText {
  std::optional<search::SearchIndex> index;
  search::SearchError error = search::SearchError::None;
  std::optional<ParseError> fault;  // why it did not open, in file offsets
};

Title::Title(std::span<const uint8_t> bytes, bool verify) : bytes_(bytes), verify_(verify) {}
Title::~Title() = default;

Result<std::unique_ptr<Title>> Title::Open(std::span<const uint8_t> bytes, const TitleOptions& options) {
  std::unique_ptr<Title> title(new Title(bytes, options.verifyChecksums));
  if (auto fault = title->ReadDirectory()) return *std::move(fault);
  if (options.keepGoing && !options.keepGoing()) return Stopped();
  if (auto fault = title->ReadFixedSections()) return *std::move(fault);
  return title;
}

Result<std::unique_ptr<Title>> Title::OpenFile(const std::string& path, const TitleOptions& options) {
  std::string error;
  auto file = MappedFile::Open(path, &error);
  if (!file) return ParseError{0, ParseCause::Unreadable, error};
  if (options.keepGoing && !options.keepGoing()) return Stopped();
  auto title = Open(file->bytes(), options);
  if (title) (*title)->file_ = std::move(file);
  return title;
}

std::optional<ParseError> Title::ReadDirectory() {
  ByteReader in(bytes_);
  const std::string_view magic = in.Text(sizeof kTitleMagic);
  if (in.ok() && magic != std::string_view(kTitleMagic, sizeof kTitleMagic))
    return ParseError{0, ParseCause::BadMagic, "not a title file"};
  const uint16_t major = in.U16();
  const uint16_t minor = in.U16();
  // Minor versions add only what older readers may skip, so any minor of our major reads.
  if (in.ok() && major != kTitleMajor)
    return ParseError{
        8, ParseCause::UnknownVersion,
        "title version " + Num(major) + "." + Num(minor) + ", this runtime reads version " + Num(kTitleMajor) + ".x"};
  const uint32_t count = in.U32();
  const uint32_t directoryCrc = in.U32();
  const uint32_t fileSize = in.U32();
  if (!in.ok()) return in.Error("title header");
  if (verify_ && fileSize != bytes_.size())
    return ParseError{20, fileSize > bytes_.size() ? ParseCause::Truncated : ParseCause::BadValue,
                      "file is " + Num(bytes_.size()) + " bytes, header says " + Num(fileSize)};
  if (count == 0 || count > kMaxSections)
    return ParseError{12, ParseCause::OutOfLimits,
                      "section count " + Num(count) + ", expected 1.." + Num(kMaxSections)};
  ByteReader dir = in.Sub(kHeaderSize, size_t{count} * kDirectoryEntrySize);
  if (!dir.ok()) return ParseError{kHeaderSize, ParseCause::Truncated, "directory of " + Num(count) + " sections"};
  const size_t directoryEnd = kHeaderSize + dir.size();
  if (verify_ && Crc32(bytes_.data() + kHeaderSize, dir.size()) != directoryCrc)
    return ParseError{kHeaderSize, ParseCause::BadChecksum, "directory"};
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = dir.fileOffset();
    const uint32_t kind = dir.U32();
    SectionEntry e{dir.U32(), dir.U32(), dir.U32(), true};
    if (!RangeFits(e.offset, e.size, bytes_.size()) || e.offset < directoryEnd)
      return ParseError{
          at, ParseCause::OutOfLimits,
          "section " + Num(kind) + " of " + Num(e.size) + " bytes at " + Num(e.offset) + " lies outside the file"};
    if (kind == 0 || kind >= kSectionKindCount) continue;  // a kind from a later minor version
    if (sections_[kind].present) return ParseError{at, ParseCause::BadValue, "section " + Num(kind) + " twice"};
    sections_[kind] = e;
  }
  for (const SectionKind kind : {SectionKind::Summary, SectionKind::Topics, SectionKind::TopicText, SectionKind::Strings,
                                 SectionKind::Contexts, SectionKind::Fonts})
    if (!sections_[static_cast<uint32_t>(kind)].present)
      return ParseError{kHeaderSize, ParseCause::Missing, "required section " + Num(static_cast<uint32_t>(kind))};
  return std::nullopt;
}

// The small sections every call needs are read and checked now; the rest wait for use.
std::optional<ParseError> Title::ReadFixedSections() {
  ByteReader summary = Checked(SectionKind::Summary);
  topicCount_ = summary.U32();
  articleCount_ = summary.U32();
  contentsTopic_ = summary.U32();
  if (!summary.ok()) return summary.Error("summary");
  const uint64_t at = summary.baseOffset();
  if (summary.size() != kSummarySize)
    return ParseError{at, ParseCause::BadValue,
                      "summary is " + Num(summary.size()) + " bytes, expected " + Num(kSummarySize)};
  if (topicCount_ > kMaxTopics)
    return ParseError{at, ParseCause::OutOfLimits, Num(topicCount_) + " topics, at most " + Num(kMaxTopics)};
  if (articleCount_ > topicCount_)
    return ParseError{at + 4, ParseCause::OutOfLimits,
                      Num(articleCount_) + " articles of " + Num(topicCount_) + " topics"};
  if (contentsTopic_ != kNone && contentsTopic_ >= topicCount_)
    return ParseError{at + 8, ParseCause::OutOfLimits,
                      "contents topic " + Num(contentsTopic_) + " of " + Num(topicCount_)};
  const ByteReader topics = Raw(SectionKind::Topics);
  if (topics.size() != uint64_t{topicCount_} * kTopicRecordSize)
    return ParseError{topics.baseOffset(), ParseCause::BadValue,
                      "topic table is " + Num(topics.size()) + " bytes for " + Num(topicCount_) + " topics"};
  ByteReader fonts = Checked(SectionKind::Fonts);
  fontCount_ = fonts.U32();
  if (!fonts.ok()) return fonts.Error("font table");
  if (fontCount_ == 0 || fontCount_ > kMaxFonts)
    return ParseError{fonts.baseOffset(), ParseCause::OutOfLimits,
                      Num(fontCount_) + " fonts, expected 1.." + Num(kMaxFonts)};
  if (fonts.size() != 4 + uint64_t{fontCount_} * kFontRecordSize)
    return ParseError{fonts.baseOffset(), ParseCause::BadValue,
                      "font table is " + Num(fonts.size()) + " bytes for " + Num(fontCount_) + " fonts"};
  ByteReader contexts = Raw(SectionKind::Contexts);
  const uint32_t contextCount = contexts.U32();
  if (!contexts.ok()) return contexts.Error("context table");
  if (contextCount > topicCount_)
    return ParseError{contexts.baseOffset(), ParseCause::OutOfLimits,
                      Num(contextCount) + " contexts of " + Num(topicCount_) + " topics"};
  if (contexts.size() != 4 + uint64_t{contextCount} * kContextRecordSize)
    return ParseError{contexts.baseOffset(), ParseCause::BadValue,
                      "context table is " + Num(contexts.size()) + " bytes for " + Num(contextCount) + " contexts"};
  return std::nullopt;
}

ByteReader Title::Raw(SectionKind kind) const {
  const SectionEntry& e = sections_[static_cast<uint32_t>(kind)];
  if (!e.present) {
    ByteReader none;
    none.Fail(ParseCause::Missing, "section " + Num(static_cast<uint32_t>(kind)));
    return none;
  }
  return ByteReader(bytes_).Sub(e.offset, e.size);
}

ByteReader Title::Checked(SectionKind kind) const {
  const auto index = static_cast<uint32_t>(kind);
  ByteReader raw = Raw(kind);
  if (!raw.ok() || !verify_) return raw;
  if (checks_[index] == Check::Unknown) {
    const SectionEntry& e = sections_[index];
    checks_[index] = Crc32(bytes_.data() + e.offset, e.size) == e.crc ? Check::Good : Check::Bad;
  }
  if (checks_[index] == Check::Bad) raw.Fail(ParseCause::BadChecksum, "section " + Num(index));
  return raw;
}

std::optional<std::span<const uint8_t>> Title::Section(SectionKind kind) const {
  ByteReader r = Checked(kind);
  if (!r.ok()) return std::nullopt;
  return r.Bytes(r.size());
}

const search::SearchIndex* Title::FullTextIndex(search::SearchError* error) const {
  if (!fullText_) {
    auto fullText = std::make_unique<FullText>();
    const ByteReader section = Checked(SectionKind::FullTextIndex);
    if (!sections_[static_cast<size_t>(SectionKind::FullTextIndex)].present) {
      fullText->error = search::SearchError::IndexMissing;
    } else if (!section.ok()) {
      fullText->error = search::SearchError::IndexDamaged;
      fullText->fault = section.error();
    } else if (auto index = search::SearchIndex::Open(*Section(SectionKind::FullTextIndex))) {
      fullText->index = *std::move(index);
    } else {
      fullText->error = search::OpenErrorWord(index.error());
      fullText->fault = index.error();
      fullText->fault->offset += section.baseOffset();
    }
    fullText_ = std::move(fullText);
  }
  *error = fullText_->error;
  return fullText_->index ? &*fullText_->index : nullptr;
}

std::optional<Title::TopicRecord> Title::Topic(uint32_t topic) const {
  if (topic >= topicCount_) return std::nullopt;
  ByteReader r = Checked(SectionKind::Topics);
  r.Seek(size_t{topic} * kTopicRecordSize);
  TopicRecord t{r.U32(), r.U32(), r.U32(), r.U32(), r.U32(), r.U32(), r.U32(), r.U32()};
  if (!r.ok()) return std::nullopt;
  return t;
}

std::optional<std::string_view> Title::String(uint32_t ref) const {
  if (ref == kNone) return std::nullopt;
  ByteReader r = Checked(SectionKind::Strings);
  r.Seek(ref);
  const std::string_view s = r.Text(r.U16());
  if (!r.ok()) return std::nullopt;
  return s;
}

std::optional<std::string_view> Title::TopicTitle(uint32_t topic) const {
  const auto t = Topic(topic);
  if (!t) return std::nullopt;
  const auto s = String(t->titleRef);
  // Callers copy titles into fixed buffers sized for the format's limit.
  if (!s || s->size() > kMaxNameBytes) return std::nullopt;
  return s;
}

std::optional<std::string_view> Title::TopicContext(uint32_t topic) const {
  const auto t = Topic(topic);
  return t ? String(t->contextRef) : std::nullopt;
}

std::optional<std::string_view> Title::TopicData(uint32_t topic) const {
  const auto t = Topic(topic);
  return t ? String(t->dataRef) : std::nullopt;
}

uint32_t Title::BrowsePrev(uint32_t topic) const {
  const auto t = Topic(topic);
  return t && t->prev < topicCount_ ? t->prev : kNone;
}

uint32_t Title::BrowseNext(uint32_t topic) const {
  const auto t = Topic(topic);
  return t && t->next < topicCount_ ? t->next : kNone;
}

uint32_t Title::TopicByHash(uint32_t hash) const {
  ByteReader r = Checked(SectionKind::Contexts);
  const uint32_t count = r.U32();
  uint32_t lo = 0, hi = count;
  while (lo < hi && r.ok()) {
    const uint32_t mid = lo + (hi - lo) / 2;
    r.Seek(4 + size_t{mid} * kContextRecordSize);
    const uint32_t h = r.U32();
    const uint32_t topic = r.U32();
    if (h == hash) return topic < topicCount_ ? topic : kNone;
    if (h < hash) lo = mid + 1;
    else hi = mid;
  }
  return kNone;
}

uint32_t Title::TopicByContext(std::string_view context) const {
  const uint32_t topic = TopicByHash(ContextHash(context));
  const auto stored = TopicContext(topic);
  // Another string with the same hash is not this context.
  return stored && EqualContexts(*stored, context) ? topic : kNone;
}

std::optional<TopicRegions> Title::Regions(uint32_t topic) const {
  auto regions = ReadRegions(topic);
  if (!regions) return std::nullopt;
  return *regions;
}

Result<TopicRegions> Title::ReadRegions(uint32_t topic) const {
  const std::string what = "topic " + Num(topic);
  if (topic >= topicCount_) return ParseError{0, ParseCause::OutOfLimits, what + " of " + Num(topicCount_)};
  const ByteReader table = Checked(SectionKind::Topics);
  const auto t = Topic(topic);
  if (!t) return table.ok() ? ParseError{table.baseOffset(), ParseCause::Truncated, what} : table.Error(what);
  ByteReader blob = Raw(SectionKind::TopicText).Sub(t->blobOffset, t->blobSize);
  const std::span<const uint8_t> all = blob.Bytes(t->blobSize);
  if (!blob.ok())
    return ParseError{
        table.baseOffset() + uint64_t{topic} * kTopicRecordSize, ParseCause::OutOfLimits,
        what + ": " + Num(t->blobSize) + " bytes at " + Num(t->blobOffset) + " lie outside the topic text"};
  if (verify_ && Crc32(all.data(), all.size()) != t->blobCrc)
    return ParseError{blob.baseOffset(), ParseCause::BadChecksum, what};
  ByteReader r(all, blob.baseOffset());
  const uint32_t headingSize = r.U32();
  const uint32_t bodySize = r.U32();
  TopicRegions regions;
  regions.heading = r.Bytes(headingSize);
  regions.body = r.Bytes(bodySize);
  if (!r.ok()) return r.Error(what);
  if (r.remaining() != 0)
    return ParseError{r.fileOffset(), ParseCause::BadValue,
                      what + ": " + Num(r.remaining()) + " bytes after its regions"};
  return regions;
}

Result<Region> Title::DecodeRegion(uint32_t topic, RegionIndex region) const {
  auto regions = ReadRegions(topic);
  if (!regions) return regions.error();
  const std::span<const uint8_t> bytes = region == RegionIndex::Heading ? regions->heading : regions->body;
  return mv::DecodeRegion(bytes, fontCount_, static_cast<uint64_t>(bytes.data() - bytes_.data()));
}

std::optional<std::string> Title::RegionText(uint32_t topic, RegionIndex region) const {
  const auto decoded = DecodeRegion(topic, region);
  if (!decoded) return std::nullopt;
  return PlainText(*decoded);
}

std::optional<FontInfo> Title::Font(uint32_t index) const {
  if (index >= fontCount_) return std::nullopt;
  ByteReader r = Checked(SectionKind::Fonts);
  r.Seek(4 + size_t{index} * kFontRecordSize);
  std::string_view face = r.Text(kFontFaceBytes);
  FontInfo info{face.substr(0, std::min(face.find('\0'), face.size())), r.U8(), r.U8()};
  if (!r.ok()) return std::nullopt;
  return info;
}

// Binary search over a table of records that start with a name ref, ordered by `compare`.
template <typename Fn>
uint32_t Title::FindNamed(SectionKind kind, uint32_t recordSize, std::string_view name, Fn compare) const {
  ByteReader r = Checked(kind);
  const uint32_t count = r.U32();
  if (!r.ok() || uint64_t{count} * recordSize > r.remaining()) return kNone;
  uint32_t lo = 0, hi = count;
  while (lo < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    r.Seek(4 + size_t{mid} * recordSize);
    const auto key = String(r.U32());
    if (!key) return kNone;
    const int c = compare(*key, name);
    if (c == 0) return mid;
    if (c < 0) lo = mid + 1;
    else hi = mid;
  }
  return kNone;
}

std::optional<WordWheel> Title::OpenWordWheel(std::string_view name) const {
  const uint32_t index = FindNamed(SectionKind::WordWheels, kWheelRecordSize, name, CompareBytes);
  if (index == kNone) return std::nullopt;
  ByteReader r = Checked(SectionKind::WordWheels);
  r.Seek(4 + size_t{index} * kWheelRecordSize + 4);
  WordWheel w;
  w.title_ = this;
  w.entryCount_ = r.U32();
  w.entriesOffset_ = r.U32();
  w.addrsOffset_ = r.U32();
  w.addrCount_ = r.U32();
  if (!r.ok() || !RangeFits(w.entriesOffset_, uint64_t{w.entryCount_} * kWheelEntrySize, r.size()) ||
      !RangeFits(w.addrsOffset_, uint64_t{w.addrCount_} * 4, r.size()))
    return std::nullopt;
  w.section_ = r;
  return w;
}

std::optional<std::vector<uint32_t>> Title::StoredList(std::string_view name) const {
  const uint32_t index = FindNamed(SectionKind::StoredLists, kListRecordSize, name, CompareBytes);
  if (index == kNone) return std::nullopt;
  auto list = StoredListAt(index);
  if (!list) return std::nullopt;
  return *std::move(list);
}

Result<std::vector<uint32_t>> Title::StoredListAt(uint32_t index) const {
  ByteReader r = Checked(SectionKind::StoredLists);
  const std::string what = "stored list " + Num(index);
  r.Seek(4 + size_t{index} * kListRecordSize + 4);
  const uint64_t at = r.fileOffset();
  const uint32_t count = r.U32();
  const uint32_t offset = r.U32();
  if (!r.ok()) return r.Error(what);
  if (count > topicCount_)
    return ParseError{at, ParseCause::OutOfLimits, what + ": " + Num(count) + " topics of " + Num(topicCount_)};
  if (!RangeFits(offset, uint64_t{count} * 4, r.size()))
    return ParseError{at, ParseCause::OutOfLimits,
                      what + ": " + Num(count) + " topics at " + Num(offset) + " run past its section"};
  r.Seek(offset);
  std::vector<uint32_t> topics(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t entry = r.fileOffset();
    topics[i] = r.U32();
    if (topics[i] >= topicCount_) return ParseError{entry, ParseCause::OutOfLimits, what + ": topic " + Num(topics[i])};
    if (i > 0 && topics[i] <= topics[i - 1])
      return ParseError{entry, ParseCause::OutOfOrder, what + ": topic " + Num(topics[i])};
  }
  return topics;
}

std::vector<std::string_view> Title::StoredListNames() const {
  std::vector<std::string_view> names;
  ByteReader r = Checked(SectionKind::StoredLists);
  const uint32_t count = r.U32();
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    r.Seek(4 + size_t{i} * kListRecordSize);
    if (const auto name = String(r.U32())) names.push_back(*name);
  }
  return names;
}

std::optional<std::span<const uint8_t>> Title::BaggageFile(std::string_view name, bool* damaged) const {
  if (damaged) *damaged = false;
  const uint32_t index = FindNamed(SectionKind::Baggage, kBaggageRecordSize, name, CompareFolded);
  if (index == kNone) return std::nullopt;
  const auto bytes = BaggageAt(index);
  if (damaged) *damaged = !bytes;
  if (!bytes) return std::nullopt;
  return *bytes;
}

Result<std::span<const uint8_t>> Title::BaggageAt(uint32_t index) const {
  ByteReader r = Checked(SectionKind::Baggage);
  const std::string what = "baggage file " + Num(index);
  r.Seek(4 + size_t{index} * kBaggageRecordSize + 4);
  const uint64_t at = r.fileOffset();
  const uint32_t offset = r.U32();
  const uint32_t size = r.U32();
  const uint32_t crc = r.U32();
  if (!r.ok()) return r.Error(what);
  ByteReader data = Raw(SectionKind::BaggageData).Sub(offset, size);
  const std::span<const uint8_t> bytes = data.Bytes(size);
  if (!data.ok())
    return ParseError{at, ParseCause::OutOfLimits,
                      what + ": " + Num(size) + " bytes at " + Num(offset) + " lie outside the baggage data"};
  if (verify_ && Crc32(bytes.data(), bytes.size()) != crc)
    return ParseError{data.baseOffset(), ParseCause::BadChecksum, what};
  return bytes;
}

std::vector<std::string_view> Title::BaggageNames() const {
  std::vector<std::string_view> names;
  ByteReader r = Checked(SectionKind::Baggage);
  const uint32_t count = r.U32();
  for (uint32_t i = 0; i < count && r.ok(); ++i) {
    r.Seek(4 + size_t{i} * kBaggageRecordSize);
    if (const auto name = String(r.U32())) names.push_back(*name);
  }
  return names;
}

std::optional<ParseError> Title::Verify() const {
  for (uint32_t kind = 1; kind < kSectionKindCount; ++kind) {
    const ByteReader section = Checked(static_cast<SectionKind>(kind));
    if (sections_[kind].present && !section.ok()) return section.error();
  }
  for (uint32_t topic = 0; topic < topicCount_; ++topic)
    for (const RegionIndex index : {RegionIndex::Heading, RegionIndex::Body})
      if (auto region = DecodeRegion(topic, index); !region) return region.error();
  ByteReader baggage = Checked(SectionKind::Baggage);
  for (uint32_t i = 0, count = baggage.U32(); i < count && baggage.ok(); ++i)
    if (auto file = BaggageAt(i); !file) return file.error();
  ByteReader lists = Checked(SectionKind::StoredLists);
  for (uint32_t i = 0, count = lists.U32(); i < count && lists.ok(); ++i)
    if (auto list = StoredListAt(i); !list) return list.error();
  return VerifyFullTextIndex();
}

std::optional<ParseError> Title::VerifyFullTextIndex() const {
  search::SearchError error;
  const search::SearchIndex* index = FullTextIndex(&error);
  if (!index) return fullText_->fault;
  auto fault = index->Verify();
  if (fault) fault->offset += sections_[static_cast<size_t>(SectionKind::FullTextIndex)].offset;
  return fault;
}

std::optional<WordWheel::Entry> WordWheel::ReadEntry(uint32_t entry) const {
  if (entry >= entryCount_) return std::nullopt;
  ByteReader r = section_;
  r.Seek(entriesOffset_ + size_t{entry} * kWheelEntrySize);
  Entry e{r.U32(), r.U32(), r.U32()};
  if (!r.ok() || !RangeFits(e.firstAddr, e.addrCount, addrCount_)) return std::nullopt;
  return e;
}

std::optional<std::string_view> WordWheel::Key(uint32_t entry) const {
  const auto e = ReadEntry(entry);
  if (!e) return std::nullopt;
  const auto key = title_->String(e->keyRef);
  if (!key || key->size() > kMaxNameBytes) return std::nullopt;
  return key;
}

// Damaged keys read as empty: the search stays in bounds and merely finds less.
std::string_view WordWheel::KeyOrEmpty(uint32_t entry) const { return Key(entry).value_or(std::string_view{}); }

uint32_t WordWheel::Prefix(std::string_view prefix) const {
  uint32_t lo = 0, hi = entryCount_;
  while (lo < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    if (ComparePrefix(KeyOrEmpty(mid), prefix) < 0) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

uint32_t WordWheel::Find(std::string_view key) const {
  const std::string primary = PrimaryKey(key);
  uint32_t lo = 0, hi = entryCount_;
  while (lo < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    if (PrimaryKey(KeyOrEmpty(mid)) < primary) lo = mid + 1;
    else hi = mid;
  }
  uint32_t first = kNone;
  for (uint32_t i = lo; i < entryCount_; ++i) {
    const std::string_view k = KeyOrEmpty(i);
    if (PrimaryKey(k) != primary) break;
    if (k == key) return i;
    if (first == kNone) first = i;
  }
  return first;
}

uint32_t WordWheel::AddressCount(uint32_t entry) const {
  const auto e = ReadEntry(entry);
  return e ? e->addrCount : 0;
}

uint32_t WordWheel::Addresses(uint32_t entry, uint32_t first, std::span<uint32_t> out) const {
  const auto e = ReadEntry(entry);
  if (!e || first >= e->addrCount) return 0;
  const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(out.size(), e->addrCount - first));
  ByteReader r = section_;
  r.Seek(addrsOffset_ + (size_t{e->firstAddr} + first) * 4);
  uint32_t written = 0;
  for (; written < n; ++written) {
    const uint32_t topic = r.U32();
    if (!r.ok() || topic >= title_->topicCount()) break;
    out[written] = topic;
  }
  return written;
}

// CRC-32 (the zlib polynomial), eight bytes a step: sections are checked on first use,
// and the larger ones are megabytes.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const auto tables = [] {
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
      for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
  }();
  crc = ~crc;
  for (; size >= 8; data += 8, size -= 8) {
    const uint32_t low = crc ^ (uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 | uint32_t{data[3]} << 24);
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^ tables[4][low >> 24] ^
          tables[3][data[4]] ^ tables[2][data[5]] ^ tables[1][data[6]] ^ tables[0][data[7]];
  }
  for (; size > 0; ++data, --size) crc = tables[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace kro::mv
