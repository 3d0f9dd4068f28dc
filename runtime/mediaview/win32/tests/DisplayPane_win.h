#pragma once
// The simplest pane: a window that paints the display kept in its user data.
#include "runtime/mediaview/MediaView.h"

namespace kro::wintest {

inline LRESULT CALLBACK DisplayPaneProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  LONG err = 0;
  fMVApplyToDC(reinterpret_cast<LPMV>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)), dc, &ps.rcPaint, &err);
  EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace kro::wintest
