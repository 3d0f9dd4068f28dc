#pragma once
// What the two reading dialogs share inside the navigation folder.
#include <windows.h>

#include "app/navigation/DialogFrame_win.h"
#include "app/navigation/ReadingDialogs_win.h"
#include "app/toolkit/BitmapButton.h"

namespace kro::navigation::detail {

const ReadingHost& Host();
HWND MainWindow();

void SetButton(HWND button, bool enabled);
// However a dialog goes, the main window and the dialog keys are given back and its frame freed.
void GiveBack(HWND dialog, DialogFrame& frame);
// WM_ACTIVATE: the dialog keys go to the active dialog; both frames are repainted.
void OnActivate(HWND dialog, WPARAM wParam, HWND defaultButton, HWND cancelButton, DialogFrame& frame);
// Registers a dialog class of the program (no icon, arrow, white background).
bool RegisterDialogClass(HINSTANCE instance, const char* name, WNDPROC procedure);

}  // namespace kro::navigation::detail
