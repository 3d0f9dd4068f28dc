#pragma once
// The contents dialog (class IndexDialog): the alphabetical list of every article in a
// virtual list box over the word wheel, a prefix field that jumps to the first entry with
// the typed start, the category list and the "107" box that narrow the list. Choosing an
// entry shows its article in the main article window.
#include <windows.h>

namespace kro::navigation {

constexpr const char* kContentsDialogClass = "IndexDialog";

enum ContentsControl : int {
  kContentsOpen = 1,
  kContentsClose = 2,
  kContentsPrefix = 300,
  kContentsList = 301,
  kContentsBox = 302,
  kContentsReset = 4009,
};

LRESULT CALLBACK ContentsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog over the main window (one at a time); answers it, 0 when it failed.
HWND OpenContentsDialog();
HWND ContentsDialog();

}  // namespace kro::navigation
