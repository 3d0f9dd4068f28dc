#pragma once
// The combo boxes of the dialogs are subclassed with the exported ComboBoxProc, which
// hands every message on unchanged to the procedure the combo box had before.
#include <windows.h>

namespace kro::lists {

// Installs ComboBoxProc on `combo`, keeping its previous procedure with the window; false
// when the combo box is not a window or is subclassed already.
bool SubclassComboBox(HWND combo);

}  // namespace kro::lists

extern "C" __declspec(dllexport) LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
