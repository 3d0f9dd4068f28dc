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

bool Fail(TitleStatus* status, TitleError code, std::string message) {
  status->code = code;
  status->message = std::move(message);
  return false;
}

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
  search::SearchIndex index;
  search::SearchError error = search::SearchError::None;
};

Title::Title(std::span<const uint8_t> bytes, bool verify) : bytes_(bytes), verify_(verify) {}
Title::~Title() = default;

std::unique_ptr<Title> Title::Open(std::span<const uint8_t> bytes, const TitleOptions& options, TitleStatus* status) {
  *status = {};
  std::unique_ptr<Title> title(new Title(bytes, options.verifyChecksums));
  if (!title->ReadDirectory(status)) return nullptr;
  if (options.keepGoing && !options.keepGoing()) {
    Fail(status, TitleError::Stopped, "open stopped");
    return nullptr;
  }
  if (!title->ReadFixedSections(status)) return nullptr;
  return title;
}

std::unique_ptr<Title> Title::OpenFile(const std::string& path, const TitleOptions& options, TitleStatus* status) {
  *status = {};
  std::string error;
  auto file = MappedFile::Open(path, &error);
  if (!file) {
    Fail(status, TitleError::Io, error);
    return nullptr;
  }
  if (options.keepGoing && !options.keepGoing()) {
    Fail(status, TitleError::Stopped, "open stopped");
    return nullptr;
  }
  auto title = Open(file->bytes(), options, status);
  if (title) title->file_ = std::move(file);
  return title;
}

bool Title::ReadDirectory(TitleStatus* status) {
  ByteReader in(bytes_);
  const std::string_view magic = in.Text(sizeof kTitleMagic);
  const uint16_t major = in.U16();
  const uint16_t minor = in.U16();
  const uint32_t count = in.U32();
  const uint32_t directoryCrc = in.U32();
  const uint32_t fileSize = in.U32();
  if (!in.ok()) return Fail(status, TitleError::Truncated, "file shorter than a title header");
  if (magic != std::string_view(kTitleMagic, sizeof kTitleMagic)) return Fail(status, TitleError::BadMagic, "not a title file");
  if (major != kTitleMajor)
    return Fail(status, TitleError::BadVersion,
                "title version " + std::to_string(major) + "." + std::to_string(minor) + ", this reader reads " +
                    std::to_string(kTitleMajor) + ".x");
  if (verify_ && fileSize != bytes_.size())
    return Fail(status, TitleError::Truncated,
                "file is " + std::to_string(bytes_.size()) + " bytes, header says " + std::to_string(fileSize));
  if (count == 0 || count > kMaxSections) return Fail(status, TitleError::BadDirectory, "bad section count");
  const std::span<const uint8_t> directory = in.Sub(kHeaderSize, size_t{count} * kDirectoryEntrySize).Bytes(size_t{count} * kDirectoryEntrySize);
  if (directory.empty()) return Fail(status, TitleError::Truncated, "directory runs past the end");
  if (verify_ && Crc32(directory.data(), directory.size()) != directoryCrc)
    return Fail(status, TitleError::Checksum, "directory checksum mismatch");
  ByteReader dir(directory);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t kind = dir.U32();
    SectionEntry e{dir.U32(), dir.U32(), dir.U32(), true};
    if (!RangeFits(e.offset, e.size, bytes_.size()) || e.offset < kHeaderSize + directory.size())
      return Fail(status, TitleError::BadDirectory, "section " + std::to_string(kind) + " lies outside the file");
    if (kind == 0 || kind >= kSectionKindCount) continue;  // a kind from a later minor version
    if (sections_[kind].present) return Fail(status, TitleError::BadDirectory, "section " + std::to_string(kind) + " twice");
    sections_[kind] = e;
  }
  for (const SectionKind kind : {SectionKind::Summary, SectionKind::Topics, SectionKind::TopicText, SectionKind::Strings,
                                 SectionKind::Contexts, SectionKind::Fonts})
    if (!sections_[static_cast<uint32_t>(kind)].present)
      return Fail(status, TitleError::MissingSection, "required section " + std::to_string(static_cast<uint32_t>(kind)) + " missing");
  return true;
}

// The small sections every call needs are read and checked now; the rest wait for use.
bool Title::ReadFixedSections(TitleStatus* status) {
  ByteReader summary = Checked(SectionKind::Summary);
  topicCount_ = summary.U32();
  articleCount_ = summary.U32();
  contentsTopic_ = summary.U32();
  if (!summary.ok() || summary.size() != kSummarySize) return Fail(status, TitleError::BadSection, "summary damaged");
  if (topicCount_ > kMaxTopics || articleCount_ > topicCount_ || (contentsTopic_ != kNone && contentsTopic_ >= topicCount_))
    return Fail(status, TitleError::BadSection, "summary counts out of range");
  if (Raw(SectionKind::Topics).size() != uint64_t{topicCount_} * kTopicRecordSize)
    return Fail(status, TitleError::BadSection, "topic table size does not match the topic count");
  ByteReader fonts = Checked(SectionKind::Fonts);
  fontCount_ = fonts.U32();
  if (!fonts.ok() || fontCount_ == 0 || fontCount_ > kMaxFonts || fonts.size() != 4 + uint64_t{fontCount_} * kFontRecordSize)
    return Fail(status, TitleError::BadSection, "font table damaged");
  ByteReader contexts = Raw(SectionKind::Contexts);
  const uint32_t contextCount = contexts.U32();
  if (!contexts.ok() || contextCount > topicCount_ || contexts.size() != 4 + uint64_t{contextCount} * kContextRecordSize)
    return Fail(status, TitleError::BadSection, "context table damaged");
  return true;
}

ByteReader Title::Raw(SectionKind kind) const {
  const SectionEntry& e = sections_[static_cast<uint32_t>(kind)];
  if (!e.present) {
    ByteReader none;
    none.Fail(ParseCause::Missing, "section " + std::to_string(static_cast<uint32_t>(kind)) + " absent");
    return none;
  }
  return ByteReader(bytes_.subspan(e.offset, e.size));
}

ByteReader Title::Checked(SectionKind kind) const {
  const auto index = static_cast<uint32_t>(kind);
  ByteReader raw = Raw(kind);
  if (!raw.ok() || !verify_) return raw;
  if (checks_[index] == Check::Unknown) {
    const SectionEntry& e = sections_[index];
    checks_[index] = Crc32(bytes_.data() + e.offset, e.size) == e.crc ? Check::Good : Check::Bad;
  }
  if (checks_[index] == Check::Bad) raw.Fail(ParseCause::BadChecksum, "section " + std::to_string(index));
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
    if (!sections_[static_cast<size_t>(SectionKind::FullTextIndex)].present)
      fullText->error = search::SearchError::IndexMissing;
    else if (const auto bytes = Section(SectionKind::FullTextIndex))
      fullText->error = fullText->index.Open(*bytes);
    else
      fullText->error = search::SearchError::IndexDamaged;
    fullText_ = std::move(fullText);
  }
  *error = fullText_->error;
  return fullText_->error == search::SearchError::None ? &fullText_->index : nullptr;
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
  const auto t = Topic(topic);
  if (!t) return std::nullopt;
  ByteReader text = Raw(SectionKind::TopicText);
  ByteReader blob = text.Sub(t->blobOffset, t->blobSize);
  const std::span<const uint8_t> all = blob.Bytes(t->blobSize);
  if (!blob.ok()) return std::nullopt;
  if (verify_ && Crc32(all.data(), all.size()) != t->blobCrc) return std::nullopt;
  ByteReader r(all);
  const uint32_t headingSize = r.U32();
  const uint32_t bodySize = r.U32();
  TopicRegions regions;
  regions.heading = r.Bytes(headingSize);
  regions.body = r.Bytes(bodySize);
  if (!r.ok() || r.remaining() != 0) return std::nullopt;
  return regions;
}

bool Title::DecodeRegion(uint32_t topic, RegionIndex region, Region* out, std::string* error) const {
  const auto regions = Regions(topic);
  if (!regions) {
    *out = Region{};
    if (error) *error = "topic " + std::to_string(topic) + " missing or damaged";
    return false;
  }
  return mv::DecodeRegion(region == RegionIndex::Heading ? regions->heading : regions->body, fontCount_, out, error);
}

std::optional<std::string> Title::RegionText(uint32_t topic, RegionIndex region) const {
  Region decoded;
  if (!DecodeRegion(topic, region, &decoded, nullptr)) return std::nullopt;
  return PlainText(decoded);
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
  ByteReader r = Checked(SectionKind::StoredLists);
  r.Seek(4 + size_t{index} * kListRecordSize + 4);
  const uint32_t count = r.U32();
  const uint32_t offset = r.U32();
  if (!r.ok() || count > topicCount_ || !RangeFits(offset, uint64_t{count} * 4, r.size())) return std::nullopt;
  r.Seek(offset);
  std::vector<uint32_t> topics(count);
  for (uint32_t i = 0; i < count; ++i) {
    topics[i] = r.U32();
    if (topics[i] >= topicCount_ || (i > 0 && topics[i] <= topics[i - 1])) return std::nullopt;
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
  if (damaged) *damaged = true;  // until the file passes its checks
  ByteReader r = Checked(SectionKind::Baggage);
  r.Seek(4 + size_t{index} * kBaggageRecordSize + 4);
  const uint32_t offset = r.U32();
  const uint32_t size = r.U32();
  const uint32_t crc = r.U32();
  ByteReader data = Raw(SectionKind::BaggageData).Sub(offset, size);
  const std::span<const uint8_t> bytes = data.Bytes(size);
  if (!r.ok() || !data.ok()) return std::nullopt;
  if (verify_ && Crc32(bytes.data(), bytes.size()) != crc) return std::nullopt;
  if (damaged) *damaged = false;
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

std::string Title::Verify() const {
  for (uint32_t kind = 1; kind < kSectionKindCount; ++kind) {
    const auto k = static_cast<SectionKind>(kind);
    if (sections_[kind].present && !Checked(k).ok()) return "section " + std::to_string(kind) + ": checksum mismatch";
  }
  for (uint32_t topic = 0; topic < topicCount_; ++topic) {
    Region region;
    std::string error;
    for (const RegionIndex index : {RegionIndex::Heading, RegionIndex::Body})
      if (!DecodeRegion(topic, index, &region, &error)) return "topic " + std::to_string(topic) + ": " + error;
  }
  for (const std::string_view name : BaggageNames())
    if (!BaggageFile(name)) return "baggage " + std::string(name) + ": damaged";
  for (const std::string_view name : StoredListNames())
    if (!StoredList(name)) return "stored list " + std::string(name) + ": damaged";
  return VerifyFullTextIndex();
}

std::string Title::VerifyFullTextIndex() const {
  search::SearchError error;
  const search::SearchIndex* index = FullTextIndex(&error);
  if (index) error = index->Verify();
  if (error == search::SearchError::None || error == search::SearchError::IndexMissing) return "";
  return "full-text index: " + std::string(error == search::SearchError::IndexVersion ? "unknown version" : "damaged") +
         " (error " + std::to_string(static_cast<int>(error)) + ")";
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
