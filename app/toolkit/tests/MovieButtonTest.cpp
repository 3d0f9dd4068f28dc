#include "app/toolkit/MovieButton_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kro::toolkit {
namespace {

std::vector<UINT> gCommands;
std::vector<WPARAM> gPartnerChecks;

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) gCommands.push_back(LOWORD(wParam));
  if (msg == BM_SETCHECK) gPartnerChecks.push_back(wParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class MovieButtonTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(QTInitialize(nullptr), 0);
    EnterMovies();
    RegisterMovieButtonClass(GetModuleHandleA(nullptr));
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KroMovieRecorder";
    RegisterClassA(&wc);
  }
  static void TearDownTestSuite() {
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    gCommands.clear();
    gPartnerChecks.clear();
    main_ = CreateWindowA("KroMovieRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    dialog_ = CreateWindowA("KroMovieRecorder", "", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150, main_, nullptr, nullptr, nullptr);
    partner_ = CreateWindowA("KroMovieRecorder", "", WS_CHILD, 0, 0, 10, 10, dialog_, nullptr, nullptr, nullptr);
    // Wine shows the Unix root as drive Z:.
    std::strcpy(record_.moviePath.data(), "Z:" QT_TEST_MEDIA "/jpeg_twos16_mono_first.mov");
    record_.command = 77;
    record_.partner = partner_;
    record_.x = 10;
    record_.y = 5;
  }
  void TearDown() override { DestroyWindow(main_); }
  static void PumpUntil(const std::vector<UINT>& commands, DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    MSG msg;
    while (commands.empty() && GetTickCount() < end) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(5);
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND main_{}, dialog_{}, partner_{};
  MovieButtonRecord record_;
};

TEST_F(MovieButtonTest, SizedToTheMovieAtItsPlace) {
  const HWND button = CreateMovieButton(dialog_, &record_);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(record_.window, button);
  RECT rect;
  GetWindowRect(button, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 5);
  EXPECT_EQ(rect.right - rect.left, 64);  // the movie's box, no bar
  EXPECT_EQ(rect.bottom - rect.top, 48);
  DestroyWindow(button);
  EXPECT_EQ(record_.window, nullptr);
}

TEST_F(MovieButtonTest, PlaysOnceWithTheMainWindowDisabledThenReports) {
  const HWND button = CreateMovieButton(dialog_, &record_);
  ASSERT_NE(button, nullptr);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_FALSE(IsWindowEnabled(main_));
  PumpUntil(gCommands, 8000);
  ASSERT_EQ(gCommands, std::vector<UINT>{77});
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(gPartnerChecks, (std::vector<WPARAM>{1, 0}));
  EXPECT_GE(GetMovieTime(record_.movie, nullptr), GetMovieDuration(record_.movie));
  SendMessageA(button, kMsgResetMovie, 0, 0);
  EXPECT_LT(GetMovieTime(record_.movie, nullptr), GetMovieDuration(record_.movie));
}

}  // namespace
}  // namespace kro::toolkit
