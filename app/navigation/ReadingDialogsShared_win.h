#pragma once
// What the two reading dialogs share inside the navigation folder.
#include <windows.h>

#include "app/navigation/ReadingDialogs_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/PaintedFrame.h"

namespace kro::navigation::detail {

const ReadingHost& Host();
HWND MainWindow();
// The program palette the dialogs realise, or null.
HPALETTE Palette();

void SetButton(HWND button, bool enabled);
// However a dialog goes, the main window and the dialog keys are given back and its frame freed.
void GiveBack(HWND dialog, toolkit::BackdropFrame& frame);
// WM_ACTIVATE: the dialog keys go to the active dialog; both frames are repainted.
void OnActivate(HWND dialog, WPARAM wParam, HWND defaultButton, HWND cancelButton, toolkit::BackdropFrame& frame);
// A dialog window of `className`, centred on the screen and owned by the main window.
HWND CreateCentredDialog(HINSTANCE instance, const char* className, const char* caption, int width, int height);
// Registers a dialog class of the program (no icon, arrow, white background).
bool RegisterDialogClass(HINSTANCE instance, const char* name, WNDPROC procedure);

}  // namespace kro::navigation::detail
