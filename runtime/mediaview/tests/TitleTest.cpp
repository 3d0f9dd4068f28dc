// The reader over the fixture title (fixture/), compiled in-process by titlec's library.
#include <gtest/gtest.h>

#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/TopicList.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
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

std::unique_ptr<Title> OpenBytes(std::span<const uint8_t> bytes, TitleStatus* status) {
  return Title::Open(bytes, {}, status);
}

class TitleTest : public ::testing::Test {
protected:
  void SetUp() override {
    TitleStatus status;
    title_ = OpenBytes(FixtureBytes(), &status);
    ASSERT_TRUE(title_) << status.message;
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
  Region body;
  std::string error;
  ASSERT_TRUE(title_->DecodeRegion(3, RegionIndex::Body, &body, &error)) << error;
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
  EXPECT_EQ(title_->Verify(), "");
  titlec::Diagnostics diags;
  const auto again = titlec::Compile(titlec::DiskFolder(KRO_FIXTURE_DIR), {}, &diags);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->title, FixtureBytes());
}

TEST(DamagedTitle, EveryTruncationIsRefused) {
  const auto& bytes = FixtureBytes();
  for (size_t n = 0; n < bytes.size(); ++n) {
    TitleStatus status;
    EXPECT_FALSE(OpenBytes(std::span(bytes.data(), n), &status)) << n;
    EXPECT_NE(status.code, TitleError::None);
  }
}

TEST(DamagedTitle, HeaderFaultsNameTheirCause) {
  struct Case {
    size_t offset;
    uint8_t value;
    TitleError code;
    const char* message;
  } cases[] = {
      {0, 'X', TitleError::BadMagic, "not a title file"},
      {8, 2, TitleError::BadVersion, "title version 2.0"},
      {12, 0, TitleError::BadDirectory, "bad section count"},
      {12, 200, TitleError::BadDirectory, "bad section count"},
      {16, 0x55, TitleError::Checksum, "directory checksum"},
      {20, 0x01, TitleError::Truncated, "header says"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = FixtureBytes();
    bytes[c.offset] = c.value;
    TitleStatus status;
    EXPECT_FALSE(OpenBytes(bytes, &status));
    EXPECT_EQ(status.code, c.code) << c.message;
    EXPECT_NE(status.message.find(c.message), std::string::npos) << status.message;
  }
}

// Sections follow the directory without gaps, so every byte after it is covered by a
// checksum: a flipped byte fails the open or the check of what holds it.
TEST(DamagedTitle, FlippedBytesAreCaughtByChecksums) {
  const auto& good = FixtureBytes();
  TitleStatus status;
  for (size_t i = 32; i < good.size(); ++i) {
    std::vector<uint8_t> bytes = good;
    bytes[i] ^= 0x5A;
    const auto title = OpenBytes(bytes, &status);
    if (title) {
      EXPECT_NE(title->Verify(), "") << "flip at " << i << " went unnoticed";
    }
  }
}

}  // namespace
}  // namespace kro::mv

namespace kro::mv {
namespace {

// The fixture compiled with `index` as its full-text section (none when empty).
std::vector<uint8_t> FixtureWithIndex(std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)> index) {
  titlec::CompileOptions options;
  if (index) {
    options.indexer = [&](std::span<const titlec::RegionText> texts) {
      search::SearchIndexBuilder builder;
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
  } cases[] = {
      {"sound", [](const std::vector<uint8_t>& b) { return b; }, search::SearchError::None, true},
      {"missing", nullptr, search::SearchError::IndexMissing, true},
      {"foreign", [](const std::vector<uint8_t>&) { return std::vector<uint8_t>(64, 0x5A); },
       search::SearchError::IndexVersion, false},
      {"cut short", [](const std::vector<uint8_t>& b) { return std::vector<uint8_t>(b.begin(), b.begin() + b.size() / 2); },
       search::SearchError::IndexDamaged, false},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> bytes = FixtureWithIndex(c.index);
    TitleStatus status;
    const auto title = Title::Open(bytes, {}, &status);
    ASSERT_TRUE(title) << c.name << ": " << status.message;
    search::SearchError error = search::SearchError::Stopped;
    const search::SearchIndex* index = title->FullTextIndex(&error);
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(index != nullptr, c.error == search::SearchError::None) << c.name;
    EXPECT_EQ(index ? index->topicCount() : title->topicCount(), title->topicCount()) << c.name;
    EXPECT_EQ(title->FullTextIndex(&error), index) << c.name << ": opened once";
    EXPECT_EQ(title->Verify().empty(), c.sound) << c.name << ": " << title->Verify();
  }
}

}  // namespace
}  // namespace kro::mv
