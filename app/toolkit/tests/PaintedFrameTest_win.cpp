#include <gtest/gtest.h>

#include "app/toolkit/PaintedFrame.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Messages_win.h"

namespace kro::toolkit {
namespace {

constexpr COLORREF kActiveColour = RGB(0x1F, 0x2A, 0x44);
constexpr COLORREF kInactiveColour = RGB(0x3B, 0x4A, 0x6B);
constexpr COLORREF kClientColour = RGB(0xF4, 0xEE, 0xDC);

PaintedFrame gFrame;

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
  WindowDc screen(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), width, height);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  SelectGuard select(dc.Get(), bitmap);
  UniqueBrush brush(CreateSolidBrush(colour));
  RECT all{0, 0, width, height};
  FillRect(dc.Get(), &all, brush.Get());
  return bitmap;
}

LRESULT CALLBACK FramedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleFrameMessage(hwnd, message, wParam, lParam, gFrame, &result)) return result;
  if (message == WM_PAINT) {
    PaintGuard paint(hwnd);
    UniqueBrush brush(CreateSolidBrush(kClientColour));
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(paint.Dc(), &client, brush.Get());
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(PaintedFrame, TheClientCoversTheWholeWindowBelowTheTwentyPixelBar) {
  ASSERT_TRUE(wintest::RegisterTestClass("PaintedFrameTest", FramedProc));
  UniqueBitmap active(SolidBitmap(300, kTitleBarHeight, kActiveColour));
  UniqueBitmap inactive(SolidBitmap(300, kTitleBarHeight, kInactiveColour));
  gFrame = {active.Get(), inactive.Get(), true};
  HWND hwnd = CreateWindowExA(0, "PaintedFrameTest", "Рамка", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 30,
                              300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(hwnd, nullptr);
  UpdateWindow(hwnd);
  wintest::PumpRounds(5);

  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200 - kTitleBarHeight);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(origin.x, 40);
  EXPECT_EQ(origin.y, 30 + kTitleBarHeight);

  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_TRUE(wintest::Near(wintest::WindowPixel(nullptr, {40 + 150, 30 + 10}), kActiveColour));
  EXPECT_TRUE(wintest::Near(wintest::WindowPixel(nullptr, {40 + 150, 30 + 100}), kClientColour));
  gFrame.isActive = false;
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  wintest::PumpRounds(3);  // drawing outside WM_PAINT reaches the screen with the next messages
  EXPECT_TRUE(wintest::Near(wintest::WindowPixel(nullptr, {40 + 10, 30 + 5}), kInactiveColour));

  EXPECT_EQ(SendMessageA(hwnd, WM_NCACTIVATE, FALSE, 0), 1);
  EXPECT_EQ(SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0), 0);
  DestroyWindow(hwnd);
  gFrame = {};
}

}  // namespace
}  // namespace kro::toolkit
