#include "app/toolkit/PaintedFrame.h"

#include "app/toolkit/BitmapDrawing.h"

namespace kro::toolkit {
namespace {

// The client rectangle grows over the system frame and up to the painted bar.
void WidenClient(RECT& client) {
  const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
  const int frameWidth = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE);
  const int frameHeight = GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYBORDER);
  client.top += kTitleBarHeight - captionHeight - frameHeight;
  client.left -= frameWidth;
  client.right += frameWidth;
  client.bottom += frameHeight;
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
    case WM_NCCALCSIZE:
      DefWindowProcA(hwnd, message, wParam, lParam);
      WidenClient(*reinterpret_cast<RECT*>(lParam));
      *result = 0;
      break;
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

}  // namespace kro::toolkit
