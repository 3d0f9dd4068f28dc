// The archive program's main window on the sample archive disc, in this process: the list,
// the playlist, the keys and the help window, driven as a user's input would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/archive/ArchiveHelp_win.h"
#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/ArchiveWindow_win.h"
#include "app/movies/QuickTime.h"
#include "app/movies/VideoWindow.h"
#include "app/shell/DialogKeys_win.h"
#include "app/toolkit/ProgramInstance.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::archive {
namespace {

constexpr int kRounds = 200;
// The list draws a row every 22 pixels (20 and a 2-pixel rule); its tick boxes sit at 25.
constexpr int kRowPitch = 22, kTickX = 25;

class ArchiveWindowTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    ArchiveProgram& program = TheArchive();
    program.instance = instance;
    toolkit::SetProgramInstance(instance);
    program.productDir = wintest::HostPath(KRO_ARCHIVE_DIR) + "\\";
    program.display.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    program.display.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    moviesStarted_ = QTStartUp(kQtLoadFailureArchive);
    if (moviesStarted_) EnterMovies();
    classesRegistered_ = RegisterArchiveClasses(instance);
  }
  static void TearDownTestSuite() {
    if (moviesStarted_) QTShutDown();
  }

  void SetUp() override {
    ASSERT_TRUE(moviesStarted_ && classesRegistered_);
    ASSERT_TRUE(shell::InstallDialogKeys(GetModuleHandleA(nullptr),
                                         {.routeLanguageSwitch = false, .greatGrandchildNeedsEnabled = false}));
    ASSERT_TRUE(CreateArchiveWindow(GetModuleHandleA(nullptr)));
    main_ = TheArchive().mainWindow;
    const HWND list = FindWindowExA(main_, nullptr, "ExplorerWindowClass", nullptr);
    ASSERT_NE(list, nullptr);
    rows_ = GetWindow(list, GW_CHILD);
    ASSERT_NE(rows_, nullptr);
    SetForegroundWindow(main_);
    wintest::PumpRounds(3);
  }
  void TearDown() override {
    if (IsWindow(main_)) DestroyWindow(main_);
    wintest::Pump();
    shell::RemoveDialogKeys();
  }

  // A click on the tick box of entry `id` (1 is the first row).
  void Tick(int id) {
    wintest::Click(rows_, {kTickX, (id - 1) * kRowPitch + kRowPitch / 2});
    wintest::Pump();
  }
  void Key(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  }
  static std::vector<int32_t> Ticked() { return ArchivePlaylist().Ticked(); }

  // The video frame's children by where they sit: the title line at 4, the stepping
  // buttons at 300 (previous on the left).
  static RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static HWND FrameChild(int top, bool left) {
    for (HWND child = GetWindow(movies::VideoFrame(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (ChildRect(child).top == top && (ChildRect(child).left == 0) == left) return child;
    return nullptr;
  }
  static std::string MovieTitle() {
    char text[512] = {};
    GetWindowTextA(FrameChild(4, false), text, sizeof text);
    return text;
  }
  // The caption line: the other static, under the movie.
  static std::string MovieCaption() {
    char text[512] = {}, name[16] = {};
    for (HWND child = GetWindow(movies::VideoFrame(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, "Static") == 0 && ChildRect(child).top > 4)
        GetWindowTextA(child, text, sizeof text);
    return text;
  }
  static bool Enabled(HWND button) { return SendMessageA(button, BM_GETSTATE, 0, 0) != 0; }

  static inline bool moviesStarted_ = false;
  static inline bool classesRegistered_ = false;
  HWND main_ = nullptr;
  HWND rows_ = nullptr;
};

TEST_F(ArchiveWindowTest, TheWindowIsCentredWithItsCaptionAndTheListAtItsPlace) {
  RECT window;
  GetWindowRect(main_, &window);
  EXPECT_EQ(window.right - window.left, kArchiveWidth);
  EXPECT_EQ(window.bottom - window.top, kArchiveHeight);
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - kArchiveWidth) / 2);
  char caption[64] = {};
  GetWindowTextA(main_, caption, sizeof caption);
  EXPECT_STREQ(caption, kArchiveTitle);
  RECT list;
  GetWindowRect(GetParent(rows_), &list);
  POINT origin{list.left, list.top};
  ScreenToClient(main_, &origin);
  EXPECT_EQ(origin.x, 100);
  EXPECT_EQ(origin.y, 100);
}

TEST_F(ArchiveWindowTest, TicksMakeThePlaylistInTheirOrderAndUntickingKeepsTheRest) {
  for (int id : {5, 2, 9}) Tick(id);
  EXPECT_EQ(Ticked(), (std::vector<int32_t>{4, 1, 8}));
  Tick(2);  // from the middle
  EXPECT_EQ(Ticked(), (std::vector<int32_t>{4, 8}));
  Tick(2);
  EXPECT_EQ(Ticked(), (std::vector<int32_t>{4, 8, 1}));
}

TEST_F(ArchiveWindowTest, ViewPlaysTheTickedMoviesInTickOrderAndNextStopsAtTheLast) {
  for (int id : {5, 2, 9}) Tick(id);
  SendMessageA(main_, WM_COMMAND, kCmdView, 0);
  ASSERT_NE(movies::VideoFrame(), nullptr);
  EXPECT_NE(movies::CurrentMovie(), 0u);
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_EQ(MovieTitle(), "По Транссибу");
  const HWND previous = FrameChild(300, true), next = FrameChild(300, false);
  ASSERT_TRUE(previous && next);
  EXPECT_FALSE(Enabled(previous));
  EXPECT_TRUE(Enabled(next));
  EXPECT_EQ(MovieCaption().rfind("Поезд идёт через всю страну", 0), 0u) << MovieCaption();
  const struct { HWND button; int command; const char* title; const char* caption; bool previousOn, nextOn; } kSteps[] = {
      {next, movies::kNextMovieCommand, "Утро на Байкале", "Утро на Байкале: солнце", true, true},
      {next, movies::kNextMovieCommand, "Над Уральским хребтом", "Уральские горы", true, false},
      {previous, movies::kPreviousMovieCommand, "Утро на Байкале", "Утро на Байкале: солнце", true, true},
      {previous, movies::kPreviousMovieCommand, "По Транссибу", "Поезд идёт", false, true},
  };
  for (const auto& step : kSteps) {
    SendMessageA(movies::VideoFrame(), WM_COMMAND, step.command, reinterpret_cast<LPARAM>(step.button));
    EXPECT_TRUE(wintest::PumpUntil([&] { return MovieTitle() == step.title; }, kRounds)) << step.title;
    EXPECT_EQ(MovieCaption().rfind(step.caption, 0), 0u) << MovieCaption();
    EXPECT_EQ(Enabled(previous), step.previousOn) << step.title;
    EXPECT_EQ(Enabled(next), step.nextOn) << step.title;
    EXPECT_NE(movies::CurrentMovie(), 0u);
  }
  wintest::PressKey(movies::VideoFrame(), VK_ESCAPE);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !movies::VideoFrame() && IsWindowEnabled(main_); }, kRounds));
}

TEST_F(ArchiveWindowTest, ViewWithNothingTickedDoesNothing) {
  Tick(4);
  Tick(4);
  SendMessageA(main_, WM_COMMAND, kCmdView, 0);
  wintest::PumpRounds(3);
  EXPECT_EQ(movies::VideoFrame(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(ArchiveWindowTest, SelectAllTicksEveryMovieInListOrderAndResetClearsThem) {
  Tick(3);
  SendMessageA(main_, WM_COMMAND, kCmdReset, 0);
  EXPECT_TRUE(Ticked().empty());
  SendMessageA(main_, WM_COMMAND, kCmdSelectAll, 0);
  EXPECT_EQ(Ticked(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  SendMessageA(main_, WM_COMMAND, kCmdReset, 0);
  EXPECT_TRUE(Ticked().empty());
}

TEST_F(ArchiveWindowTest, EnterPressesHelpAndEscClosesHelpThenTheProgram) {
  Key(rows_, VK_RETURN);  // a grandchild of the window: the list's rows
  HWND help = nullptr;
  ASSERT_TRUE(wintest::PumpUntil([&] { return (help = FindWindowA(kArchiveHelpClass, nullptr)) != nullptr; }, kRounds));
  EXPECT_FALSE(IsWindowEnabled(main_));
  char text[64] = {};
  GetWindowTextA(GetWindow(help, GW_CHILD), text, sizeof text);
  EXPECT_EQ(std::string(text).rfind("ФИЛЬМОТЕКА", 0), 0u) << text;
  Key(GetWindow(help, GW_CHILD), VK_ESCAPE);
  ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindow(help) && IsWindowEnabled(main_); }, kRounds));
  SetForegroundWindow(main_);
  SendMessageA(main_, WM_ACTIVATE, WA_ACTIVE, 0);
  Key(rows_, VK_ESCAPE);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(main_); }, kRounds));
}

TEST_F(ArchiveWindowTest, TheTitleBarStartsAMoveAndTheSystemMenuStaysShut) {
  RECT window;
  GetWindowRect(main_, &window);
  EXPECT_EQ(SendMessageA(main_, WM_NCHITTEST, 0, MAKELPARAM(window.left + 300, window.top + 10)), HTCAPTION);
  SendMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 300, window.top + 10));
  MSG move{};
  ASSERT_TRUE(PeekMessageA(&move, main_, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(move.wParam & 0xFFF0, static_cast<WPARAM>(SC_MOVE));
  EXPECT_EQ(SendMessageA(main_, WM_SYSCOMMAND, SC_KEYMENU, ' '), 0);
  EXPECT_EQ(SendMessageA(main_, WM_SYSCOMMAND, SC_MOUSEMENU, 0), 0);
  EXPECT_EQ(SendMessageA(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main_), 0), 0);
}

}  // namespace
}  // namespace kro::archive
