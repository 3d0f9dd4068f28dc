#include "app/toolkit/MovieButton.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

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
    wintest::RegisterTestClass("KroMovieRecorder", RecorderProc);
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
    const std::string movie = wintest::HostPath(QT_TEST_MEDIA "/jpeg_twos16_mono_first.mov");
    std::snprintf(record_.moviePath.data(), record_.moviePath.size(), "%s", movie.c_str());
    record_.command = 77;
    record_.partner = partner_;
    record_.x = 10;
    record_.y = 5;
  }
  void TearDown() override { DestroyWindow(main_); }
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
  // The 2-second movie ends in about a hundred rounds (its controller ticks every 20 ms).
  EXPECT_TRUE(wintest::PumpUntil([] { return !gCommands.empty(); }, 2000));
  ASSERT_EQ(gCommands, std::vector<UINT>{77});
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(gPartnerChecks, (std::vector<WPARAM>{1, 0}));
  EXPECT_GE(GetMovieTime(record_.movie, nullptr), GetMovieDuration(record_.movie));
  SendMessageA(button, kMsgResetMovie, 0, 0);
  EXPECT_LT(GetMovieTime(record_.movie, nullptr), GetMovieDuration(record_.movie));
}

}  // namespace
}  // namespace kro::toolkit
