#include "app/toolkit/PaintedFrame.h"

#include "app/toolkit/BitmapDrawing.h"

namespace kro::toolkit {
namespace {

LRESULT RealizeIn(HWND hwnd, HPALETTE palette) {
  WindowDc dc(hwnd);
  PaletteGuard select(dc.Get(), palette, false);
  const UINT changed = RealizePalette(dc.Get());
  if (changed) InvalidateRect(hwnd, nullptr, FALSE);
  return changed;
}

}  // namespace

void DrawTitleBar(HWND hwnd, const PaintedFrame& frame) {
  if (IsIconic(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  DrawBitmapHandle(dc, frame.isActive ? frame.active : frame.inactive, 0, 0);
  ReleaseDC(hwnd, dc);
}

bool HandleFrameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const PaintedFrame& frame,
                        LRESULT* result) {
  if (message != WM_NCCALCSIZE && message != WM_NCCREATE && message != WM_NCPAINT && message != WM_NCACTIVATE)
    return false;
  if (IsIconic(hwnd)) {
    *result = DefWindowProcA(hwnd, message, wParam, lParam);
    return true;
  }
  switch (message) {
    case WM_NCCALCSIZE: {
      // The first rectangle is the window's on the way in and the client area on the way
      // out: all of it but the bar, whatever border the system would draw.
      RECT& rect = *reinterpret_cast<RECT*>(lParam);
      const RECT window = rect;
      DefWindowProcA(hwnd, message, wParam, lParam);
      rect = {window.left, window.top + kTitleBarHeight, window.right, window.bottom};
      *result = 0;
      break;
    }
    case WM_NCCREATE:
      // The default handling stores the window text; without it the caption stays empty.
      DefWindowProcA(hwnd, message, wParam, lParam);
      DrawTitleBar(hwnd, frame);
      *result = 1;
      break;
    case WM_NCPAINT:
      DrawTitleBar(hwnd, frame);
      *result = 0;
      break;
    default:  // WM_NCACTIVATE
      DrawTitleBar(hwnd, frame);
      *result = wParam == 0 ? 1 : 0;
      break;
  }
  return true;
}

void BackdropFrame::Load(HINSTANCE instance, const char* activeBar, const char* inactiveBar, const char* background) {
  activeBar_.Reset(LoadBitmapA(instance, activeBar));
  inactiveBar_.Reset(LoadBitmapA(instance, inactiveBar));
  background_.Reset(LoadBitmapA(instance, background));
  bar_.active = activeBar_.Get();
  bar_.inactive = inactiveBar_.Get();
}

void BackdropFrame::Release() {
  bar_ = {};
  activeBar_.Reset();
  inactiveBar_.Reset();
  background_.Reset();
}

bool BackdropFrame::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HPALETTE palette,
                           LRESULT* result) {
  if (HandleFrameMessage(hwnd, message, wParam, lParam, bar_, result)) return true;
  switch (message) {
    case WM_PAINT: {
      DrawTitleBar(hwnd, bar_);
      PaintGuard paint(hwnd);
      DrawBitmapHandle(paint.Dc(), background_.Get(), 0, 0);
      *result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      *result = 0;  // the background bitmap covers the client area
      return true;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (!palette) return false;
      *result = message == WM_PALETTECHANGED && reinterpret_cast<HWND>(wParam) == hwnd ? 0 : RealizeIn(hwnd, palette);
      return true;
    default:
      return false;
  }
}

RECT CentredRect(int width, int height) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return {x, y, x + width, y + height};
}

}  // namespace kro::toolkit
