// Full-text queries and highlights through MVCL14N.DLL, over the fixture title and a
// generated one, as the search dialog and the results dialog call them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/mediaview/MediaView.h"
#include "tests/support/Files_win.h"

namespace {

using kro::wintest::BesideExe;

std::vector<LONG> Topics(HMVTOPICLIST list) {
  std::vector<LONG> topics;
  for (LONG i = 0; i < lMVTopicListLength(list); ++i) topics.push_back(lMVTopicListLookup(list, i));
  return topics;
}

struct Highlight {
  LONG region;
  DWORD offset, length;
  bool operator==(const Highlight&) const = default;
};

std::vector<Highlight> ReadHighlights(HGLOBAL block) {
  std::vector<Highlight> found;
  if (!block) return found;
  const auto* p = static_cast<const BYTE*>(GlobalLock(block));
  DWORD count;
  memcpy(&count, p, sizeof count);
  EXPECT_EQ(GlobalSize(block), sizeof(DWORD) + count * sizeof(MVHIGHLIGHT));
  const auto* records = reinterpret_cast<const MVHIGHLIGHT*>(p + sizeof count);
  for (DWORD i = 0; i < count; ++i) found.push_back({records[i].region, records[i].offset, records[i].length});
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
  return found;
}

LONG CALLBACK QuietPump() { return 0; }

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    title_ = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), QuietPump, nullptr);
    ASSERT_NE(title_, nullptr);
  }
  void TearDown() override {
    MVTitleClose(title_);
    MVTerminate(GetModuleHandleA(nullptr));
  }
  // The topics found, or the error number as the only element, negated.
  std::vector<LONG> Find(const char* query, UINT option = MV_QUERY_EXACT, HMVTOPICLIST scope = nullptr) {
    LONG err = 0;
    HMVTOPICLIST list = hMVTopicListFromQuery(title_, option, query, scope, 1, &highlights_, &err);
    if (!list) {
      EXPECT_EQ(highlights_, nullptr) << query;
      return {-err};
    }
    EXPECT_EQ(err, 0) << query;
    EXPECT_NE(highlights_, nullptr) << query;
    std::vector<LONG> topics = Topics(list);
    MVTopicListDestroy(list);
    return topics;
  }
  HMVTITLE title_ = nullptr;
  HMVHIGHLIGHTSOURCE highlights_ = reinterpret_cast<HMVHIGHLIGHTSOURCE>(1);
};

// Fixture texts: 1 "Азовское море" / "Самое мелкое море мира."; 3 "Волга" / "Волга —
// крупнейшая река Европы. Впадает в Каспийское море, образуя дельту."; 5 "Ель"; 6
// "Каспийское море" / "Крупнейшее озеро Земли."; 7 body "Крупнейшая страна мира. См.
// Волга."; 8 "Яуза" / "Река в Москве."; 12 body "Дельта — низовье реки."; 13 "Звук Волги."
TEST_F(SearchTest, EveryQueryFormFindsItsTopics) {
  const struct {
    const char* query;
    UINT option;
    std::vector<LONG> topics;
  } cases[] = {
      {"Волга", MV_QUERY_EXACT, {3, 7}},
      {"Волга", MV_QUERY_WORD_FORMS, {3, 7, 13}},
      {"река", MV_QUERY_EXACT, {3, 8}},
      {"река", MV_QUERY_WORD_FORMS, {3, 8, 12}},
      {"ВОЛГА", MV_QUERY_EXACT, {3, 7}},
      {"море крупнейшее", MV_QUERY_EXACT, {6}},
      {"Волга AND Европы", MV_QUERY_EXACT, {3}},
      {"Волга И Европы", MV_QUERY_EXACT, {3}},
      {"волга и европы", MV_QUERY_EXACT, {3}},
      {"Ель OR Яуза", MV_QUERY_EXACT, {5, 8}},
      {"Ель ИЛИ Яуза", MV_QUERY_EXACT, {5, 8}},
      {"море NOT Каспийское", MV_QUERY_EXACT, {1}},
      {"море НЕ Каспийское", MV_QUERY_EXACT, {1}},
      {"Волга NEAR Европы", MV_QUERY_EXACT, {3}},
      {"Волга РЯДОМ Европы", MV_QUERY_EXACT, {3}},
      {"Волга NEAR дельту", MV_QUERY_EXACT, {}},
      {"\"Каспийское море\"", MV_QUERY_EXACT, {3, 6}},
      {"«каспийское море»", MV_QUERY_EXACT, {3, 6}},
      {"\"море Каспийское\"", MV_QUERY_EXACT, {}},
      {"Крупнейш*", MV_QUERY_EXACT, {3, 6, 7}},
      {"Е?ь", MV_QUERY_EXACT, {5}},
      {"(Ель OR Яуза) AND Москве", MV_QUERY_EXACT, {8}},
      {"(море OR река) NOT (Каспийское OR Европы)", MV_QUERY_EXACT, {1, 8}},
      {"Internet", MV_QUERY_EXACT, {9}},
      {"Нева", MV_QUERY_EXACT, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.query, c.option), c.topics) << c.query << " option " << c.option;
}

TEST_F(SearchTest, RefusedQueriesAnswerTheirErrorNumbers) {
  const struct {
    const char* query;
    LONG error;
  } cases[] = {
      {"", MVERR_QUERY_EMPTY},
      {"и в на", MVERR_QUERY_EMPTY},
      {"AND Волга", MVERR_QUERY_OPERATOR},
      {"Волга ИЛИ", MVERR_QUERY_OPERATOR},
      {"(Волга НЕ) море", MVERR_QUERY_OPERATOR},
      {"\"Каспийское море", MVERR_QUERY_QUOTE},
      {"Волга)", MVERR_QUERY_LEFT_PAREN},
      {"(Волга", MVERR_QUERY_RIGHT_PAREN},
      {"((((((Волга))))))", MVERR_QUERY_DEPTH},
      {"а1 а2 а3 а4 а5 а6 а7 а8 а9 а10 а11 а12 а13 а14 а15 а16 а17 а18 а19 а20 а21 а22 а23 а24 а25 а26 а27 а28 "
       "а29 а30 а31 а32 а33",
       MVERR_QUERY_TERMS},
      {"Волга *?", MVERR_QUERY_WILDCARD},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.query), std::vector<LONG>{-c.error}) << c.query;
  EXPECT_EQ(Find("((((( Волга )))))"), (std::vector<LONG>{3, 7}));
}

TEST_F(SearchTest, BadArgumentsAreRefusedAndSuccessLeavesTheErrorAlone) {
  EXPECT_EQ(Find("Волга", 2), std::vector<LONG>{-MVERR_INVALID});
  EXPECT_EQ(Find(nullptr), std::vector<LONG>{-MVERR_INVALID});
  EXPECT_EQ(Find("Волга", MV_QUERY_EXACT, reinterpret_cast<HMVTOPICLIST>(title_)), std::vector<LONG>{-MVERR_INVALID});
  LONG err = 0;
  EXPECT_EQ(hMVTopicListFromQuery(nullptr, 0, "Волга", nullptr, 1, nullptr, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 77;
  HMVTOPICLIST list = hMVTopicListFromQuery(title_, 0, "Волга", nullptr, 1, nullptr, &err);
  EXPECT_EQ(Topics(list), (std::vector<LONG>{3, 7, 13}));
  EXPECT_EQ(err, 77);
  MVTopicListDestroy(list);
}

TEST_F(SearchTest, ScopeListRestrictsTheResult) {
  HMVTOPICLIST seven = hMVTopicListFromTopicNo(title_, 7);
  HMVTOPICLIST three = hMVTopicListFromTopicNo(title_, 3);
  HMVTOPICLIST thirteen = hMVTopicListFromTopicNo(title_, 13);
  HMVTOPICLIST both = hMVTopicListCombine(MV_LIST_UNION, three, thirteen);
  EXPECT_EQ(Find("Волга", MV_QUERY_EXACT, seven), std::vector<LONG>{7});
  EXPECT_EQ(Find("Волга", MV_QUERY_WORD_FORMS, both), (std::vector<LONG>{3, 13}));
  EXPECT_EQ(Find("Ель", MV_QUERY_EXACT, both), std::vector<LONG>{});
  for (HMVTOPICLIST l : {seven, three, thirteen, both}) MVTopicListDestroy(l);
}

// Offsets count cp1251 characters of the region's plain text: "Дельта — низовье реки."
// has "реки" at 17, the dash being one character.
TEST_F(SearchTest, HighlightsLandOnTheFoundWords) {
  ASSERT_EQ(Find("река", MV_QUERY_WORD_FORMS), (std::vector<LONG>{3, 8, 12}));
  EXPECT_EQ(ReadHighlights(hMVHighlightsInTopic(highlights_, 12)), (std::vector<Highlight>{{MV_REGION_BODY, 17, 4}}));
  EXPECT_EQ(ReadHighlights(hMVHighlightsInTopic(highlights_, 3)), (std::vector<Highlight>{{MV_REGION_BODY, 19, 4}}));
  EXPECT_EQ(lMVTopicHighlightCount(highlights_, 12), 1);
  EXPECT_EQ(hMVHighlightsInTopic(highlights_, 5), nullptr);  // not found by the query
  EXPECT_EQ(lMVTopicHighlightCount(highlights_, 5), 0);
  EXPECT_EQ(hMVHighlightsInTopic(highlights_, 14), nullptr);
  EXPECT_EQ(hMVHighlightsInTopic(highlights_, -1), nullptr);

  // Heading first; the words after NOT are not marked.
  ASSERT_EQ(Find("море NOT Каспийское"), std::vector<LONG>{1});
  EXPECT_EQ(ReadHighlights(hMVHighlightsInTopic(highlights_, 1)),
            (std::vector<Highlight>{{MV_REGION_HEADING, 9, 4}, {MV_REGION_BODY, 13, 4}}));

  // A phrase marks its words where they stand together.
  ASSERT_EQ(Find("\"Каспийское море\""), (std::vector<LONG>{3, 6}));
  const std::vector<Highlight> body = ReadHighlights(hMVHighlightsInTopic(highlights_, 3));
  EXPECT_EQ(body, (std::vector<Highlight>{{MV_REGION_BODY, 42, 10}, {MV_REGION_BODY, 53, 4}}));
  EXPECT_EQ(lMVTopicHighlightCount(highlights_, 3), 2);
}

// The search dialog keeps only the newest highlight source: a query that answers releases
// the one before; a stopped one leaves it; closing the title releases it.
TEST_F(SearchTest, HighlightSourceLivesUntilTheNextAnswer) {
  ASSERT_EQ(Find("Ель"), std::vector<LONG>{5});
  const HMVHIGHLIGHTSOURCE first = highlights_;
  EXPECT_EQ(lMVTopicHighlightCount(first, 5), 1);
  EXPECT_EQ(Find("Волга)"), std::vector<LONG>{-MVERR_QUERY_LEFT_PAREN});
  EXPECT_EQ(lMVTopicHighlightCount(first, 5), 0);
  ASSERT_EQ(Find("Яуза"), std::vector<LONG>{8});
  EXPECT_EQ(lMVTopicHighlightCount(highlights_, 8), 1);
  const HMVHIGHLIGHTSOURCE kept = highlights_;
  MVTitleClose(title_);
  title_ = nullptr;
  EXPECT_EQ(lMVTopicHighlightCount(kept, 8), 0);
}

// Stopping: over the generated title a phrase of two wildcard words is far more work than
// one reading of the query's clock, so the pump is called during the query (how often per
// amount of work, the core's tests of its work meter say), and its first non-zero answer
// stops the query.
LONG gAnswer = 0;
int gCalls = 0;
LONG CALLBACK RecordingPump() {
  ++gCalls;
  return gAnswer;
}

TEST(SearchStop, PumpIsCalledWhileWorkingAndStopsTheQuery) {
  gAnswer = 0;
  HMVTITLE title = hMVTitleOpenEx(BesideExe("search_corpus.m14").c_str(), RecordingPump, nullptr);
  ASSERT_NE(title, nullptr);
  const char* heavy = "\"пре* на*\"";
  HMVHIGHLIGHTSOURCE highlights = nullptr;
  LONG err = 0;
  gCalls = 0;
  HMVTOPICLIST list = hMVTopicListFromQuery(title, MV_QUERY_EXACT, heavy, nullptr, 1, &highlights, &err);
  ASSERT_NE(list, nullptr) << err;
  EXPECT_GT(lMVTopicListLength(list), 0);
  EXPECT_GE(gCalls, 1);
  MVTopicListDestroy(list);

  gAnswer = 1;
  gCalls = 0;
  const HMVHIGHLIGHTSOURCE before = highlights;
  err = 0;
  EXPECT_EQ(hMVTopicListFromQuery(title, MV_QUERY_EXACT, heavy, nullptr, 1, &highlights, &err), nullptr);
  EXPECT_EQ(err, MVERR_SEARCH_STOPPED);
  EXPECT_EQ(gCalls, 1);
  EXPECT_EQ(highlights, before);  // the previous result's highlights stay usable
  MVTitleClose(title);
  MVTerminate(GetModuleHandleA(nullptr));
}

}  // namespace
