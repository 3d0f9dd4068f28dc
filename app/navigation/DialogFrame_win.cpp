#include "app/navigation/DialogFrame_win.h"

#include "app/toolkit/BitmapDrawing.h"

namespace kro::navigation {
namespace {

constexpr int kCaptionStrip = 20;

// Only the caption strip stays outside the client area: the system caption and the
// borders are given back to it.
LRESULT OnNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(hwnd, WM_NCCALCSIZE, wParam, lParam);
  RECT& client = *reinterpret_cast<RECT*>(lParam);
  const int frameX = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE);
  const int frameY = GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYBORDER);
  client.top += kCaptionStrip - GetSystemMetrics(SM_CYCAPTION) - frameY;
  client.left -= frameX;
  client.right += frameX;
  client.bottom += frameY;
  return 0;
}

LRESULT RealizePalette(HWND hwnd, HPALETTE palette) {
  WindowDc dc(hwnd);
  PaletteGuard select(dc.Get(), palette, false);
  const UINT changed = ::RealizePalette(dc.Get());
  if (changed) InvalidateRect(hwnd, nullptr, FALSE);
  return changed;
}

}  // namespace

void DialogFrame::Load(HINSTANCE instance, const char* activeCaption, const char* inactiveCaption,
                       const char* background) {
  activeCaption_.Reset(LoadBitmapA(instance, activeCaption));
  inactiveCaption_.Reset(LoadBitmapA(instance, inactiveCaption));
  background_.Reset(LoadBitmapA(instance, background));
}

void DialogFrame::Release() {
  activeCaption_.Reset();
  inactiveCaption_.Reset();
  background_.Reset();
}

void DialogFrame::DrawCaption(HWND hwnd) const {
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  toolkit::DrawBitmapHandle(dc, (active_ ? activeCaption_ : inactiveCaption_).Get(), 0, 0);
  ReleaseDC(hwnd, dc);
}

void DialogFrame::Paint(HWND hwnd) const {
  DrawCaption(hwnd);
  PaintGuard paint(hwnd);
  toolkit::DrawBitmapHandle(paint.Dc(), background_.Get(), 0, 0);
}

bool DialogFrame::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HPALETTE palette, LRESULT* result) {
  const bool iconic = IsIconic(hwnd);
  switch (message) {
    case WM_NCCALCSIZE:
      *result = iconic ? DefWindowProcA(hwnd, message, wParam, lParam) : OnNcCalcSize(hwnd, wParam, lParam);
      return true;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      DrawCaption(hwnd);
      *result = message == WM_NCPAINT ? 0 : !wParam;
      return true;
    case WM_PAINT:
      Paint(hwnd);
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      *result = 0;
      return true;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (!palette || (message == WM_PALETTECHANGED && reinterpret_cast<HWND>(wParam) == hwnd)) return false;
      *result = RealizePalette(hwnd, palette);
      return true;
    default:
      return false;
  }
}

HWND CreateCentredDialog(HINSTANCE instance, const char* className, const char* caption, int width, int height,
                         HWND owner) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExA(0, className, caption, WS_POPUP | WS_VISIBLE | WS_CAPTION, x, y, width, height, owner, nullptr,
                         instance, nullptr);
}

}  // namespace kro::navigation
