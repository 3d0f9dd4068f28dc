#pragma once
// The frame the navigation dialogs share: a 20-pixel caption strip of bitmaps (an active
// and an inactive one) instead of the system caption, over a background bitmap that fills
// the client area, and the program palette on a palette display.
#include <windows.h>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::navigation {

class DialogFrame {
public:
  // Bitmap resources of `instance`; a missing one draws nothing.
  void Load(HINSTANCE instance, const char* activeCaption, const char* inactiveCaption, const char* background);
  void Release();
  void SetActive(bool active) { active_ = active; }
  // Handles the frame's messages (non-client area, painting, erasing, palette); false for
  // the others. `palette` may be null.
  bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HPALETTE palette, LRESULT* result);

private:
  void DrawCaption(HWND hwnd) const;
  void Paint(HWND hwnd) const;

  UniqueBitmap activeCaption_, inactiveCaption_, background_;
  bool active_ = false;
};

// A dialog window of `className`, centred on the screen and owned by `owner`.
HWND CreateCentredDialog(HINSTANCE instance, const char* className, const char* caption, int width, int height,
                         HWND owner);

}  // namespace kro::navigation
