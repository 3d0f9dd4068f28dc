#pragma once
// What the contents, search and results dialogs share: the program's settings they work
// with (set by the main window), and their frame: a 20-pixel caption strip drawn from
// bitmaps in place of the system caption, a background bitmap over the client area, the
// program palette, and the repaint of both frames when a dialog is (de)activated.
#include <windows.h>

#include <functional>
#include <string>

#include "app/toolkit/PaintedFrame.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::navigation {

struct FinderContext {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HMVTITLE title = nullptr;
  HMVWORDWHEEL wordWheel = nullptr;  // the title's "|a", 0 when it did not open
  LPMV indexDisplay = nullptr;       // scratch display that turns addresses into topic numbers
  HFONT listFont = nullptr;          // may be 0
  HBRUSH whiteBrush = nullptr;
  std::string productDir;  // ends in a backslash
  std::string workingDir;  // never ends in a backslash
  bool paletteMode = false;
  HWND* resultsDialog = nullptr;  // the program's handle of the open results dialog
  std::function<void()> recordHistory;       // the main article's position, before a step
  std::function<void(bool)> resultsButton;   // enables the main window's results button
};
void SetFinderContext(FinderContext context);
const FinderContext& Finder();

class SearchFrame {
public:
  SearchFrame(const char* activeCaption, const char* inactiveCaption, const char* background)
      : activeCaption_(activeCaption), inactiveCaption_(inactiveCaption), background_(background) {}
  // The frame's share of a dialog's messages (its bitmaps live from WM_NCCREATE to
  // WM_NCDESTROY); false when the message is not one of them.
  bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Marks the caption (in)active and repaints the frames of the dialog and the main window.
  void Activate(HWND hwnd, bool active);

private:
  const char* activeCaption_;
  const char* inactiveCaption_;
  const char* background_;
  toolkit::BackdropFrame frame_;
};

// True when WM_ACTIVATE's wParam makes the window active.
inline bool Activating(WPARAM wParam) { return LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE; }

}  // namespace kro::navigation
