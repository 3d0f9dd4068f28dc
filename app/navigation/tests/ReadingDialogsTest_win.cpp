#include "app/navigation/ReadingDialogs_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/BitmapButton.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Messages_win.h"

namespace kro::navigation {
namespace {

constexpr int kRounds = 50;

// The reader as the dialogs see it: a main window, the article at `gAddress`, and the
// navigation step that records the position left before it moves.
HWND gMain = nullptr;
History gHistory;
BookmarkTable gBookmarks;
int32_t gAddress = 0;
std::vector<std::string> gBoxes;  // texts of the message boxes shown, each dismissed

Position Article(int32_t address) {
  Position p;
  p.address = address;
  p.scroll = address * 10;
  if (address % 2 == 0) p.name = "Статья " + std::to_string(address);
  else p.topicNumber = address;
  return p;
}

void GoTo(int32_t address, int32_t) {
  gHistory.Record(Article(gAddress));
  gAddress = address;
}

// Dismisses every message box as it appears, keeping its text.
LRESULT CALLBACK DismissBoxes(int code, WPARAM wParam, LPARAM lParam) {
  char name[16] = {};
  const auto box = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && GetClassNameA(box, name, sizeof name) && lstrcmpA(name, "#32770") == 0) {
    char text[128] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    gBoxes.emplace_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class ReadingDialogsTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    toolkit::RegisterBitmapButtonClass(instance);
    RegisterHistoryDialogClass(instance);
    RegisterBookmarkDialogClass(instance);
  }
  void SetUp() override {
    gMain = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    gHistory.Clear();
    gBookmarks.Clear();
    gAddress = 1000;
    gBoxes.clear();
    ReadingHost host;
    host.mainWindow = [] { return gMain; };
    host.history = [] () -> History& { return gHistory; };
    host.bookmarks = [] () -> BookmarkTable& { return gBookmarks; };
    host.mainPosition = [] { return Article(gAddress); };
    host.goTo = GoTo;
    host.setHistoryDialog = [](HWND dialog) { historyDialog_ = dialog; };
    SetReadingHost(host);
    ASSERT_TRUE(shell::InstallDialogKeys(GetModuleHandleA(nullptr), {}));
    boxHook_.Reset(SetWindowsHookExA(WH_CBT, DismissBoxes, nullptr, GetCurrentThreadId()));
  }
  void TearDown() override {
    boxHook_.Reset();
    shell::RemoveDialogKeys();
    for (const char* cls : {kHistoryDialogClass, kBookmarkDialogClass})
      if (HWND dialog = FindWindowA(cls, nullptr)) DestroyWindow(dialog);
    DestroyWindow(gMain);
  }

  static HWND Child(HWND dialog, const char* cls) { return FindWindowExA(dialog, nullptr, cls, nullptr); }
  static std::vector<std::string> Items(HWND list) {
    std::vector<std::string> items;
    for (LRESULT i = 0, n = SendMessageA(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
      char text[600] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      items.emplace_back(text);
    }
    return items;
  }
  // The bitmap button whose top-left corner is at (x, y) of the dialog's client area.
  static HWND ButtonAt(HWND dialog, int x, int y) {
    return ChildWindowFromPointEx(dialog, {x + 2, y + 2}, CWP_SKIPINVISIBLE);
  }
  static bool Enabled(HWND button) { return SendMessageA(button, BM_GETSTATE, 0, 0) != 0; }
  static void Press(HWND button) {
    PostMessageA(button, WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    wintest::PumpRounds(3);
  }
  static void Activate(HWND dialog) {
    SendMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
  }

  static inline HWND historyDialog_ = nullptr;
  UniqueHook boxHook_;
};

TEST_F(ReadingDialogsTest, HistoryListsNewestFirstAndGoingThereRecordsThePositionLeft) {
  for (int32_t a = 1; a <= 501; ++a) gHistory.Record(Article(a));  // the 501st drops the first
  const HWND dialog = OpenHistoryDialog(GetModuleHandleA(nullptr));
  ASSERT_TRUE(dialog);
  EXPECT_EQ(historyDialog_, dialog);
  EXPECT_EQ(OpenHistoryDialog(GetModuleHandleA(nullptr)), dialog);  // one at a time
  EXPECT_FALSE(IsWindowEnabled(gMain));
  const HWND list = Child(dialog, "LISTBOX");
  const auto items = Items(list);
  ASSERT_EQ(items.size(), 500u);
  EXPECT_EQ(items.front(), "Topic #501");
  EXPECT_EQ(items[1], "Статья 500");
  EXPECT_EQ(items.back(), "Статья 2");
  EXPECT_EQ(GetFocus(), list);

  const HWND go = ButtonAt(dialog, 0, 250);
  EXPECT_FALSE(Enabled(go));
  SendMessageA(list, LB_SETCURSEL, 3, 0);  // "Статья 498"
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_TRUE(Enabled(go));
  Activate(dialog);
  PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0);  // Enter presses go
  wintest::PumpUntil([] { return historyDialog_ == nullptr; }, kRounds);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(gAddress, 498);
  EXPECT_EQ(gHistory.At(gHistory.Last()).address, 1000);  // the position left is the newest
  EXPECT_TRUE(IsWindowEnabled(gMain));
  EXPECT_EQ(shell::RegisteredDialog(), nullptr);
}

TEST_F(ReadingDialogsTest, RepeatedBackWithTheDialogOpenWalksToTheOldest) {
  for (int32_t a = 1; a <= 3; ++a) gHistory.Record(Article(a));
  const HWND dialog = OpenHistoryDialog(GetModuleHandleA(nullptr));
  const HWND list = Child(dialog, "LISTBOX");
  std::vector<int32_t> shown;
  while (auto target = gHistory.GoBack(Article(gAddress))) {
    gAddress = target->address;
    shown.push_back(gAddress);
    RefreshHistoryDialog();
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{3, 2, 1}));
  EXPECT_EQ(Items(list).size(), 6u);  // 1 2 3 and the positions left: 1000 3 2
  EXPECT_EQ(Items(list).front(), "Статья 2");
  // Esc closes through the close button.
  Activate(dialog);
  PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  wintest::PumpUntil([] { return historyDialog_ == nullptr; }, kRounds);
  EXPECT_FALSE(IsWindow(dialog));
}

class BookmarkDialogTest : public ReadingDialogsTest {
protected:
  void SetUp() override {
    ReadingDialogsTest::SetUp();
    dialog_ = OpenBookmarkDialog(GetModuleHandleA(nullptr));
    ASSERT_TRUE(dialog_);
    Activate(dialog_);
    field_ = Child(dialog_, "EDIT");
    list_ = Child(dialog_, "LISTBOX");
  }
  // Types a name and presses Enter, as the reader adds a bookmark.
  void AddByEnter(const std::string& name) {
    SetWindowTextA(field_, name.c_str());  // the field reports EN_CHANGE
    PostMessageA(field_, WM_KEYDOWN, VK_RETURN, 0);
    wintest::PumpRounds(4);
  }
  void Close() {
    Press(ButtonAt(dialog_, 370, 251));
    EXPECT_FALSE(IsWindow(dialog_));
  }
  HWND dialog_{}, field_{}, list_{};
};

TEST_F(BookmarkDialogTest, EnterAddsTheCurrentPositionAndShowsTheList) {
  const HWND add = ButtonAt(dialog_, 0, 110);
  EXPECT_FALSE(Enabled(add));
  EXPECT_FALSE(IsWindowVisible(list_));  // hidden while empty
  EXPECT_FALSE(Enabled(ButtonAt(dialog_, 0, 182)));
  const std::string forty(40, 'Ж');
  AddByEnter(forty);
  EXPECT_TRUE(IsWindowVisible(list_));
  EXPECT_EQ(Items(list_), std::vector<std::string>{forty});
  EXPECT_TRUE(Enabled(ButtonAt(dialog_, 0, 182)));
  EXPECT_TRUE(Enabled(ButtonAt(dialog_, 0, 251)));
  ASSERT_EQ(gBookmarks.Last(), 0);
  EXPECT_EQ(gBookmarks.At(0).entry.address, 1000);
  EXPECT_EQ(gBookmarks.At(0).entry.scroll, 10000);
  EXPECT_EQ(gBookmarks.At(0).entry.named, 1);
  Close();
  EXPECT_EQ(gBookmarks.At(0).name, forty);  // whole while the program runs
  EXPECT_TRUE(IsWindowEnabled(gMain));
}

TEST_F(BookmarkDialogTest, TheThirtyThirdIsRefusedWithTheMessage) {
  for (int i = 0; i < 33; ++i) AddByEnter("Закладка " + std::to_string(i));
  EXPECT_EQ(gBookmarks.Last(), 31);
  EXPECT_EQ(Items(list_).size(), 32u);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0], "Слишком много закладок!");
  EXPECT_EQ(shell::RegisteredDialog(), dialog_);  // the keys come back after the box
}

TEST_F(BookmarkDialogTest, DeletingMovesTheSelectionBackAndEmptiesTheTable) {
  for (const char* name : {"один", "два", "три"}) AddByEnter(name);
  const HWND remove = ButtonAt(dialog_, 0, 182);
  SendMessageA(list_, LB_SETCURSEL, 2, 0);
  Press(remove);
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), 1);
  SendMessageA(list_, LB_SETCURSEL, 0, 0);
  Press(remove);
  EXPECT_EQ(Items(list_), std::vector<std::string>{"два"});
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), 0);
  Press(remove);
  EXPECT_FALSE(IsWindowVisible(list_));
  EXPECT_FALSE(Enabled(remove));
  EXPECT_EQ(gBookmarks.Last(), -1);
  Close();
}

TEST_F(BookmarkDialogTest, GoingToABookmarkRecordsThePositionLeft) {
  AddByEnter("Волга");
  gAddress = 2000;
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(100, LBN_DBLCLK), reinterpret_cast<LPARAM>(list_));
  wintest::PumpRounds(3);
  EXPECT_FALSE(IsWindow(dialog_));
  EXPECT_EQ(gAddress, 1000);
  EXPECT_EQ(gHistory.At(gHistory.Last()).address, 2000);
}

}  // namespace
}  // namespace kro::navigation
