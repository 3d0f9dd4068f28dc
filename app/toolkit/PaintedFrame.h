#pragma once
// The frame of the programs' own top-level windows: no system frame or caption shows, and
// a 20-pixel title-bar bitmap is drawn into the window DC instead, the active or the
// inactive one as the window's activation says.
#include <windows.h>

namespace kro::toolkit {

constexpr int kTitleBarHeight = 20;

struct PaintedFrame {
  HBITMAP active = nullptr;    // borrowed; the window owns its bitmaps
  HBITMAP inactive = nullptr;
  bool isActive = false;
};

// Draws the title bar at 0, 0 of the window, unless it is minimised.
void DrawTitleBar(HWND hwnd, const PaintedFrame& frame);

// WM_NCCALCSIZE, WM_NCCREATE, WM_NCPAINT and WM_NCACTIVATE of such a window; false for
// other messages. A minimised window gets the default handling.
bool HandleFrameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const PaintedFrame& frame,
                        LRESULT* result);

}  // namespace kro::toolkit
