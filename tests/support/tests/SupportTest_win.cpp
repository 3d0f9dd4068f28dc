// The helpers every Wine-hosted suite leans on: a fault here would hide faults there.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::wintest {
namespace {

TEST(Files, HostPathsAndTheProgramsFolder) {
  const struct {
    const char* unix;
    const char* host;
  } kCases[] = {{"/", "Z:\\"}, {"/work/build/media", "Z:\\work\\build\\media"}, {"/a b/c.jpg", "Z:\\a b\\c.jpg"}};
  for (const auto& c : kCases) EXPECT_EQ(HostPath(c.unix), c.host) << c.unix;

  const std::string beside = BesideExe("fixture.m14");
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string folder(exe, std::strrchr(exe, '\\') + 1);
  EXPECT_EQ(beside, folder + "fixture.m14");
}

TEST(Files, TemporaryFoldersAreFreshAndGoWithWhatTheyHold) {
  std::string first;
  {
    const TemporaryFolder a, b;
    first = a.Path();
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_EQ(GetFileAttributesA(a.Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    ASSERT_TRUE(CreateDirectoryA((a / "inner").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(a / "inner\\file.txt", "строка\r\n"));
    EXPECT_EQ(ReadWholeFile(a / "inner\\file.txt"), (std::vector<uint8_t>{0xF1, 0xF2, 0xF0, 0xEE, 0xEA, 0xE0, '\r', '\n'}));
  }
  EXPECT_EQ(GetFileAttributesA(first.c_str()), INVALID_FILE_ATTRIBUTES);
}

HGLOBAL Block(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

TEST(Clipboard, TextComesBackInEachFormat) {
  const wchar_t wide[] = L"Ёлка";
  ASSERT_TRUE(PutOnClipboard(nullptr, {{CF_TEXT, Block("Ель\r\n", 6)}, {CF_UNICODETEXT, Block(wide, sizeof wide)}}));
  EXPECT_EQ(ClipboardText(), "Ель\r\n");
  EXPECT_EQ(ClipboardText(CF_UNICODETEXT), "Ёлка");  // in cp1251
  EXPECT_EQ(ClipboardText(RegisterClipboardFormatA("Rich Text Format")), "<none>");
  ClearClipboard();
  EXPECT_EQ(ClipboardText(), "<none>");
}

TEST(Clipboard, GlobalTextStopsAtTheNulOrTheBlocksEnd) {
  EXPECT_EQ(TakeGlobalText(Block("ab\0cd", 5)), "ab");
  EXPECT_EQ(TakeGlobalText(Block("abc", 3)), "abc");  // no NUL: nothing read past the block
  EXPECT_EQ(TakeGlobalText(nullptr), "<none>");
  EXPECT_EQ(WithoutCr("a\r\nb\r\n"), "a\nb\n");
}

int gTimers = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ++gTimers;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(Messages, PumpsCountMessagesAndRoundsNotTime) {
  ASSERT_TRUE(RegisterTestClass("KroSupportCounter", CountingProc));
  EXPECT_TRUE(RegisterTestClass("KroSupportCounter", CountingProc));  // once per process
  const HWND window = CreateWindowA("KroSupportCounter", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  Pump();
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_USER, 0, 0);
  EXPECT_EQ(Pump(), 3);
  EXPECT_EQ(Pump(), 0);

  int checks = 0;
  EXPECT_FALSE(PumpUntil([&] { return ++checks, false; }, 5));
  EXPECT_EQ(checks, 6) << "once per round and once at the end";
  gTimers = 0;
  SetTimer(window, 1, 1, nullptr);
  EXPECT_TRUE(PumpUntil([] { return gTimers >= 2; }, 1000));
  KillTimer(window, 1);
  DestroyWindow(window);
}

TEST(Messages, WaitsEndWhenTheProcessHasEnded) {
  UniqueKernelHandle ended(CreateEventA(nullptr, TRUE, TRUE, nullptr));  // signalled, as an ended process is
  int polls = 0;
  EXPECT_FALSE(WaitUntil([&] { return ++polls, false; }, 1000, ended.Get()));
  EXPECT_EQ(polls, 2) << "one poll, the wait that sees the end, one last look";
  UniqueKernelHandle running(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  polls = 0;
  EXPECT_TRUE(WaitUntil([&] { return ++polls == 3; }, 1000, running.Get()));
  EXPECT_EQ(polls, 3);
}

TEST(Canvas, CountsAreClippedToTheCanvas) {
  Canvas canvas(4, 3, RGB(10, 20, 30));
  EXPECT_EQ(canvas.At(3, 2), RGB(10, 20, 30));
  EXPECT_EQ(canvas.Rgb(0, 0), 0x0A141Eu);
  SetPixel(canvas.Dc(), 1, 1, RGB(255, 0, 0));
  EXPECT_EQ(canvas.Count(RGB(255, 0, 0), {0, 0, 4, 3}), 1);
  EXPECT_EQ(canvas.Count(RGB(10, 20, 30), {-5, -5, 50, 50}), 11);
  EXPECT_EQ(canvas.CountNot(RGB(10, 20, 30), {-5, -5, 50, 50}), 1);
  EXPECT_EQ(canvas.CountNot(RGB(10, 20, 30), {2, 2, 1, 1}), 0);  // an empty area
}

TEST(Canvas, NearAllowsTheToleranceOnEachChannel) {
  EXPECT_TRUE(Near(RGB(100, 100, 100), RGB(112, 88, 100)));
  EXPECT_FALSE(Near(RGB(100, 100, 100), RGB(113, 100, 100)));
  EXPECT_FALSE(Near(RGB(100, 100, 100), RGB(100, 100, 87)));
  EXPECT_TRUE(Near(RGB(0, 0, 0), RGB(0, 0, 0), 0));
  EXPECT_FALSE(Near(RGB(0, 0, 1), RGB(0, 0, 0), 0));
}

}  // namespace
}  // namespace kro::wintest
