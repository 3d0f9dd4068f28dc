#pragma once
// Dialog keys for the programs' pop-up dialogs, which are plain windows rather than dialog
// boxes: one thread message hook gives the registered dialog Enter (default button), Esc
// (cancel button) and F9 (export of the results list), and routes keyboard-layout
// switches typed in edit fields to the dialog that owns the field. Also the message pump
// and stop flag that the title runtime calls during long operations.
#include <windows.h>

namespace kro::shell {

// WM_USER+943: asks the search-results dialog to export its list as text.
constexpr UINT kMsgExportResults = WM_USER + 943;

// Stores the dialog whose keys are handled; RegisterDialogKeys(0, 0, 0) releases.
void RegisterDialogKeys(HWND dialog, HWND defaultButton, HWND cancelButton);
HWND RegisteredDialog();

struct DialogKeysOptions {
  // Off in the archive program, which has neither edit fields nor a results list.
  bool routeLanguageSwitch = true;
  // The search-results dialog, or null when the program has none; F9 goes to it.
  HWND (*resultsDialog)() = nullptr;
  // Whether keys of the dialog's great-grandchildren count only while the dialog is
  // enabled (player's search combo box); the archive program counts them always.
  bool greatGrandchildNeedsEnabled = true;
};

// Clears the registration and installs the hook for the calling thread.
bool InstallDialogKeys(HINSTANCE instance, const DialogKeysOptions& options);
void RemoveDialogKeys();

// The stop flag of the running title operation (set by the search dialog's stop button).
void SetStopFlag(long value);
long StopFlag();

// Dispatches every waiting message, then answers the stop flag: non-zero stops the
// title operation that called it.
long PumpMessages();

}  // namespace kro::shell
