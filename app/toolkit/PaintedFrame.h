#pragma once
// The frame of the programs' own top-level windows: no system frame or caption shows, and
// a 20-pixel title-bar bitmap is drawn into the window DC instead, the active or the
// inactive one as the window's activation says.
#include <windows.h>

#include "runtime/base/UniqueHandle_win.h"

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

// The frame of the dialogs and galleries: the painted title bar over a background bitmap
// that fills the client area, realised in the program's palette on a palette display.
class BackdropFrame {
public:
  // Bitmap resources of `instance`; a missing one draws nothing.
  void Load(HINSTANCE instance, const char* activeBar, const char* inactiveBar, const char* background);
  void Release();
  void SetActive(bool active) { bar_.isActive = active; }
  // The frame's messages (non-client area, painting, erasing, and the palette messages
  // while `palette` is not null); false for the others.
  bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HPALETTE palette, LRESULT* result);

private:
  UniqueBitmap activeBar_, inactiveBar_, background_;
  PaintedFrame bar_;  // borrows the two bars
};

// Window rectangle of a `width` x `height` window centred on the screen.
RECT CentredRect(int width, int height);

}  // namespace kro::toolkit
