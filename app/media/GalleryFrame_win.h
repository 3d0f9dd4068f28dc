#pragma once
// The painted frame the galleries share: no system frame, a 20-pixel title bar drawn from
// a bitmap (one for the active window, one for the inactive) and a background bitmap.
#include <windows.h>

namespace kro::media {

struct GalleryLook {
  const char* activeBar;
  const char* inactiveBar;
  const char* background;
};

// Handles WM_NCCALCSIZE, WM_NCCREATE, WM_NCPAINT, WM_NCACTIVATE, WM_PAINT and
// WM_ERASEBKGND; false for any other message. The bitmaps are loaded once per window and
// released at its WM_NCDESTROY (which is still answered false).
bool HandleGalleryFrame(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const GalleryLook& look, bool active,
                        LRESULT* result);

// Where a gallery window goes: 530x340 centred on the screen.
RECT GalleryPlace();

}  // namespace kro::media
