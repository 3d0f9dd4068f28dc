#include "app/media/GalleryFrame_win.h"

#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::media {
namespace {

constexpr int kTitleBar = 20;
constexpr int kWidth = 530, kHeight = 340;

// The open gallery's three bitmaps, loaded on first use and kept until its window goes:
// the title bar alone is drawn five times while the window opens and activates.
struct Art {
  const GalleryLook* look = nullptr;
  UniqueBitmap activeBar, inactiveBar, background;
};

Art gArt;

HBITMAP Loaded(UniqueBitmap& bitmap, const char* name) {
  if (!bitmap) bitmap.Reset(LoadBitmapA(toolkit::ProgramInstance(), name));
  return bitmap.Get();
}

Art& ArtOf(const GalleryLook& look) {
  if (gArt.look != &look) {
    gArt = {};
    gArt.look = &look;
  }
  return gArt;
}

void DrawTitleBar(HWND hwnd, const GalleryLook& look, bool active) {
  if (IsIconic(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  Art& art = ArtOf(look);
  toolkit::DrawBitmapHandle(dc, active ? Loaded(art.activeBar, look.activeBar) : Loaded(art.inactiveBar, look.inactiveBar),
                            0, 0);
  ReleaseDC(hwnd, dc);
}

// The client area takes the whole window but the painted title bar.
LRESULT OnNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  DefWindowProcA(hwnd, WM_NCCALCSIZE, wParam, lParam);
  RECT& client = *reinterpret_cast<RECT*>(lParam);
  const int frameX = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE);
  const int frameY = GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYBORDER);
  client.top += kTitleBar - GetSystemMetrics(SM_CYCAPTION) - frameY;
  client.left -= frameX;
  client.right += frameX;
  client.bottom += frameY;
  return 0;
}

void OnPaint(HWND hwnd, const GalleryLook& look, bool active) {
  DrawTitleBar(hwnd, look, active);
  PaintGuard paint(hwnd);
  Art& art = ArtOf(look);
  toolkit::DrawBitmapHandle(paint.Dc(), Loaded(art.background, look.background), 0, 0);
}

}  // namespace

bool HandleGalleryFrame(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const GalleryLook& look, bool active,
                        LRESULT* result) {
  switch (message) {
    case WM_NCCALCSIZE: *result = OnNcCalcSize(hwnd, wParam, lParam); return true;
    case WM_NCCREATE:
      DrawTitleBar(hwnd, look, active);
      *result = DefWindowProcA(hwnd, message, wParam, lParam);
      return true;
    case WM_NCPAINT: DrawTitleBar(hwnd, look, active); *result = 0; return true;
    case WM_NCACTIVATE: DrawTitleBar(hwnd, look, active); *result = wParam == 0 ? 1 : 0; return true;
    case WM_PAINT: OnPaint(hwnd, look, active); *result = 0; return true;
    case WM_ERASEBKGND: *result = 0; return true;
    case WM_NCDESTROY:
      if (gArt.look == &look) gArt = {};
      return false;
    default: return false;
  }
}

RECT GalleryPlace() {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  return {x, y, x + kWidth, y + kHeight};
}

}  // namespace kro::media
