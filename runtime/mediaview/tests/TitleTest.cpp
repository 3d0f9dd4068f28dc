// The reader over the fixture title (fixture/), compiled in-process by titlec's library.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/TopicList.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "runtime/mediaview/core/search/tests/IndexVersion1.h"
#include "tools/titlec/Compiler.h"

namespace kro::mv {
namespace {

const std::vector<uint8_t>& FixtureBytes() {
  static const std::vector<uint8_t> bytes = [] {
    titlec::Diagnostics diags;
    const auto result = titlec::Compile(titlec::DiskFolder(KRO_FIXTURE_DIR), {}, &diags);
    EXPECT_TRUE(result) << diags.Report();
    return result ? result->title : std::vector<uint8_t>{};
  }();
  return bytes;
}

Result<std::unique_ptr<Title>> OpenBytes(std::span<const uint8_t> bytes, bool verifyChecksums = true) {
  TitleOptions options;
  options.verifyChecksums = verifyChecksums;
  return Title::Open(bytes, options);
}

// Where the directory puts a section of the fixture.
uint32_t SectionOffset(const std::vector<uint8_t>& bytes, SectionKind kind) {
  ByteReader r(bytes);
  r.Seek(12);
  const uint32_t count = r.U32();
  r.Seek(kHeaderSize);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t k = r.U32(), offset = r.U32();
    r.Skip(8);
    if (k == static_cast<uint32_t>(kind)) return offset;
  }
  ADD_FAILURE() << "no section " << static_cast<uint32_t>(kind);
  return 0;
}

void PutLE32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

class TitleTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto opened = OpenBytes(FixtureBytes());
    ASSERT_TRUE(opened) << opened.error().ToString();
    title_ = *std::move(opened);
  }
  std::unique_ptr<Title> title_;
};

TEST_F(TitleTest, ArticlesAreNumberedInWordWheelOrder) {
  const auto wheel = title_->OpenWordWheel("|a");
  ASSERT_TRUE(wheel);
  const std::vector<std::string> expected = {"1812 год", "Азовское море", "«Бежин луг»", "Волга", "Ёлка",
                                             "Ель", "Каспийское море", "РОССИЯ", "Яуза", "Internet"};
  ASSERT_EQ(wheel->size(), expected.size());
  EXPECT_EQ(title_->articleCount(), expected.size());
  for (uint32_t n = 0; n < expected.size(); ++n) {
    EXPECT_EQ(wheel->Key(n), expected[n]);
    EXPECT_EQ(title_->TopicTitle(n), expected[n]);  // entry n names topic n
    uint32_t topic = kNone;
    EXPECT_EQ(wheel->Addresses(n, 0, std::span(&topic, 1)), 1u);
    EXPECT_EQ(topic, n);
  }
  EXPECT_EQ(title_->topicCount(), 14u);  // popups and credits follow the articles
  EXPECT_EQ(title_->TopicContext(10), "credits");
}

TEST_F(TitleTest, PrefixLookups) {
  const auto wheel = title_->OpenWordWheel("|a");
  struct Case {
    const char* prefix;
    uint32_t entry;
  } cases[] = {{"", 0}, {"0", 0}, {"1812", 0}, {"а", 1}, {"бежин", 2}, {"ё", 4}, {"ель", 5},
               {"россия", 7}, {"яя", 9}, {"INTER", 9}, {"zzz", 10}};
  for (const Case& c : cases) EXPECT_EQ(wheel->Prefix(c.prefix), c.entry) << c.prefix;
}

TEST_F(TitleTest, KeyIndexCountsAndAddresses) {
  const auto titles = title_->OpenWordWheel("|a");
  EXPECT_EQ(titles->AddressCount(titles->Find("Волга")), 1u);
  EXPECT_EQ(titles->Find("волга"), 3u);  // equal in word-wheel order
  EXPECT_EQ(titles->Find("Волг"), kNone);
  EXPECT_EQ(titles->AddressCount(kNone), 0u);
  const auto keywords = title_->OpenWordWheel("|k");
  ASSERT_TRUE(keywords);
  const uint32_t rivers = keywords->Find("реки");
  ASSERT_EQ(keywords->AddressCount(rivers), 2u);
  uint32_t topics[3] = {};
  EXPECT_EQ(keywords->Addresses(rivers, 0, topics), 2u);
  EXPECT_EQ(topics[0], 3u);
  EXPECT_EQ(topics[1], 8u);
  EXPECT_EQ(keywords->Addresses(rivers, 2, topics), 0u);
  EXPECT_FALSE(title_->OpenWordWheel("|x"));
}

TEST_F(TitleTest, StoredListsIncludingLetterLists) {
  EXPECT_EQ(title_->StoredList("107"), (std::vector<uint32_t>{1, 3, 6, 8}));
  EXPECT_EQ(title_->StoredList("rivers"), (std::vector<uint32_t>{3, 8}));
  EXPECT_EQ(title_->StoredList("v"), (std::vector<uint32_t>{3}));
  EXPECT_EQ(title_->StoredList("e"), (std::vector<uint32_t>{5}));
  EXPECT_EQ(title_->StoredList("l"), (std::vector<uint32_t>{4}));  // Ёлка files under its first letter at or above А
  EXPECT_FALSE(title_->StoredList("108"));
}

TEST(Crc32, KnownValues) {
  const std::string text = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  EXPECT_EQ(Crc32(bytes + 4, 5, Crc32(bytes, 4)), 0xCBF43926u);  // chained in pieces
}

TEST(TopicList, CombineLeavesOperandsUnchanged) {
  const TopicList a({1, 3, 6, 8}), b({3, 8, 9});
  EXPECT_EQ(TopicList::Combine(ListOp::Intersection, a, b).topics(), (std::vector<uint32_t>{3, 8}));
  EXPECT_EQ(TopicList::Combine(ListOp::Union, a, b).topics(), (std::vector<uint32_t>{1, 3, 6, 8, 9}));
  EXPECT_EQ(TopicList::Combine(ListOp::Difference, a, b).topics(), (std::vector<uint32_t>{1, 6}));
  EXPECT_EQ(TopicList::Combine(ListOp::Difference, a, TopicList()).topics(), a.topics());
  EXPECT_EQ(a.topics(), (std::vector<uint32_t>{1, 3, 6, 8}));
  EXPECT_EQ(b.topics(), (std::vector<uint32_t>{3, 8, 9}));
  EXPECT_EQ(a.At(4), kNone);
}

TEST_F(TitleTest, ContextStringsAndHashes) {
  EXPECT_EQ(title_->TopicByContext("topic_volga"), 3u);
  EXPECT_EQ(title_->TopicByContext("TOPIC_Volga"), 3u);
  EXPECT_EQ(title_->TopicByHash(ContextHash("topic_volga")), 3u);
  EXPECT_EQ(title_->TopicByContext("topic_volg"), kNone);
  EXPECT_EQ(title_->TopicByContext(""), kNone);
  EXPECT_EQ(title_->TopicByHash(0), kNone);
  EXPECT_EQ(title_->contentsTopic(), 7u);
  EXPECT_EQ(ViewAddressOf(3), 0x40000003u);
  EXPECT_EQ(TopicOfViewAddress(0x40000003u), 3u);
  EXPECT_EQ(TopicOfViewAddress(3), kNone);
  EXPECT_EQ(TopicOfViewAddress(kNone), kNone);
}

TEST_F(TitleTest, BrowseSequenceEnds) {
  EXPECT_EQ(title_->BrowsePrev(1), kNone);  // 1812 is left out, so Азовское море starts
  EXPECT_EQ(title_->BrowseNext(1), 2u);
  EXPECT_EQ(title_->BrowseNext(9), 10u);    // credits join after the articles
  EXPECT_EQ(title_->BrowseNext(10), kNone);
  EXPECT_EQ(title_->BrowsePrev(0), kNone);
  EXPECT_EQ(title_->BrowseNext(0), kNone);
  EXPECT_EQ(title_->BrowseNext(12), kNone);
  EXPECT_EQ(title_->BrowseNext(99), kNone);
}

TEST_F(TitleTest, NamesAndDataStrings) {
  EXPECT_EQ(title_->TopicData(3),
            "[PICT] volga1.jpg {Волга у Ярославля}; volga2.jpg {Жигулёвские горы}[PORT] pkarpov.jpg"
            "[MOVE] volga.mov {Течение Волги весной}[MAPS] map_volga;[WAVE] !snd_volga>;");
  EXPECT_FALSE(title_->TopicData(1));
  EXPECT_EQ(title_->TopicTitle(11), "Карта Волги");
  EXPECT_FALSE(title_->TopicTitle(12));  // a popup without a title
  EXPECT_FALSE(title_->TopicTitle(14));
}

TEST_F(TitleTest, RegionsHotspotsAndPlainText) {
  EXPECT_EQ(title_->RegionText(3, RegionIndex::Heading), "Волга");
  const auto decoded = title_->DecodeRegion(3, RegionIndex::Body);
  ASSERT_TRUE(decoded) << decoded.error().ToString();
  const Region& body = *decoded;
  ASSERT_EQ(body.hotspots.size(), 4u);
  EXPECT_EQ(body.hotspots[0].kind, HotspotKind::Jump);
  EXPECT_EQ(body.hotspots[0].hash, ContextHash("topic_caspian"));
  EXPECT_EQ(body.hotspots[1].kind, HotspotKind::Popup);
  EXPECT_EQ(body.hotspots[1].data, "pop_delta");
  EXPECT_EQ(body.hotspots[2].kind, HotspotKind::Command);
  EXPECT_EQ(body.hotspots[2].data, "topic_caspian>main");
  EXPECT_EQ(body.hotspots[3].data, "activate");
  const std::string text = PlainText(body);
  EXPECT_EQ(text.substr(body.hotspots[0].textBegin, body.hotspots[0].textEnd - body.hotspots[0].textBegin), "Каспийское море");
  EXPECT_TRUE(text.ends_with("\n\x95\tисток\n\x95\tустье"));
  EXPECT_EQ(title_->RegionText(4, RegionIndex::Heading), "");  // Ёлка has no heading
  EXPECT_EQ(title_->RegionText(6, RegionIndex::Body), "Крупнейшее озеро Земли.\nВторая строка.");
  EXPECT_EQ(title_->Font(0)->face, "PT Serif");
  EXPECT_EQ(title_->Font(0)->charset, kRussianCharset);
}

TEST_F(TitleTest, BaggageFilesByteForByte) {
  const auto slides = title_->BaggageFile("Slides.DAT");
  ASSERT_TRUE(slides);
  EXPECT_EQ(std::string(slides->begin(), slides->end()), "Волга у Ярославля;volga1.jpg;v\r\nЖигулёвские горы;volga2.jpg;v\r\n");
  const auto captions = title_->BaggageFile("videocap.txt");  // converted from UTF-8, CR LF line ends
  ASSERT_TRUE(captions);
  EXPECT_EQ(std::string(captions->begin(), captions->end()), "volga.mov\tТечение Волги весной\r\nural.mov\tУрал\r\n");
  bool damaged = true;
  EXPECT_FALSE(title_->BaggageFile("none.dat", &damaged));
  EXPECT_FALSE(damaged);
  EXPECT_EQ(title_->BaggageNames().size(), 4u);
}

TEST_F(TitleTest, VerifyFindsNoFaultAndBuildsAreDeterministic) {
  const auto fault = title_->Verify();
  EXPECT_FALSE(fault) << fault->ToString();
  titlec::Diagnostics diags;
  const auto again = titlec::Compile(titlec::DiskFolder(KRO_FIXTURE_DIR), {}, &diags);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->title, FixtureBytes());
}

// A title cut anywhere is refused as truncated: inside the header at the field that ran
// out, past it by the size the header records.
TEST(DamagedTitle, EveryTruncationIsRefusedAsTruncated) {
  const auto& bytes = FixtureBytes();
  for (size_t n = 0; n < bytes.size(); ++n) {
    const auto title = OpenBytes(std::span(bytes.data(), n));
    ASSERT_FALSE(title) << n;
    EXPECT_EQ(title.error().cause, ParseCause::Truncated) << n << ": " << title.error().ToString();
    const uint64_t field = n < 8 ? 0 : n < 10 ? 8 : n < 12 ? 10 : n < 16 ? 12 : n < 20 ? 16 : 20;
    EXPECT_EQ(title.error().offset, field) << n;
  }
  EXPECT_EQ(OpenBytes(std::span(bytes.data(), 5)).error().ToString(), "offset 0: truncated: title header: needs 8 bytes, 5 left");
}

TEST(DamagedTitle, HeaderFaultsNameTheirOffsetAndCause) {
  struct Case {
    size_t offset;
    uint8_t value;
    const char* error;
  } cases[] = {
      {0, 'X', "offset 0: bad magic: not a title file"},
      {8, 2, "offset 8: unknown version: title version 2.0, this runtime reads version 1.x"},
      {12, 0, "offset 12: out of limits: section count 0, expected 1..64"},
      {12, 65, "offset 12: out of limits: section count 65, expected 1..64"},
      {16, 0x55, "offset 32: bad checksum: directory"},
      {20, 0x01, "offset 20: bad value: file is "},  // the header names fewer bytes than there are
      {23, 0x7F, "offset 20: truncated: file is "},  // or more
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = FixtureBytes();
    bytes[c.offset] = c.value;
    const auto title = OpenBytes(bytes);
    ASSERT_FALSE(title) << c.error;
    EXPECT_THAT(title.error().ToString(), ::testing::StartsWith(c.error));
  }
}

// Fields past the checksums, damaged on purpose (checks off, as a fuzzer sees them), are
// reported where they sit.
TEST(DamagedTitle, SectionFaultsNameTheirOffsetAndCause) {
  const std::vector<uint8_t>& good = FixtureBytes();
  const uint32_t summary = SectionOffset(good, SectionKind::Summary);
  const uint32_t fonts = SectionOffset(good, SectionKind::Fonts);
  const uint32_t topics = SectionOffset(good, SectionKind::Topics);
  const struct {
    size_t at;
    uint32_t value;
    std::string error;
  } cases[] = {
      {summary, 0x7FFFFFFF, "offset " + std::to_string(summary) + ": out of limits: 2147483647 topics, at most 16777216"},
      {summary + 4, 15, "offset " + std::to_string(summary + 4) + ": out of limits: 15 articles of 14 topics"},
      {summary + 8, 14, "offset " + std::to_string(summary + 8) + ": out of limits: contents topic 14 of 14"},
      {summary, 13, "offset " + std::to_string(topics) + ": bad value: topic table is 448 bytes for 13 topics"},
      {fonts, 0, "offset " + std::to_string(fonts) + ": out of limits: 0 fonts, expected 1..255"},
      {fonts, 2, "offset " + std::to_string(fonts) + ": bad value: font table is 112 bytes for 2 fonts"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = good;
    PutLE32(bytes, c.at, c.value);
    const auto title = OpenBytes(bytes, false);
    ASSERT_FALSE(title) << c.error;
    EXPECT_EQ(title.error().ToString(), c.error);
  }
}

TEST(DamagedTitle, TopicFaultsAreReportedByDecodeAndVerify) {
  std::vector<uint8_t> bytes = FixtureBytes();
  const uint32_t record = SectionOffset(bytes, SectionKind::Topics) + 3 * kTopicRecordSize;
  PutLE32(bytes, record, 0x10000000);  // topic 3's blob: offset and size
  PutLE32(bytes, record + 4, 16);
  const auto title = OpenBytes(bytes, false);
  ASSERT_TRUE(title);
  const std::string expected = "offset " + std::to_string(record) +
                               ": out of limits: topic 3: 16 bytes at 268435456 lie outside the topic text";
  EXPECT_EQ((*title)->DecodeRegion(3, RegionIndex::Body).error().ToString(), expected);
  EXPECT_EQ((*title)->Verify()->ToString(), expected);
  EXPECT_FALSE((*title)->RegionText(3, RegionIndex::Heading));
  EXPECT_EQ((*title)->RegionText(4, RegionIndex::Heading), "");  // the others still read
}

// Sections follow the directory without gaps, so every byte after it is covered by a
// checksum: a flipped byte fails the open or the check of what holds it, which is
// reported at its start.
TEST(DamagedTitle, FlippedBytesAreCaughtByChecksums) {
  const auto& good = FixtureBytes();
  for (size_t i = 32; i < good.size(); ++i) {
    std::vector<uint8_t> bytes = good;
    bytes[i] ^= 0x5A;
    const auto title = OpenBytes(bytes);
    const std::optional<ParseError> fault = title ? (*title)->Verify() : title.error();
    ASSERT_TRUE(fault) << "flip at " << i << " went unnoticed";
    EXPECT_LE(fault->offset, i) << fault->ToString();
  }
}

}  // namespace
}  // namespace kro::mv

namespace kro::mv {
namespace {

// The fixture compiled with `index` as its full-text section (none when empty).
// `version` as SearchIndexBuilder takes it.
std::vector<uint8_t> FixtureWithIndex(std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)> index,
                                      uint16_t version) {
  titlec::CompileOptions options;
  if (index) {
    options.indexer = [&](std::span<const titlec::RegionText> texts) {
      search::SearchIndexBuilder builder(search::DefaultStopWords(), version);
      for (const titlec::RegionText& t : texts) builder.Add(t.topic, static_cast<int>(t.region), t.text);
      return index(builder.Finish());
    };
  }
  titlec::Diagnostics diags;
  const auto result = titlec::Compile(titlec::DiskFolder(KRO_FIXTURE_DIR), options, &diags);
  EXPECT_TRUE(result) << diags.Report();
  return result ? result->title : std::vector<uint8_t>{};
}

TEST(FullTextSection, OpensOnFirstUseAndRefusesMissingOrDamagedIndexes) {
  const struct {
    const char* name;
    std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)> index;
    search::SearchError error;
    bool sound;
    uint16_t version = 0;  // of the index written
  } cases[] = {
      {"sound", [](const std::vector<uint8_t>& b) { return b; }, search::SearchError::None, true},
      {"missing", nullptr, search::SearchError::IndexMissing, true},
      {"written before the pairs", [](const std::vector<uint8_t>& b) { return search::AsVersion1(b); },
       search::SearchError::None, true, 2},
      {"written before the strides", [](const std::vector<uint8_t>& b) { return b; }, search::SearchError::None, true, 2},
      {"foreign", [](const std::vector<uint8_t>&) { return std::vector<uint8_t>(64, 0x5A); },
       search::SearchError::IndexVersion, false},
      {"cut short", [](const std::vector<uint8_t>& b) { return std::vector<uint8_t>(b.begin(), b.begin() + b.size() / 2); },
       search::SearchError::IndexDamaged, false},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> bytes = FixtureWithIndex(c.index, c.version);
    const auto opened = Title::Open(bytes, {});
    ASSERT_TRUE(opened) << c.name << ": " << opened.error().ToString();
    const auto& title = *opened;
    search::SearchError error = search::SearchError::Stopped;
    const search::SearchIndex* index = title->FullTextIndex(&error);
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(index != nullptr, c.error == search::SearchError::None) << c.name;
    EXPECT_EQ(index ? index->topicCount() : title->topicCount(), title->topicCount()) << c.name;
    EXPECT_EQ(title->FullTextIndex(&error), index) << c.name << ": opened once";
    const auto fault = title->Verify();
    EXPECT_EQ(!fault, c.sound) << c.name << ": " << fault->ToString();
  }
}

}  // namespace
}  // namespace kro::mv
