// Topic windows on real windows over the fixture title: layout by regions, show topic and
// what it tells the host, previous/next at the ends, the letter lists, the secondary window.
#include <gtest/gtest.h>

#include <cstring>

#include "app/article/tests/ArticleTestSupport_win.h"

namespace kro::article::test {
namespace {

RECT WindowRectIn(HWND window, HWND parent) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Visible(HWND window) { return GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE; }

class TopicWindowTest : public ArticleTest {};

TEST_F(TopicWindowTest, HeadingAtItsNaturalHeightAboveTheBody) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->owner, host_.MainWindow());
  EXPECT_EQ(record->selectionPane, nullptr);
  ASSERT_TRUE(Visible(record->nonScrollingPane));
  ASSERT_TRUE(Visible(record->scrollingPane));
  const RECT heading = WindowRectIn(record->nonScrollingPane, record->topicWindow);
  const RECT body = WindowRectIn(record->scrollingPane, record->topicWindow);
  const int n = HIWORD(ptMVGetSize(PaneDisplay(record->nonScrollingPane)));
  EXPECT_GT(n, 10);
  EXPECT_LT(n, 100);
  EXPECT_EQ(heading.top, 0);
  EXPECT_EQ(heading.bottom, n);
  EXPECT_EQ(heading.right - heading.left, 400);
  EXPECT_EQ(body.top, n);
  EXPECT_EQ(body.bottom, 300);
  EXPECT_EQ(MainDisplay(record), PaneDisplay(record->scrollingPane));

  // The long body fits a vertical scroll bar as wide as the runtime's scroll extent.
  int low = 0, high = 0;
  GetScrollRange(record->scrollingPane, SB_VERT, &low, &high);
  EXPECT_EQ(high, HIWORD(ptMVGetScrollSizes(PaneDisplay(record->scrollingPane))));
  EXPECT_GT(high, 0);
  RECT client;
  GetClientRect(record->scrollingPane, &client);
  EXPECT_LT(client.right, 400);
  GetScrollRange(record->scrollingPane, SB_HORZ, &low, &high);
  EXPECT_EQ(high, 0);
}

TEST_F(TopicWindowTest, RegionsMissingLeaveOnePaneAtFullSize) {
  TopicRecord* record = Open("topic_yolka", {0, 0, 300, 200});  // body only
  ASSERT_NE(record, nullptr);
  EXPECT_FALSE(Visible(record->nonScrollingPane));
  ASSERT_TRUE(Visible(record->scrollingPane));
  const RECT body = WindowRectIn(record->scrollingPane, record->topicWindow);
  EXPECT_EQ(body.top, 0);
  EXPECT_EQ(body.bottom, 200);
  int low = 0, high = 0;
  GetScrollRange(record->scrollingPane, SB_VERT, &low, &high);
  EXPECT_EQ(high, 0);  // the short body needs no scroll bar

  // Heading only, in a window lower than the heading: clamped to the window.
  EXPECT_EQ(ShowTopic(record, AddressOf("topic_el"), 0), 1);
  EXPECT_FALSE(Visible(record->scrollingPane));
  ASSERT_TRUE(Visible(record->nonScrollingPane));
  EXPECT_EQ(MainDisplay(record), PaneDisplay(record->nonScrollingPane));
  MoveWindow(record->topicWindow, 0, 0, 300, 8, TRUE);
  EXPECT_EQ(WindowRectIn(record->nonScrollingPane, record->topicWindow).bottom, 8);

  // A window without height is not laid out: the panes keep their places.
  MoveWindow(record->topicWindow, 0, 0, 300, 0, TRUE);
  EXPECT_EQ(LayOut(record), 0);
  EXPECT_EQ(WindowRectIn(record->nonScrollingPane, record->topicWindow).bottom, 8);
}

TEST_F(TopicWindowTest, ShowTopicTellsTheHostTitleLetterAndEnds) {
  TopicRecord* record = CreateMainArticleWindow(GetModuleHandleA(nullptr), FixtureTitle(), host_.MainWindow());
  ASSERT_NE(record, nullptr);
  MoveWindow(record->topicWindow, 0, 0, 400, 300, TRUE);
  host_.log = HostLog{};
  EXPECT_EQ(ShowTopic(record, AddressOf("topic_azov"), 0), 1);
  EXPECT_STREQ(CurrentTitle(), "Азовское море");
  EXPECT_EQ(CurrentLetterIndex(), 9);
  EXPECT_STREQ(CurrentLetterFolder(), "a");
  ASSERT_FALSE(host_.log.navigation.empty());
  EXPECT_EQ(host_.log.navigation.back(), std::make_pair(false, true));  // the first article
  EXPECT_EQ(host_.log.letters.back(), 9);
  EXPECT_EQ(host_.log.shown, 1);
  EXPECT_EQ(host_.log.highlights, 1);

  // Previous at the start does nothing, not even a history step.
  EXPECT_EQ(PreviousNext(record, kPreviousArticle), 0);
  EXPECT_EQ(host_.log.historySteps, 0);
  EXPECT_EQ(host_.log.shown, 1);

  EXPECT_EQ(PreviousNext(record, kNextArticle), 1);
  EXPECT_EQ(host_.log.historySteps, 1);
  EXPECT_STREQ(CurrentTitle(), "Волга");
  EXPECT_EQ(host_.log.letters.back(), 11);
  EXPECT_EQ(host_.log.navigation.back(), std::make_pair(true, true));

  ShowTopic(record, AddressOf("topic_yauza"), 0);
  EXPECT_EQ(host_.log.navigation.back(), std::make_pair(true, false));  // the last article
  EXPECT_EQ(PreviousNext(record, kNextArticle), 0);
  EXPECT_EQ(PreviousNext(record, kPreviousArticle), 1);
  EXPECT_STREQ(CurrentTitle(), "РОССИЯ");
  EXPECT_EQ(CurrentLetterIndex(), 25);

  // Address -1 re-reads the title but shows nothing and tells the host nothing.
  const int shown = host_.log.shown;
  EXPECT_EQ(ShowTopic(record, -1, 0), 0);
  EXPECT_EQ(host_.log.shown, shown);
  EXPECT_STREQ(CurrentTitle(), "РОССИЯ");
}

TEST_F(TopicWindowTest, ATitleWithoutCyrillicKeepsTheLetter) {
  TopicRecord* record = Open("topic_yauza", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  ShowTopic(record, AddressOf("topic_yauza"), 0);
  const size_t letters = host_.log.letters.size();
  ShowTopic(record, AddressOf("topic_internet"), 0);
  EXPECT_STREQ(CurrentTitle(), "Internet");
  EXPECT_EQ(CurrentLetterIndex(), 38);
  EXPECT_STREQ(CurrentLetterFolder(), "ja");
  EXPECT_EQ(host_.log.letters.size(), letters);
  // Ёлка is filed under л: Ё lies below the letters the table maps.
  ShowTopic(record, AddressOf("topic_yolka"), 0);
  EXPECT_EQ(CurrentLetterIndex(), 20);
  EXPECT_STREQ(CurrentLetterFolder(), "l");
}

TEST_F(TopicWindowTest, StoredListsAndContextStringsRecordHistoryOnlyWhenTheyShow) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  ShowByStoredList(LetterForCommand(29).folder, record);  // "ja"
  EXPECT_STREQ(CurrentTitle(), "Яуза");
  EXPECT_EQ(CurrentLetterIndex(), 38);
  EXPECT_EQ(host_.log.historySteps, 1);
  EXPECT_EQ(ShownAddress(MainDisplay(record)), AddressOf("topic_yauza"));

  ShowByStoredList("zh", record);  // no article under Ж
  ShowByContextString("no_such_topic", record);
  EXPECT_EQ(host_.log.historySteps, 1);
  EXPECT_STREQ(CurrentTitle(), "Яуза");

  ShowByContextString("topic_volga", record);
  EXPECT_EQ(host_.log.historySteps, 2);
  EXPECT_STREQ(CurrentTitle(), "Волга");
  EXPECT_EQ(ShownAddress(PaneDisplay(record->nonScrollingPane)), AddressOf("topic_volga"));
}

TEST_F(TopicWindowTest, AClickMakesThePaneTheSelectionPaneAndTellsTheOwner) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  LPMV heading = PaneDisplay(record->nonScrollingPane);
  LONG err = 0;
  MVSelectPoint(heading, MV_SELECT_ALL, 0, 0, 0, &err);
  ASSERT_TRUE(fMVIsSelected(heading));
  Click(record->nonScrollingPane, {2, 2});
  EXPECT_EQ(record->selectionPane, record->nonScrollingPane);
  MVSelectPoint(heading, MV_SELECT_ALL, 0, 0, 0, &err);

  Click(record->scrollingPane, {5, 5});
  EXPECT_EQ(record->selectionPane, record->scrollingPane);
  EXPECT_FALSE(fMVIsSelected(heading));  // the other pane's selection went
  ASSERT_EQ(host_.log.notices.size(), 2u);
  EXPECT_EQ(host_.log.notices[1], std::make_pair(UINT{kTopicActivated}, record->topicWindow));
}

TEST_F(TopicWindowTest, TheMainArticleStartsOnItsTopicWithTheLook) {
  TopicRecord* main = CreateMainArticleWindow(GetModuleHandleA(nullptr), FixtureTitle(), host_.MainWindow());
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(MainArticle(), main);
  EXPECT_TRUE(Visible(main->topicWindow));
  EXPECT_STREQ(CurrentTitle(), "РОССИЯ");
  EXPECT_EQ(CurrentLetterIndex(), 25);
  EXPECT_EQ(host_.log.letters.back(), 25);
  EXPECT_EQ(host_.log.navigation.back(), std::make_pair(true, true));
  EXPECT_EQ(ShownAddress(MainDisplay(main)), AddressOf("topic_ros14"));

  HWND window = main->topicWindow;
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(MainArticle(), nullptr);
  ASSERT_FALSE(host_.log.notices.empty());
  EXPECT_EQ(host_.log.notices.back(), std::make_pair(UINT{kTopicClosed}, window));
}

TEST_F(TopicWindowTest, TheSecondaryWindowOpensOnceAtItsRectangle) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  const size_t navigation = host_.log.navigation.size();
  const int shown = host_.log.shown;
  ShowInSecondaryWindow("topic_volga", MainDisplay(record));
  TopicRecord* secondary = SecondaryWindow();
  ASSERT_NE(secondary, nullptr);
  // The main window's buttons and pictures follow the main article, not this one.
  EXPECT_EQ(host_.log.navigation.size(), navigation);
  EXPECT_EQ(host_.log.shown, shown);
  EXPECT_EQ(secondary->owner, host_.MainWindow());
  RECT r;
  GetWindowRect(secondary->topicWindow, &r);
  EXPECT_EQ(r.left, 160);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right, 480);
  EXPECT_EQ(r.bottom, 360);
  char caption[64] = {};
  GetWindowTextA(secondary->topicWindow, caption, sizeof caption);
  EXPECT_STREQ(caption, "РОССИЯ");  // the name of the topic that held the link
  EXPECT_EQ(ShownAddress(MainDisplay(secondary)), AddressOf("topic_volga"));
  EXPECT_EQ(GetFocus(), secondary->scrollingPane);

  // Moved, closed and opened again: the same place.
  MoveWindow(secondary->topicWindow, 100, 50, 300, 200, TRUE);
  SendMessageA(secondary->topicWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(SecondaryWindow(), nullptr);
  ShowInSecondaryWindow("topic_azov", MainDisplay(record));
  ASSERT_NE(SecondaryWindow(), nullptr);
  GetWindowRect(SecondaryWindow()->topicWindow, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.bottom, 250);
}

}  // namespace
}  // namespace kro::article::test

namespace kro::article::test {
namespace {

class ArticleHotspotTest : public ArticleTest {
protected:
  // A hotspot record as the panes hand it over.
  static MVHOTSPOTINFO Hotspot(LONG kind, const char* context, char* buffer) {
    MVHOTSPOTINFO hotspot{};
    hotspot.size = sizeof hotspot;
    hotspot.kind = kind;
    hotspot.capacity = 256;
    hotspot.data = buffer;
    std::strcpy(buffer, context);
    hotspot.length = static_cast<LONG>(std::strlen(context));
    return hotspot;
  }
};

TEST_F(ArticleHotspotTest, JumpsShowTheWholeArticleAndRecordTheWayBack) {
  TopicRecord* main = CreateMainArticleWindow(GetModuleHandleA(nullptr), FixtureTitle(), host_.MainWindow(),
                                              ArticleHotspotHandler);
  ASSERT_NE(main, nullptr);
  MoveWindow(main->topicWindow, 0, 0, 400, 300, TRUE);
  const int stepsBefore = host_.log.historySteps;
  char buffer[256];
  MVHOTSPOTINFO byContext = Hotspot(MV_HOTSPOT_CONTEXT_JUMP, "topic_volga", buffer);
  EXPECT_EQ(ArticleHotspotHandler(MainDisplay(main), &byContext), 1);
  EXPECT_STREQ(CurrentTitle(), "Волга");
  EXPECT_EQ(ShownAddress(PaneDisplay(main->nonScrollingPane)), AddressOf("topic_volga"));  // the heading too
  EXPECT_EQ(host_.log.historySteps, stepsBefore + 1);

  MVHOTSPOTINFO command = Hotspot(MV_HOTSPOT_COMMAND, "topic_azov>main", buffer);
  EXPECT_EQ(ArticleHotspotHandler(MainDisplay(main), &command), 1);
  ASSERT_NE(SecondaryWindow(), nullptr);
  EXPECT_EQ(ShownAddress(MainDisplay(SecondaryWindow())), AddressOf("topic_azov"));
  EXPECT_STREQ(CurrentTitle(), "Азовское море");

  MVHOTSPOTINFO unknown = Hotspot(7, "", buffer);
  EXPECT_EQ(ArticleHotspotHandler(MainDisplay(main), &unknown), 0);
  EXPECT_EQ(ArticleHotspotHandler(nullptr, &unknown), 0);
}

}  // namespace
}  // namespace kro::article::test
