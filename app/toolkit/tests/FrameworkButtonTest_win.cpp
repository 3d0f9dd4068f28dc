#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/toolkit/PushButton.h"
#include "app/toolkit/Switch.h"
#include "app/toolkit/tests/TestBitmapFiles.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Messages_win.h"

namespace kro::toolkit {
namespace {

// A strip of `frames` frames of 20x10 pixels, frame n filled with the colour (n*30, 0, 200).
std::string WriteStrip(int frames) {
  const std::string name = "strip" + std::to_string(frames) + ".bmp";
  testing::WritePatternBitmap(name, 20, 10 * frames, [](int, int y) { return static_cast<unsigned>((y / 10) * 30) << 16 | 200; });
  return name;
}

std::vector<std::pair<WORD, LPARAM>> gCommands;
int gHovers = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) gCommands.emplace_back(LOWORD(wParam), lParam);
  if (msg == kMsgButtonHover) ++gHovers;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class FrameworkButtonTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    wintest::RegisterTestClass("KroFrameworkParent", ParentProc);
  }
  void SetUp() override {
    gCommands.clear();
    gHovers = 0;
    parent_ = CreateWindowA("KroFrameworkParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_TRUE(strip4_.Load(WriteStrip(4).c_str()));
    ASSERT_TRUE(strip7_.Load(WriteStrip(7).c_str()));
  }
  void TearDown() override { DestroyWindow(parent_); }

  // The red level of the frame on show (frame n has red n * 30).
  static int Frame(HWND button) { return GetRValue(wintest::WindowPixel(button, {5, 5})) / 30; }

  HWND parent_{};
  DdbBitmap strip4_, strip7_;
};

TEST_F(FrameworkButtonTest, PushFiresOnReleaseWithLParamOne) {
  PushButton button(parent_, 41, {10, 10, 20, 10}, &strip4_);
  button.SetActive(true);
  SendMessageA(button.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(button.State(), PushButton::kPressed);
  EXPECT_EQ(Frame(button.Hwnd()), 2);
  SendMessageA(button.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gCommands, (std::vector<std::pair<WORD, LPARAM>>{{41, 1}}));
  SendMessageA(button.Hwnd(), WM_LBUTTONUP, 0, 0);  // not pressed: nothing
  EXPECT_EQ(gCommands.size(), 1u);
}

TEST_F(FrameworkButtonTest, InactiveOrDisabledButtonsIgnoreTheMouse) {
  PushButton button(parent_, 42, {10, 10, 20, 10}, &strip4_);
  SendMessageA(button.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(button.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(gCommands.empty());
  button.SetActive(true);
  button.SetDisabled(true);
  EXPECT_EQ(Frame(button.Hwnd()), 3);
  SendMessageA(button.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(button.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(gCommands.empty());
  button.SetDisabled(false);
  EXPECT_NE(button.State(), PushButton::kDisabled);
}

TEST_F(FrameworkButtonTest, HoverTakesTheCaptureAndTellsTheParent) {
  PushButton button(parent_, 43, {10, 10, 20, 10}, &strip4_);
  button.SetActive(true);
  SendMessageA(button.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.State(), PushButton::kHover);
  EXPECT_EQ(GetCapture(), button.Hwnd());
  EXPECT_EQ(gHovers, 1);
  EXPECT_EQ(Frame(button.Hwnd()), 1);
  SendMessageA(button.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 80));  // off the button
  EXPECT_EQ(button.State(), PushButton::kNormal);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(gHovers, 2);
}

// The press fires once; then each tick of the button's timer fires again until release,
// which stops the timer. Ticks are counted, not waited for by the clock.
TEST_F(FrameworkButtonTest, RepeatFiresOnPressAndPerPeriodButNotOnRelease) {
  RepeatButton button(parent_, 44, {10, 10, 20, 10}, &strip4_, 50);
  button.SetActive(true);
  SendMessageA(button.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(gCommands, (std::vector<std::pair<WORD, LPARAM>>{{44, 1}}));
  EXPECT_TRUE(wintest::PumpUntil([] { return gCommands.size() >= 3; }, 1000)) << "the timer repeats";
  const size_t ticked = gCommands.size();
  SendMessageA(button.Hwnd(), WM_TIMER, 44, 0);
  EXPECT_EQ(gCommands.size(), ticked + 1);
  SendMessageA(button.Hwnd(), WM_LBUTTONUP, 0, 0);
  const size_t released = gCommands.size();
  EXPECT_EQ(released, ticked + 1);
  EXPECT_FALSE(KillTimer(button.Hwnd(), 44)) << "the release stopped the timer";
  SendMessageA(button.Hwnd(), WM_TIMER, 44, 0);  // one already queued
  wintest::PumpRounds(10);
  EXPECT_EQ(gCommands.size(), released);
}

TEST_F(FrameworkButtonTest, SwitchFlipsAndShowsItsSevenFrames) {
  Switch sw(parent_, 45, {10, 10, 20, 10}, &strip7_);
  sw.SetActive(true);
  EXPECT_EQ(Frame(sw.Hwnd()), 0);
  SendMessageA(sw.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Frame(sw.Hwnd()), 2);
  SendMessageA(sw.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(sw.IsOn());
  EXPECT_EQ(Frame(sw.Hwnd()), 3);  // on; the hover frame drops without the capture
  SendMessageA(sw.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Frame(sw.Hwnd()), 5);
  SendMessageA(sw.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(sw.IsOn());
  EXPECT_EQ(gCommands.size(), 2u);
  sw.SetDisabled(true);
  EXPECT_EQ(Frame(sw.Hwnd()), 6);
  SendMessageA(sw.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(sw.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gCommands.size(), 2u);
  sw.SetOn(true);
  sw.SetDisabled(false);
  EXPECT_EQ(Frame(sw.Hwnd()), 3);
}

TEST_F(FrameworkButtonTest, ThumbStopsAtTheEndOfItsTrack) {
  Thumb thumb(parent_, 46, {50, 0, 20, 10}, &strip4_);
  thumb.SetActive(true);
  thumb.SetLimits(16, 16);  // arrows at both ends of a 300-pixel track
  POINT origin{0, 0};
  ClientToScreen(parent_, &origin);
  SetCursorPos(origin.x + 55, origin.y + 5);
  SendMessageA(thumb.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SetCursorPos(origin.x + 1000, origin.y + 5);
  SendMessageA(thumb.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, 0);
  ASSERT_FALSE(gCommands.empty());
  EXPECT_EQ(thumb.Geometry().x, 300 - 20 - 16);
  EXPECT_EQ(gCommands.back().second, 300 - 20 - 16 - 16);
  SetCursorPos(origin.x - 500, origin.y + 5);
  SendMessageA(thumb.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_EQ(thumb.Geometry().x, 16);
  EXPECT_EQ(gCommands.back().second, 0);
  const size_t before = gCommands.size();
  SendMessageA(thumb.Hwnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gCommands.size(), before);  // the release reports nothing more
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace kro::toolkit
