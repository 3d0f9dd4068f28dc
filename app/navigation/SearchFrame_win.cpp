#include "app/navigation/SearchFrame_win.h"

#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/Palette.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::navigation {
namespace {

constexpr int kCaptionStrip = 20;
FinderContext gFinder;

}  // namespace

void SetFinderContext(FinderContext context) { gFinder = std::move(context); }
const FinderContext& Finder() { return gFinder; }

RECT CentredRect(int width, int height) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return {x, y, x + width, y + height};
}

void SearchFrame::DrawCaption(HWND hwnd) const {
  if (IsIconic(hwnd)) return;
  const HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  toolkit::DrawBitmapResource(dc, active_ ? activeCaption_ : inactiveCaption_, 0, 0);
  ReleaseDC(hwnd, dc);
}

void SearchFrame::Paint(HWND hwnd) const {
  PaintGuard paint(hwnd);
  DrawCaption(hwnd);
  toolkit::DrawBitmapResource(paint.Dc(), background_, 0, 0);
}

LRESULT SearchFrame::RealizePalette(HWND hwnd) const {
  const HPALETTE palette = toolkit::ProgramPalette();
  if (!gFinder.paletteMode || !palette) return 0;
  WindowDc dc(hwnd);
  PaletteGuard select(dc.Get(), palette, false);
  const UINT changed = ::RealizePalette(dc.Get());
  if (changed) InvalidateRect(hwnd, nullptr, TRUE);
  return changed;
}

void SearchFrame::Activate(HWND hwnd, bool active) {
  active_ = active;
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  if (gFinder.mainWindow) SendMessageA(gFinder.mainWindow, WM_NCPAINT, 1, 0);
}

bool SearchFrame::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_NCCALCSIZE: {
      // The first rectangle is the window's on the way in and the client area on the way
      // out; only the 20-pixel strip stays outside it. Taking it from the window itself
      // holds whatever border the system draws for a captioned pop-up.
      RECT& rect = *reinterpret_cast<RECT*>(lParam);
      const RECT window = rect;
      *result = DefWindowProcA(hwnd, message, wParam, lParam);
      if (IsIconic(hwnd)) return true;
      rect = {window.left, window.top + kCaptionStrip, window.right, window.bottom};
      *result = 0;
      return true;
    }
    case WM_NCCREATE:
      DefWindowProcA(hwnd, message, wParam, lParam);  // keeps the window text
      DrawCaption(hwnd);
      *result = 1;
      return true;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      if (IsIconic(hwnd)) {
        *result = DefWindowProcA(hwnd, message, wParam, lParam);
        return true;
      }
      DrawCaption(hwnd);
      *result = message == WM_NCPAINT ? 0 : !wParam;
      return true;
    case WM_PAINT:
      Paint(hwnd);
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      *result = 0;  // the background bitmap covers the client area
      return true;
    case WM_QUERYNEWPALETTE:
      *result = RealizePalette(hwnd);
      return true;
    case WM_PALETTECHANGED:
      *result = reinterpret_cast<HWND>(wParam) == hwnd ? 0 : RealizePalette(hwnd);
      return true;
    default:
      return false;
  }
}

}  // namespace kro::navigation
