#include "app/toolkit/BitmapButton.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/Canvas_win.h"
#include "tests/support/Messages_win.h"

namespace kro::toolkit {
namespace {

// Test bitmaps (tests/buttons.rc): 24x16, pressed red, normal green, disabled blue.
constexpr COLORREF kPressed = RGB(255, 0, 0), kNormal = RGB(0, 255, 0), kDisabled = RGB(0, 0, 255);

std::vector<WORD> gCommands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) gCommands.push_back(LOWORD(wParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class BitmapButtonTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    RegisterBitmapButtonClass(GetModuleHandleA(nullptr));
    wintest::RegisterTestClass("KroButtonParent", ParentProc);
  }
  void SetUp() override {
    gCommands.clear();
    parent_ = CreateWindowA("KroButtonParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(parent_); }

  static BitmapButtonRecord Button(int32_t active, int32_t kind, int32_t command, int x) {
    BitmapButtonRecord r;
    r.active = active;
    r.kind = kind;
    r.command = command;
    r.pressedName = "t_on";
    r.normalName = "t_off";
    r.disabledName = "t_stop";
    r.left = x;
    r.top = 10;
    return r;
  }
  static void Click(HWND button) {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  static COLORREF Colour(HWND button) {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return wintest::WindowPixel(button, {5, 5});
  }
  HWND parent_{};
};

TEST_F(BitmapButtonTest, CreationStopsAtTheEndRecordAndSkipsOtherValues) {
  BitmapButtonRecord records[] = {Button(2, kPushButton, 1, 0), Button(1, kPushButton, 2, 30),
                                  Button(0, kPushButton, 3, 60), Button(1, kPushButton, 4, 90)};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  EXPECT_EQ(records[0].window, nullptr);
  ASSERT_NE(records[1].window, nullptr);
  EXPECT_EQ(records[3].window, nullptr);
  EXPECT_EQ(records[1].right, 30 + 24);
  EXPECT_EQ(records[1].bottom, 10 + 16);
  ShowBitmapButtons(records, false);
  EXPECT_FALSE(IsWindowVisible(records[1].window));

  BitmapButtonRecord none[] = {Button(0, kPushButton, 1, 0), Button(1, kPushButton, 2, 0)};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), none, true);
  EXPECT_EQ(none[1].window, nullptr);
}

TEST_F(BitmapButtonTest, PushFiresAndSpringsBackLatchingFlips) {
  BitmapButtonRecord records[] = {Button(1, kPushButton, 113, 0), Button(1, kLatchingButton, 114, 30), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  Click(records[0].window);
  EXPECT_EQ(gCommands, std::vector<WORD>{113});
  EXPECT_EQ(SendMessageA(records[0].window, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(Colour(records[0].window), kNormal);

  Click(records[1].window);
  EXPECT_EQ(SendMessageA(records[1].window, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(Colour(records[1].window), kPressed);
  Click(records[1].window);
  EXPECT_EQ(SendMessageA(records[1].window, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(Colour(records[1].window), kNormal);
  EXPECT_EQ(gCommands, (std::vector<WORD>{113, 114, 114}));
}

TEST_F(BitmapButtonTest, ReleaseAwayFromTheButtonStillFires) {
  BitmapButtonRecord records[] = {Button(1, kPushButton, 120, 0), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  SendMessageA(records[0].window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(records[0].window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 80));
  SendMessageA(records[0].window, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
  EXPECT_EQ(gCommands, std::vector<WORD>{120});
}

TEST_F(BitmapButtonTest, DisableReplacesThePressedImageAndEnableShowsNormal) {
  BitmapButtonRecord records[] = {Button(1, kPushButton, 119, 0), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  const HWND button = records[0].window;
  SendMessageA(button, BM_SETCHECK, 1, 0);
  EXPECT_EQ(Colour(button), kPressed);
  SendMessageA(button, BM_SETSTATE, 0, 0);
  EXPECT_EQ(Colour(button), kDisabled);
  EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
  Click(button);  // beeps, nothing else
  EXPECT_TRUE(gCommands.empty());
  SendMessageA(button, BM_SETSTATE, 1, 0);
  EXPECT_EQ(Colour(button), kNormal);
  EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 1);
}

TEST_F(BitmapButtonTest, ReleaseOnlyKindKeepsItsImageButFires) {
  BitmapButtonRecord records[] = {Button(1, kReleaseOnlyButton, 7, 0), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  SendMessageA(records[0].window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Colour(records[0].window), kNormal);
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(records[0].window, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gCommands, std::vector<WORD>{7});
}

TEST_F(BitmapButtonTest, PartnersLearnTheLatchState) {
  BitmapButtonRecord records[] = {Button(1, kLatchingButton, 1, 0), Button(1, kLatchingButton, 2, 30), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  records[0].partnerA = &records[1];
  Click(records[0].window);
  wintest::Pump();
  EXPECT_EQ(SendMessageA(records[1].window, BM_GETCHECK, 0, 0), 1);
}

TEST_F(BitmapButtonTest, DestroyClearsTheRecordAndCreateLoadsAgain) {
  BitmapButtonRecord records[] = {Button(1, kPushButton, 1, 0), {}};
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  DestroyWindow(records[0].window);
  EXPECT_EQ(records[0].window, nullptr);
  EXPECT_EQ(records[0].pressed, nullptr);
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  ASSERT_NE(records[0].window, nullptr);
  EXPECT_EQ(Colour(records[0].window), kNormal);
}

TEST_F(BitmapButtonTest, MissingBitmapsDrawNothingAndDoNotCrash) {
  BitmapButtonRecord records[] = {Button(1, kPushButton, 5, 0), {}};
  records[0].pressedName = "no_such_bitmap";
  CreateBitmapButtons(parent_, GetModuleHandleA(nullptr), records, true);
  ASSERT_NE(records[0].window, nullptr);
  EXPECT_EQ(records[0].pressed, nullptr);
  Click(records[0].window);
  EXPECT_EQ(gCommands, std::vector<WORD>{5});
}

}  // namespace
}  // namespace kro::toolkit
