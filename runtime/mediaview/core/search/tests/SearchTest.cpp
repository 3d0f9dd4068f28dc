#include "runtime/mediaview/core/search/Search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "runtime/base/ByteReader.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "runtime/mediaview/core/search/tests/IndexVersion1.h"

namespace kro::search {
namespace {

struct Topic {
  std::string heading, body;
};

const std::map<uint32_t, Topic> kTopics = {
    {0, {"Волга", "Волга — крупнейшая река Европы. Впадает в Каспийское море."}},
    {1, {"Ока", "Ока — правый приток Волги. Река течёт по Средне-Русской возвышенности."}},
    {2, {"Каспийское море", "Крупнейшее озеро на Земле. В него впадают Волга и Урал."}},
    {3, {"", "Северо-западный ветер дул над рекой и морем."}},
    {5, {"Ёлка", "Ёлки растут в лесу. Ель — дерево."}},
};

std::vector<uint8_t> BuildIndex() {
  SearchIndexBuilder builder;
  for (const auto& [number, topic] : kTopics) {
    if (!topic.heading.empty()) {
      EXPECT_TRUE(builder.Add(number, 0, topic.heading));
    }
    EXPECT_TRUE(builder.Add(number, 1, topic.body));
  }
  return builder.Finish();
}

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto opened = SearchIndex::Open(bytes_);
    ASSERT_TRUE(opened) << opened.error().ToString();
    index_ = *std::move(opened);
  }

  // Topics found, as "0 2", or "error N".
  std::string Found(std::string_view query, int option = kMatchExactWords, const std::vector<uint32_t>* scope = nullptr) {
    const SearchResult r = Search(index_, query, option, scope, nullptr);
    if (r.error != SearchError::None) return "error " + std::to_string(static_cast<int>(r.error));
    std::string out;
    for (uint32_t t : r.topics) out += (out.empty() ? "" : " ") + std::to_string(t);
    return out;
  }

  // Highlights of one topic as the highlighted words: "0:Волга 1:Волга".
  std::string Highlighted(std::string_view query, uint32_t topic, int option = kMatchExactWords) {
    const SearchResult r = Search(index_, query, option, nullptr, nullptr);
    if (!r.highlights) return "no source";
    const Topic& t = kTopics.at(topic);
    std::string out;
    for (const Highlight& h : r.highlights->InTopic(topic, t.heading, t.body)) {
      const std::string& text = h.region == 0 ? t.heading : t.body;
      out += (out.empty() ? "" : " ") + std::to_string(h.region) + ":" + text.substr(h.offset, h.length);
    }
    return out;
  }

  std::vector<uint8_t> bytes_ = BuildIndex();
  SearchIndex index_;
};

TEST_F(SearchTest, FindsTopicsForEveryFormOfQuery) {
  const struct {
    std::string query;
    int option;
    std::string found;
  } kCases[] = {
      {"волга", kMatchExactWords, "0 2"},
      {"волга", kMatchWordForms, "0 1 2"},
      {"река", kMatchExactWords, "0 1"},
      {"река", kMatchWordForms, "0 1 3"},
      {"ВОЛГА река", kMatchExactWords, "0"},
      {"волга OR урал", kMatchExactWords, "0 2"},
      {"волга NOT урал", kMatchExactWords, "0"},
      {"(ока OR озеро) NOT урал", kMatchExactWords, "1"},
      {"\"каспийское море\"", kMatchExactWords, "0 2"},
      {"\"море каспийское\"", kMatchExactWords, ""},
      {"\"впадает в каспийское\"", kMatchExactWords, "0"},  // a stop word keeps its place
      {"\"впадает каспийское\"", kMatchExactWords, ""},
      {"волга NEAR урал", kMatchExactWords, "2"},
      {"волга РЯДОМ европы", kMatchExactWords, "0"},
      {"волга NEAR впадает", kMatchExactWords, "0"},
      {"волга NEAR впадает", kMatchWordForms, "0 2"},
      {"ока NEAR правый", kMatchExactWords, "1"},
      {"\"ока ока\"", kMatchExactWords, ""},  // the heading and the body do not join
      {"\"ока правый\"", kMatchExactWords, "1"},
      {"ёлки", kMatchExactWords, "5"},
      {"ЕЛКА", kMatchExactWords, "5"},
      {"северо-западный", kMatchExactWords, "3"},
      {"западный", kMatchExactWords, "3"},
      {"средне-русской", kMatchExactWords, "1"},
      {"кас*", kMatchExactWords, "0 2"},
      {"р?ка", kMatchExactWords, "0 1"},
      {"*ре", kMatchExactWords, "0 2"},
      {"морем", kMatchWordForms, "0 2 3"},
      {"нева", kMatchWordForms, ""},
      {"и", kMatchExactWords, "error 2200"},
      {"в AND и", kMatchWordForms, "error 2200"},
      {"волга OR в", kMatchExactWords, "0 2"},
      {"волга NOT в", kMatchExactWords, "0 2"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Found(c.query, c.option), c.found) << c.query;
}

TEST_F(SearchTest, ScopeRestrictsTheResult) {
  const std::vector<uint32_t> scope = {7, 3, 1, 1};
  EXPECT_EQ(Found("река", kMatchWordForms, &scope), "1 3");
  const std::vector<uint32_t> none;
  EXPECT_EQ(Found("река", kMatchWordForms, &none), "");
}

TEST_F(SearchTest, HighlightsTheWordsThatMatched) {
  EXPECT_EQ(Highlighted("волга", 0), "0:Волга 1:Волга");
  EXPECT_EQ(Highlighted("волга", 1, kMatchWordForms), "1:Волги");
  EXPECT_EQ(Highlighted("\"каспийское море\"", 0), "1:Каспийское 1:море");
  EXPECT_EQ(Highlighted("волга NOT урал", 0), "0:Волга 1:Волга");
  EXPECT_EQ(Highlighted("волга NEAR урал", 2), "1:Волга 1:Урал");
  EXPECT_EQ(Highlighted("волга OR кас*", 2), "0:Каспийское 1:Волга");
  EXPECT_EQ(Highlighted("северо-западный", 3), "1:Северо 1:западный");
  EXPECT_EQ(Highlighted("волга", 1), "");  // not found there
}

// Words in most topics are pair words: their phrases are answered by the pairs, which must
// give what the positions give (a version 1 index has none), highlights included.
TEST(SearchPairs, AnswerPhrasesOfCommonWordsAsThePositionsDo) {
  SearchIndexBuilder builder, previous(DefaultStopWords(), 2);
  const std::string kBodies[] = {"west east north", "north south east west"};
  for (uint32_t topic = 0; topic < 16; ++topic) {
    for (SearchIndexBuilder* b : {&builder, &previous}) {
      b->Add(topic, 0, "compass");
      b->Add(topic, 1, kBodies[topic % 2]);
    }
  }
  const std::vector<uint8_t> current = builder.Finish(), old = AsVersion1(previous.Finish());
  const auto index = SearchIndex::Open(current), oldIndex = SearchIndex::Open(old);
  ASSERT_TRUE(index && oldIndex);
  EXPECT_EQ(index->pairWordCount(), 5u);
  EXPECT_EQ(oldIndex->pairWordCount(), 0u);
  EXPECT_FALSE(index->Verify());
  const struct {
    const char* query;
    const char* found;
  } kCases[] = {
      {"\"north south\"", "1 3 5 7 9 11 13 15"},
      {"\"south north\"", ""},  // both pair words, never side by side
      {"\"west east north\"", "0 2 4 6 8 10 12 14"},
      {"\"north south east west\"", "1 3 5 7 9 11 13 15"},  // overlapping pairs
      {"\"north east\"", ""},
      {"\"compass west\"", ""},  // heading and body do not adjoin
      {"\"west east\" NOT south", "0 2 4 6 8 10 12 14"},
      {"\"e* north\"", "0 2 4 6 8 10 12 14"},
  };
  for (const SearchIndex* searched : {&*index, &*oldIndex}) {
    for (const auto& c : kCases) {
      const SearchResult r = Search(*searched, c.query, kMatchExactWords, nullptr, nullptr);
      std::string found;
      for (uint32_t t : r.topics) found += (found.empty() ? "" : " ") + std::to_string(t);
      EXPECT_EQ(found, c.found) << c.query << " version " << searched->version();
    }
    const std::vector<uint32_t> scope = {3, 4, 5};
    EXPECT_EQ(Search(*searched, "\"south east\"", kMatchExactWords, &scope, nullptr).topics, (std::vector<uint32_t>{3, 5}));
    const SearchResult r = Search(*searched, "\"east west\"", kMatchExactWords, nullptr, nullptr);
    ASSERT_FALSE(r.topics.empty());
    EXPECT_EQ(r.highlights->InTopic(1, "compass", kBodies[1]), (std::vector<Highlight>{{1, 12, 4}, {1, 17, 4}}));
  }
}

TEST(SearchIndexBuilder, KeepsTopicAndRegionOrder) {
  SearchIndexBuilder builder;
  EXPECT_TRUE(builder.Add(4, 1, "тело"));
  EXPECT_TRUE(builder.Add(4, 0, "заголовок"));  // either region first
  EXPECT_FALSE(builder.Add(4, 1, "снова"));
  EXPECT_FALSE(builder.Add(4, 2, "нет"));
  EXPECT_FALSE(builder.Add(3, 0, "назад"));
  EXPECT_TRUE(builder.Add(9, 1, "дальше"));
  const auto bytes = builder.Finish();
  const auto opened = SearchIndex::Open(bytes);
  ASSERT_TRUE(opened) << opened.error().ToString();
  const SearchIndex& index = *opened;
  EXPECT_EQ(index.topicCount(), 10u);
  EXPECT_EQ(index.HeadingWords(4), 1u);
  const SearchResult r = Search(index, "тело", kMatchExactWords, nullptr, nullptr);
  ASSERT_EQ(r.topics, std::vector<uint32_t>{4});
  EXPECT_EQ(r.highlights->InTopic(4, "заголовок", "тело"), (std::vector<Highlight>{{1, 0, 4}}));
}

// A second index from the same builder holds only its own topics and still leaves the stop
// words out.
TEST(SearchIndexBuilder, StartsAfreshAfterFinishWithTheSameStopWords) {
  SearchIndexBuilder builder;
  EXPECT_TRUE(builder.Add(0, 1, "мост и река"));
  (void)builder.Finish();
  EXPECT_TRUE(builder.Add(0, 1, "река и лес"));
  const auto bytes = builder.Finish();
  const auto opened = SearchIndex::Open(bytes);
  ASSERT_TRUE(opened) << opened.error().ToString();
  EXPECT_EQ(opened->topicCount(), 1u);
  EXPECT_TRUE(Search(*opened, "мост", kMatchExactWords, nullptr, nullptr).topics.empty());
  EXPECT_EQ(Search(*opened, "\"река лес\"", kMatchExactWords, nullptr, nullptr).topics, std::vector<uint32_t>{});
  EXPECT_EQ(Search(*opened, "\"река и лес\"", kMatchExactWords, nullptr, nullptr).topics, std::vector<uint32_t>{0});
  TermInfo info;
  bool found = true;
  ASSERT_TRUE(opened->FindTerm("и", &info, &found));
  EXPECT_FALSE(found);
}

TEST(SearchIndex, RefusesOtherFilesAndVersions) {
  auto bytes = BuildIndex();
  const struct {
    size_t at;
    uint8_t value;
    const char* error;
    SearchError word;
  } kCases[] = {
      {8, 4, "offset 8: unknown version: index version 4, this runtime reads versions 1 to 3", SearchError::IndexVersion},
      {8, 0, "offset 8: unknown version: index version 0, this runtime reads versions 1 to 3", SearchError::IndexVersion},
      {0, 'X', "offset 0: bad magic: not a full-text index", SearchError::IndexVersion},
      {15, 0x7F, "offset 12: out of limits:", SearchError::IndexDamaged},       // topic count
      {27, 0x7F, "offset 24: out of limits: section 0 of", SearchError::IndexDamaged},  // its offset
      {23, 0x7F, "offset 16: bad value:", SearchError::IndexDamaged},          // fewer terms than stems
  };
  for (const auto& c : kCases) {
    auto other = bytes;
    other[c.at] = c.value;
    const auto index = SearchIndex::Open(other);
    ASSERT_FALSE(index) << c.error;
    EXPECT_THAT(index.error().ToString(), ::testing::StartsWith(c.error));
    EXPECT_EQ(OpenErrorWord(index.error()), c.word) << c.error;
  }
  EXPECT_EQ(SearchIndex::Open({}).error().ToString(), "offset 0: bad magic: not a full-text index");
  const auto index = SearchIndex::Open(bytes);
  ASSERT_TRUE(index);
  EXPECT_FALSE(index->Verify());
}

// Damage past the header is found by Verify, at the entry that holds it.
TEST(SearchIndex, VerifyNamesTheDamagedEntry) {
  auto bytes = BuildIndex();
  const auto good = SearchIndex::Open(bytes);
  ASSERT_TRUE(good);
  // The first byte of the postings section starts the first term's postings.
  ByteReader header(bytes);
  header.Seek(24 + 6 * 8);
  const uint32_t postings = header.U32();
  bytes[postings] = 0xFF;
  bytes[postings + 1] = 0xFF;
  const auto damaged = SearchIndex::Open(bytes);
  ASSERT_TRUE(damaged);
  const auto fault = damaged->Verify();
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->ToString(), "offset " + std::to_string(postings) + ": bad value: postings of term 0");
}

TEST(SearchIndex, FailsOnEveryTruncation) {
  const auto bytes = BuildIndex();
  for (size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(SearchIndex::Open(std::span(bytes).first(size))) << size;
  }
}

// Every single damaged byte is either refused or survived: no crash, no read outside.
TEST(SearchIndex, SurvivesEveryDamagedByte) {
  const auto good = BuildIndex();
  int refused = 0;
  for (size_t at = 0; at < good.size(); ++at) {
    auto bytes = good;
    bytes[at] ^= 0x5A;
    const auto opened = SearchIndex::Open(bytes);
    if (!opened || opened->Verify()) ++refused;
    if (!opened) continue;
    const SearchIndex& index = *opened;
    for (const char* query : {"волга", "кас* NEAR море", "\"каспийское море\" OR ель", "рек* NOT урал"}) {
      for (int option : {kMatchWordForms, kMatchExactWords}) {
        const SearchResult r = Search(index, query, option, nullptr, nullptr);
        for (uint32_t t : r.topics) {
          ASSERT_LT(t, index.topicCount());
          r.highlights->InTopic(t, "Каспийское море", "Волга впадает в море");
        }
      }
    }
  }
  EXPECT_GT(refused, static_cast<int>(good.size() / 2));
}

// Many documents of the same few words, so that a NEAR query works for a long time.
std::vector<uint8_t> BuildLargeIndex() {
  SearchIndexBuilder builder;
  uint32_t state = 12345;
  for (uint32_t topic = 0; topic < 8000; ++topic) {
    std::string body;
    for (int w = 0; w < 150; ++w) {
      state = state * 1103515245 + 12345;
      body += "w" + std::to_string((state >> 16) % 40) + " ";
    }
    builder.Add(topic, 1, body);
  }
  return builder.Finish();
}

// The query's work is far more than one clock reading's worth, so it calls at least once
// (WorkMeter's own tests cover when), and the first non-zero answer stops it.
TEST(Search, ProgressIsCalledDuringLongQueriesAndStopsThem) {
  const auto bytes = BuildLargeIndex();
  const auto opened = SearchIndex::Open(bytes);
  ASSERT_TRUE(opened);
  const SearchIndex& index = *opened;
  const char* kQuery = "w1* NEAR w2* NEAR w3*";
  int calls = 0;
  const SearchResult full = Search(index, kQuery, kMatchExactWords, nullptr, [&] { return ++calls, 0; });
  ASSERT_EQ(full.error, SearchError::None);
  EXPECT_GT(full.topics.size(), 1000u);
  EXPECT_GT(calls, 0);

  calls = 0;
  const SearchResult stopped = Search(index, kQuery, kMatchExactWords, nullptr, [&] { return ++calls; });
  EXPECT_EQ(stopped.error, SearchError::Stopped);
  EXPECT_TRUE(stopped.topics.empty());
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace kro::search
