#pragma once
// Panes (class MV13PaneClass): one region of a topic shown through one title-runtime
// display, with scroll-bar fitting, scrolling, painting, the hotspot cursor, selection by
// mouse and keys, hotspot activation, and the popup topics that open above an article.
#include <windows.h>

#include "runtime/mediaview/MediaView.h"

namespace kro::article {

using HotspotCallback = LONG(CALLBACK*)(LPMV display, LPMVHOTSPOTINFO hotspot);

inline constexpr char kPaneClass[] = "MV13PaneClass";

enum PaneKind : int {
  kHeadingPane = 0,  // the non-scrolling region
  kBodyPane = 1,     // the scrolling region
  kPopupPane = 2001,
};

enum PaneFlags : int {
  kKeepLayoutOnSize = 2,  // WM_SIZE does not lay the display out again
  kNoSelection = 4,       // a click never starts a selection
};

// Messages a pane sends.
enum : UINT {
  kPaneClicked = WM_USER + 2000,          // to its topic window, lParam = the pane
  kQueryEmbeddedPalette = 0x706C,         // to each embedded window of a popup: its palette
};
enum : int { kNextArticleCommand = 119, kPreviousArticleCommand = 120 };  // WM_COMMAND to the main window

bool RegisterPaneClass(HINSTANCE instance);

// A hidden child pane with its own display on `title`; 0 when the window or the display
// cannot be made. `callback` 0 means the standard hotspot handler.
HWND CreatePane(HWND parent, HINSTANCE instance, HMVTITLE title, int kind, int flags, HotspotCallback callback);
// Frees the display's highlight list, deletes the display and destroys the window.
void DestroyPane(HWND pane);

LPMV PaneDisplay(HWND pane);
int PaneKindOf(HWND pane);

// Sets the address into the pane's region (a popup falls back to the heading); 0 or the
// runtime's error value.
int PaneJump(HWND pane, LONG address, LONG scroll);
// Lays the display out in `rect` (or the client area); a body pane fits its scroll bars.
void RealizePane(HWND pane, RECT* rect);

// Popup topics. Mode 1: the natural size, centred on the screen; mode 2: a black window
// over the whole screen with the topic centred. Answer 1 when the popup opened.
int ShowPopupTopic(LPMV source, const RECT& hotspot, LONG address, int mode);
int ShowPopupByContextString(const char* context, int mode);
// Closes the open popup; answers the pane it was opened from (or `window` when none was open).
HWND ClosePopups(HWND window);
// The window that gets the focus when the popups next close.
void SetPopupFocusWindow(HWND window);
// The popup pane on screen, 0 when none.
HWND OpenPopup();
// False from a full-screen popup until the next paint of an article pane: the search
// highlights stay off the main article meanwhile.
bool FirstPaintDone();

LONG CALLBACK StandardHotspotHandler(LPMV display, LPMVHOTSPOTINFO hotspot);

}  // namespace kro::article

// Thread message hook while a popup is open: Esc typed in a window inside the popup
// closes it. Exported by name.
extern "C" __declspec(dllexport) LRESULT CALLBACK PopupChildHookProc(int code, WPARAM wParam, LPARAM lParam);
