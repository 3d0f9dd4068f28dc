// The contents, search and results dialogs on a generated title (make_fixture.py), driven
// by the messages a reader's keys, clicks and the category list would give them.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "app/lists/DescribedList_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/navigation/ContentsDialog_win.h"
#include "app/navigation/ContentsFilter_win.h"
#include "app/navigation/ResultsDialog_win.h"
#include "app/navigation/SearchDialog_win.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/ProgramInstance.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::navigation {
namespace {

constexpr char kMainClass[] = "FinderTestMain";
constexpr int kRounds = 200;
constexpr int32_t kEntries = 2005;  // 2003 numbered articles, the first and the last

// Message boxes are answered as they come up, and remembered.
struct Box {
  std::string caption, text;
};
std::vector<Box> gBoxes;
HHOOK gBoxHook = nullptr;

LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    char name[16] = {}, caption[128] = {}, text[256] = {};
    GetClassNameA(box, name, sizeof name);
    if (std::string(name) == "#32770") {
      GetWindowTextA(box, caption, sizeof caption);
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      gBoxes.push_back({caption, text});
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(gBoxHook, code, wParam, lParam);
}

HWND gResults = nullptr;  // the program's handle of the results dialog

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == 129) {
    OpenResultsDialog();
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LONG CALLBACK Pump() { return shell::PumpMessages(); }

class Host final : public article::ArticleHost {
public:
  void RecordHistory(LPMV) override {}
  void NavigationChanged(bool, bool) override {}
  void LetterChanged(int) override {}
  void ArticleShown(article::TopicRecord*) override {}
  void ApplyHighlights(LPMV display) override { ApplySearchHighlights(display); }
  HWND MainWindow() override { return main; }
  HWND main = nullptr;
};

// Once per process: classes, the title and its index, the main window with its article.
struct Environment {
  Environment() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    toolkit::SetProgramInstance(instance);
    MVSetInstance(instance);
    toolkit::RegisterBitmapButtonClass(instance);
    lists::RegisterVirtualListBoxClass(instance);
    article::RegisterArticleClasses(instance);
    wintest::RegisterTestClass(kContentsDialogClass, ContentsDialogProc);
    wintest::RegisterTestClass(kSearchDialogClass, SearchDialogProc);
    wintest::RegisterTestClass(kResultsDialogClass, ResultsDialogProc);
    wintest::RegisterTestClass(kMainClass, MainProc);
    title = hMVTitleOpenEx(wintest::BesideExe("finder_fixture.m14").c_str(), Pump, nullptr);
    wheel = hMVWordWheelOpenTitle(title, "|a");
    LONG err = 0;
    scratch = lpMVNew(title, &err);
    host.main = CreateWindowExA(0, kMainClass, "main", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, instance,
                                nullptr);
    article::SetArticleHost(&host);
    area = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 229, 96, 392, 323, host.main, nullptr, instance, nullptr);
    if (article::TopicRecord* main = article::CreateMainArticleWindow(instance, title, area))
      MoveWindow(main->topicWindow, 0, 0, 392, 323, TRUE);
    shell::InstallDialogKeys(instance, {true, [] { return gResults; }});
    gBoxHook = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
  }
  HMVTITLE title = nullptr;
  HMVWORDWHEEL wheel = nullptr;
  LPMV scratch = nullptr;
  Host host;
  HWND area = nullptr;
  wintest::TemporaryFolder work;
};

Environment& Env() {
  static Environment env;
  return env;
}

std::string Text(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

HWND ChildOfClass(HWND parent, const char* cls) { return FindWindowExA(parent, nullptr, cls, nullptr); }

// The bitmap buttons have no control ids: they are found where the dialogs put them.
HWND ButtonAt(HWND dialog, int x, int y) {
  return ChildWindowFromPointEx(dialog, POINT{x + 3, y + 3}, CWP_SKIPINVISIBLE);
}

void ClickButton(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageA(button, WM_LBUTTONUP, 0, 0);
}

void Key(HWND window, WPARAM key) { PostMessageA(window, WM_KEYDOWN, key, 1); }

class FinderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(Env().title, nullptr);
    ASSERT_NE(article::MainArticle(), nullptr);
    FinderContext context;
    context.instance = GetModuleHandleA(nullptr);
    context.mainWindow = Env().host.main;
    context.title = Env().title;
    context.wordWheel = Env().wheel;
    context.indexDisplay = Env().scratch;
    context.productDir = wintest::BesideExe("finder_product") + "\\";
    context.workingDir = Env().work.Path();
    context.resultsDialog = &gResults;
    context.recordHistory = [this] { ++historySteps_; };
    SetFinderContext(context);
    gBoxes.clear();
    SetForegroundWindow(Env().host.main);
    // As in the program, the article has been painted before any dialog opens.
    RedrawWindow(Env().host.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(wintest::PumpUntil([] { return article::FirstPaintDone(); }, kRounds));
  }
  void TearDown() override {
    for (HWND dialog : {ContentsDialog(), SearchDialog(), gResults})
      if (dialog) SendMessageA(dialog, WM_CLOSE, 0, 0);
    wintest::Pump();
    ReleaseFinderState();
    Search() = SearchState{};
  }

  // --- contents
  HWND OpenContents() {
    const HWND dialog = OpenContentsDialog();
    wintest::Pump();
    list_ = ChildOfClass(dialog, lists::kVirtualListBoxClass);
    prefix_ = ChildOfClass(dialog, "Edit");
    return dialog;
  }
  LRESULT Selection() const { return SendMessageA(list_, lists::kVlbGetSelection, 0, 0); }
  LRESULT Count() const { return SendMessageA(list_, lists::kVlbGetCount, 0, 0); }
  std::string EntryAt(int32_t index) const {
    char text[kEntryTextBytes] = {};
    lists::VlbRecord record{0, 0, index, index, text, nullptr};
    SendMessageA(list_, lists::kVlbGetText, sizeof text, reinterpret_cast<LPARAM>(&record));
    return text;
  }
  void Categories(std::initializer_list<int> ids, bool checked) {
    for (int id : ids) SendMessageA(ContentsDialog(), lists::kEntryChecked, id, checked);
    SendMessageA(ContentsDialog(), lists::kCheckChangeDone, lists::kEntryChecked, 0);
  }

  // --- search
  HWND OpenSearch() {
    const HWND dialog = OpenSearchDialog();
    wintest::Pump();
    combo_ = ChildOfClass(dialog, "ComboBox");
    return dialog;
  }
  // Types the query and presses Enter in the combo box's edit field.
  void Find(const std::string& query) {
    SetForegroundWindow(SearchDialog());  // the reader clicks into it again
    SetWindowTextA(combo_, query.c_str());
    SendMessageA(SearchDialog(), WM_COMMAND, MAKEWPARAM(kSearchQuery, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo_));
    Key(GetWindow(combo_, GW_CHILD), VK_RETURN);
    wintest::PumpRounds(5);
  }
  std::string ResultsCount() const { return Text(GetDlgItem(gResults, kResultsCount)); }
  HWND ResultsList() const { return GetDlgItem(gResults, kResultsList); }

  int historySteps_ = 0;
  HWND list_{}, prefix_{}, combo_{};
};

// --- contents -------------------------------------------------------------------------

TEST_F(FinderTest, WithoutAFilterEveryEntryShowsAndThePrefixSelects) {
  OpenContents();
  EXPECT_EQ(Count(), kEntries);
  EXPECT_EQ(EntryAt(0), "Абрикос");
  SetWindowTextA(prefix_, "Статья 01");
  EXPECT_EQ(Selection(), 1 + 100);
  EXPECT_EQ(EntryAt(static_cast<int32_t>(Selection())), "Статья 0100");
  const HWND open = ButtonAt(ContentsDialog(), 0, 250);
  EXPECT_EQ(SendMessageA(open, BM_GETSTATE, 0, 0), 1);
  // Beyond the last entry: the last; empty: the first, and nothing to open.
  SetWindowTextA(prefix_, "Яя");
  EXPECT_EQ(Selection(), kEntries - 1);
  SetWindowTextA(prefix_, "");
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(SendMessageA(open, BM_GETSTATE, 0, 0), 0);
}

TEST_F(FinderTest, TwoCategoriesCheckedAndOneUncheckedLeaveTheOthersArticles) {
  OpenContents();
  Categories({4, 5}, true);
  EXPECT_EQ(Count(), 15);  // articles 0..14
  Categories({4}, false);
  ASSERT_EQ(Count(), 10);
  for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(EntryAt(i), "Статья " + std::string(i < 5 ? "000" : "00") + std::to_string(5 + i));
  // The box keeps the illustrated ones of them: the even articles.
  SendMessageA(ChildOfClass(ContentsDialog(), "Button"), BM_CLICK, 0, 0);
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(EntryAt(0), "Статья 0006");
  ClickButton(ButtonAt(ContentsDialog(), 282, 235));  // reset
  wintest::Pump();
  EXPECT_EQ(Count(), kEntries);
}

TEST_F(FinderTest, ATopicInMoreCategoriesThanLevelsLeavesOnlyWithItsLastOne) {
  OpenContents();
  const std::vector<std::pair<int, std::set<int>>> categories = {
      {4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {5, {5, 6, 7, 8, 9, 10, 11, 12, 13, 14}}, {6, {7, 20, 21}},
      {7, {7, 22}}, {18, {7, 23}}, {19, {7, 24}}, {24, {7}}};
  for (const auto& [id, members] : categories) Categories({id}, true);
  EXPECT_EQ(Count(), 20);
  // Uncheck all but the last, checking the union each time.
  std::set<int> remaining;
  for (size_t removed = 0; removed + 1 < categories.size(); ++removed) {
    Categories({categories[removed].first}, false);
    remaining.clear();
    for (size_t k = removed + 1; k < categories.size(); ++k) remaining.insert(categories[k].second.begin(), categories[k].second.end());
    EXPECT_EQ(Count(), static_cast<LRESULT>(remaining.size())) << "after removing " << categories[removed].first;
  }
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(EntryAt(0), "Статья 0007");
  // Group headings name no list and change nothing; with nothing checked every entry shows.
  Categories({24}, false);
  Categories({3, 17}, true);
  EXPECT_EQ(Count(), kEntries);
}

TEST_F(FinderTest, EnterOpensTheEntryAndEscCloses) {
  OpenContents();
  SetWindowTextA(prefix_, "Ябл");
  Key(prefix_, VK_RETURN);
  EXPECT_TRUE(wintest::PumpUntil([] { return !ContentsDialog(); }, kRounds));
  EXPECT_STREQ(article::CurrentTitle(), "Яблоко");
  EXPECT_EQ(historySteps_, 1);
  EXPECT_TRUE(IsWindowEnabled(Env().host.main));
  OpenContents();
  EXPECT_EQ(Selection(), kEntries - 1);  // the entry opened last time
  Key(prefix_, VK_ESCAPE);
  EXPECT_TRUE(wintest::PumpUntil([] { return !ContentsDialog(); }, kRounds));
  EXPECT_EQ(historySteps_, 1);
}

// --- search and results ---------------------------------------------------------------

TEST_F(FinderTest, EnterSearchesAndTheResultsMeetTheLimitFromBothSides) {
  OpenSearch();
  Find("двухтысячный");
  ASSERT_TRUE(gResults);
  EXPECT_EQ(ResultsCount(), "2000");
  EXPECT_EQ(SendMessageA(ResultsList(), LB_GETCOUNT, 0, 0), 2000);
  EXPECT_TRUE(gBoxes.empty());
  EXPECT_EQ(Text(GetDlgItem(gResults, kResultsQuery)), "двухтысячный");
  Find("всеобщий");
  EXPECT_EQ(ResultsCount(), "2000");
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text, "Найдено свыше 2000 статей, будут показаны первые 2000");
  EXPECT_EQ(lMVTopicListLength(Search().results), 2001);
  // Esc in the search dialog closes it and leaves the results on top.
  SetForegroundWindow(SearchDialog());
  Key(combo_, VK_ESCAPE);
  EXPECT_TRUE(wintest::PumpUntil([] { return !SearchDialog(); }, kRounds));
  EXPECT_TRUE(IsWindow(gResults));
}

TEST_F(FinderTest, NothingFoundAndUnsearchableQueriesSayWhy) {
  OpenSearch();
  Find("несуществующееслово");
  Find("И");
  ASSERT_EQ(gBoxes.size(), 2u);
  EXPECT_EQ(gBoxes[0].text, "Нет такого текста!");
  EXPECT_EQ(gBoxes[1].text, "Текст непригоден для поиска!");
  EXPECT_EQ(gBoxes[1].caption, "Поиск");
  EXPECT_EQ(gResults, nullptr);
}

TEST_F(FinderTest, StopEndsALongQueryAndKeepsThePreviousResults) {
  OpenSearch();
  Find("двухтысячный");
  ASSERT_TRUE(gResults);
  const HMVTOPICLIST before = Search().results;
  SetForegroundWindow(SearchDialog());
  SetWindowTextA(combo_, "всеобщий ИЛИ двухтысячный ИЛИ текст");
  // The stop click waits in the queue; the query's message pump delivers it.
  ClickButton(ButtonAt(SearchDialog(), 0, 250));
  ClickButton(ButtonAt(SearchDialog(), 0, 180));
  wintest::PumpRounds(5);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text, "Поиск прерван!");
  EXPECT_EQ(Search().results, before);
  EXPECT_EQ(shell::StopFlag(), 0);
  EXPECT_TRUE(IsWindowEnabled(combo_));
  EXPECT_EQ(SendMessageA(ButtonAt(SearchDialog(), 0, 180), BM_GETSTATE, 0, 0), 0);
}

TEST_F(FinderTest, ALongQueryIsCutAndTheHistoryKeepsWithinItsBlock) {
  OpenSearch();
  const std::string query = "всеобщий ИЛИ " + std::string(80, 'а');
  Find(query);
  EXPECT_EQ(std::string(Search().lastQuery), query.substr(0, 63));
  for (int i = 0; i < 20; ++i)
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("запрос " + std::string(50, 'a' + i)).c_str()));
  SendMessageA(SearchDialog(), WM_CLOSE, 0, 0);
  const auto kept = UnpackQueryHistory(Search().history);
  size_t bytes = 1;
  for (const auto& q : kept) bytes += q.size() + 1;
  EXPECT_LE(bytes, kQueryHistoryBytes);
  EXPECT_EQ(kept.size(), 8u);  // the cut query, then seven of 58 bytes
  OpenSearch();
  EXPECT_EQ(SendMessageA(combo_, CB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(Text(combo_), query.substr(0, 63));
}

TEST_F(FinderTest, ResultsReopenWhereTheyWereWithTheirSelectionUntilANewQuery) {
  OpenSearch();
  Find("двухтысячный");
  ASSERT_TRUE(gResults);
  SendMessageA(SearchDialog(), WM_CLOSE, 0, 0);
  MoveWindow(gResults, 40, 30, 530, 340, TRUE);
  SendMessageA(ResultsList(), LB_SETCURSEL, 4, 0);
  ClickButton(ButtonAt(gResults, 0, 250));  // open the fifth
  EXPECT_TRUE(wintest::PumpUntil([] { return !gResults; }, kRounds));
  EXPECT_STREQ(article::CurrentTitle(), "Статья 0004");
  ASSERT_TRUE(OpenResultsDialog());
  RECT where;
  GetWindowRect(gResults, &where);
  EXPECT_EQ(where.left, 40);
  EXPECT_EQ(where.top, 30);
  EXPECT_EQ(SendMessageA(ResultsList(), LB_GETCURSEL, 0, 0), 4);
  OpenSearch();
  Find("всеобщий");
  EXPECT_EQ(SendMessageA(ResultsList(), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(FinderTest, AnOpenedResultShowsItsHighlightScrolledIntoView) {
  OpenSearch();
  SendMessageA(GetDlgItem(SearchDialog(), kSearchOption), BM_CLICK, 0, 0);
  EXPECT_TRUE(Search().wordForms);
  Find("волгой");  // another form of the word in the article
  ASSERT_TRUE(gResults);
  SendMessageA(SearchDialog(), WM_CLOSE, 0, 0);
  ClickButton(ButtonAt(gResults, 0, 250));
  EXPECT_TRUE(wintest::PumpUntil([] { return !gResults; }, kRounds));
  ASSERT_STREQ(article::CurrentTitle(), "Яблоко");
  const HWND pane = article::MainArticle()->scrollingPane;
  LPMV body = article::PaneDisplay(pane);
  const HGLOBAL highlights = hMVGetHighlights(body);
  ASSERT_NE(highlights, nullptr);
  EXPECT_GE(*static_cast<const DWORD*>(GlobalLock(highlights)), 1u);
  GlobalUnlock(highlights);
  EXPECT_GT(yMVGetYScrollPos(body), 0);
  UpdateWindow(pane);
  RECT client;
  GetClientRect(pane, &client);
  wintest::Canvas canvas(client.right, client.bottom);
  const HDC dc = GetDC(pane);
  BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(pane, dc);
  EXPECT_GT(canvas.Count(RGB(246, 218, 120), client), 20);  // the marker under the word, in view
}

TEST_F(FinderTest, F9WritesTheListedTitlesInTheWorkingDirectory) {
  OpenSearch();
  Find("волга ИЛИ \"номер 7\"");
  ASSERT_TRUE(gResults);
  SendMessageA(SearchDialog(), WM_CLOSE, 0, 0);
  Key(ResultsList(), VK_F9);
  wintest::Pump();
  std::ifstream file(Env().work / "lsttxt0", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "Статья 0007\r\nЯблоко\r\n");
}

}  // namespace
}  // namespace kro::navigation
