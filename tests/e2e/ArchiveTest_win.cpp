// The real archive.exe on the sample archive disc, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/ArchiveWindow_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"
#include "tests/support/Program_win.h"
#include "tests/support/Screenshot_win.h"

namespace kro {
namespace {

using wintest::HostPath;
using wintest::SendMouse;
using wintest::TextOf;

constexpr int kStartPolls = 6000;
constexpr int kStepPolls = 1000;
constexpr int kExitPolls = 3000;

// The archive program started on the configured disc.
class Archive : public wintest::ProgramProcess {
public:
  explicit Archive(const std::string& exe = HostPath(KRO_ARCHIVE_EXE), const std::string& folder = {}) {
    started_ = Launch(exe, {}, folder);
  }
  bool Started() const { return started_; }
  HWND Window(const char* className, int polls = kStartPolls) const { return ProgramProcess::Window(className, polls); }
  DWORD ExitCode() { return ProgramProcess::ExitCode(kExitPolls); }
  // The main window once its caption names the program.
  HWND Main() {
    const HWND main = Window(archive::kArchiveWindowClass);
    return main && WaitFor([&] { return TextOf(main) == archive::kArchiveTitle; }, kStartPolls) ? main : nullptr;
  }

private:
  bool started_ = false;
};

// A press of the left button at a point of the window as the screen shows it, through the
// input queue, with rounds of the program's loop between the steps.
void ClickAt(const Archive& program, HWND window, POINT at) {
  RECT rect;
  GetWindowRect(window, &rect);
  const POINT screen{rect.left + at.x, rect.top + at.y};
  SendMouse(0, screen);
  program.Idle(5);
  SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
  program.Idle(5);
  SendMouse(MOUSEEVENTF_LEFTUP, screen);
  program.Idle(5);
}

void Screenshot(const Archive& program, HWND window, const char* name) {
  program.Idle(10);
  EXPECT_TRUE(wintest::SaveScreenshot(window, name)) << name;
}

class ArchiveTest : public testing::Test {
protected:
  void SetUp() override {
    wintest::SetIni("ProductDir", HostPath(KRO_ARCHIVE_DIR).c_str());
    wintest::SetIni("LUMFilDirectory", nullptr);
  }
  wintest::SavedIniKeys saved_{"ProductDir", "LUMFilDirectory"};
};

TEST_F(ArchiveTest, ASecondCopyIsRefusedTheTitleBarDragsAndExitEndsWithOne) {
  Archive first;
  ASSERT_TRUE(first.Started());
  // The caption names the program once the window is up; the second copy looks for it.
  const HWND main = first.Main();
  ASSERT_NE(main, nullptr);

  Archive second;
  ASSERT_TRUE(second.Started());
  const HWND refusal = second.Window("#32770");
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(TextOf(refusal), archive::kArchiveTitle);
  EXPECT_EQ(wintest::BoxMessage(refusal), "Фильмотека уже запущен!");
  PostMessageA(refusal, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.ExitCode(), 1u);

  // A drag of the painted title bar moves the window.
  RECT before;
  GetWindowRect(main, &before);
  const POINT grip{before.left + 300, before.top + 10};
  const auto Settle = [&] { first.Idle(20); };
  SendMouse(0, grip);
  Settle();
  SendMouse(MOUSEEVENTF_LEFTDOWN, grip);
  Settle();
  for (int step = 1; step <= 4; ++step) {
    SendMouse(0, {grip.x - 10 * step, grip.y + 8 * step});
    Settle();
  }
  SendMouse(MOUSEEVENTF_LEFTUP, {grip.x - 40, grip.y + 32});
  RECT after{};
  EXPECT_TRUE(first.WaitFor([&] { return GetWindowRect(main, &after) && after.left == before.left - 40; }, kStartPolls));
  EXPECT_EQ(after.top, before.top + 32);

  PostMessageA(main, WM_COMMAND, archive::kCmdExit, 0);
  EXPECT_EQ(first.ExitCode(), 1u);
}

// Three movies ticked out of their order play in the order of the ticks; the video
// window's title line names each one.
TEST_F(ArchiveTest, APlaylistOfThreeTickedMoviesPlaysInTickOrder) {
  Archive archive;
  ASSERT_TRUE(archive.Started());
  const HWND main = archive.Main();
  ASSERT_NE(main, nullptr);
  archive.Idle(20);
  // The tick boxes of the fifth, second and ninth movies: rows 22 pixels apart.
  for (int row : {4, 1, 8}) ClickAt(archive, main, {125, 130 + 22 * row});
  Screenshot(archive, main, "archive.png");
  ClickAt(archive, main, {540, 370});  // View

  const HWND frame = archive.Window("VideoParentClass", kStepPolls);
  ASSERT_NE(frame, nullptr);
  const HWND title = FindWindowExA(frame, nullptr, "Static", nullptr);
  const HWND movie = FindWindowExA(frame, nullptr, "VideoClass", nullptr);
  ASSERT_TRUE(title && movie);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(archive.WaitFor([&] { return IsWindowVisible(movie); }, kStepPolls));
  const auto Button = [&](int x) { return ChildWindowFromPointEx(frame, POINT{x + 2, 302}, CWP_SKIPINVISIBLE); };
  const HWND previous = Button(0), next = Button(380);
  ASSERT_TRUE(previous && next && previous != frame && next != frame);
  const auto Shows = [&](const char* expected) {
    return archive.WaitFor([&] { return TextOf(title) == expected; }, kStepPolls);
  };
  EXPECT_TRUE(Shows("По Транссибу")) << TextOf(title);
  Screenshot(archive, frame, "archive-video.png");
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 0);
  for (const char* following : {"Утро на Байкале", "Над Уральским хребтом"}) {
    EXPECT_EQ(SendMessageA(next, BM_GETSTATE, 0, 0), 1);
    PostMessageA(next, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(next, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(Shows(following)) << TextOf(title);
  }
  EXPECT_EQ(SendMessageA(next, BM_GETSTATE, 0, 0), 0);  // the last of the ticked
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 1);

  PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(archive.WaitFor([&] { return !IsWindow(frame) && IsWindowEnabled(main); }, kStepPolls));
  PostMessageA(main, WM_COMMAND, archive::kCmdExit, 0);
  EXPECT_EQ(archive.ExitCode(), 1u);
}

TEST_F(ArchiveTest, ACancelledDiscPromptEndsTheProgram) {
  const wintest::TemporaryFolder empty;
  wintest::SetIni("ProductDir", empty.Path().c_str());
  Archive archive;
  ASSERT_TRUE(archive.Started());
  const HWND prompt = archive.Window("#32770");
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(FindWindowA(archive::kArchiveWindowClass, archive::kArchiveTitle), nullptr);
  PostMessageA(prompt, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_EQ(archive.ExitCode(), 1u);
}

TEST_F(ArchiveTest, StartUpRefusalsShowTheirMessages) {
  const wintest::TemporaryFolder bare;
  ASSERT_TRUE(CopyFileA(HostPath(KRO_ARCHIVE_EXE).c_str(), (bare / "archive.exe").c_str(), FALSE));
  const struct {
    const char* what;
    const char* productDir;
    std::string exe;
    const char* message;
  } kCases[] = {
      {"no ProductDir", nullptr, HostPath(KRO_ARCHIVE_EXE),
       "Обнаружена ошибка в файлах инициализации. Пожалуйста, переустановите программу!"},
      {"no movie service", KRO_ARCHIVE_DIR, bare / "archive.exe",
       "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии 2.01."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    wintest::SetIni("ProductDir", c.productDir ? HostPath(c.productDir).c_str() : nullptr);
    // Started where the movie service cannot be found but beside the program.
    Archive archive(c.exe, bare.Path());
    ASSERT_TRUE(archive.Started());
    const HWND box = archive.Window("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(box), "Ошибка");
    EXPECT_EQ(wintest::BoxMessage(box), c.message);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(archive.ExitCode(), 1u);
  }
}

}  // namespace
}  // namespace kro
