#pragma once
// Inside the article folder: the pane's window words, the process-wide popup and drag
// state, and the hooks between the pane procedure, the popups and the topic windows.
#include <windows.h>

#include "app/article/Pane_win.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::article {

struct TopicRecord;
class ArticleHost;

// Pane window words, one LONG_PTR each (20 bytes on i686).
enum class PaneWord : int { kDisplay = 0, kKind, kParent, kCallback, kFlags, kCount };
bool IsPane(HWND window);
LONG_PTR GetPaneWord(HWND pane, PaneWord word);
void SetPaneWord(HWND pane, PaneWord word, LONG_PTR value);
HWND PaneParent(HWND pane);
HotspotCallback PaneCallback(HWND pane);
int PaneFlagsOf(HWND pane);

struct PaneState {
  HWND reusablePopup = nullptr;  // the one popup pane, reused by the next popup
  HWND captureHolder = nullptr;  // the popup while it holds the mouse capture
  HWND focusAfterPopups = nullptr;
  bool dragging = false;
  HWND captureBeforeDrag = nullptr;
  bool highlightsApplied = false;  // cleared to re-apply the search highlights at the next paint
  UniqueHook popupHook;
};
PaneState& Panes();

ArticleHost* Host();
// The topic record of a pane's topic window, null for a popup or a detached pane.
TopicRecord* RecordOfPane(HWND pane);

// Popups: the hook's lifetime, and a click while a popup holds the capture. RouteClick
// answers true when the click was consumed elsewhere.
void OnPopupCreated();
void OnPopupDestroyed();
bool RouteClick(HWND pane, WPARAM keys, POINT point);

// The pane's own handlers, shared with the topic window and the popup routing.
void PaneKeyDown(HWND pane, WPARAM key);
void PaneLButtonDown(HWND pane, WPARAM keys, POINT point);

// Copies a display's selection (else `heading`'s) to the clipboard; true when copied.
bool CopyDisplaySelection(LPMV display, LPMV heading);

}  // namespace kro::article
