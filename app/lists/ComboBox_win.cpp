#include "app/lists/ComboBox_win.h"

namespace kro::lists {
namespace {

// The previous procedure lives in a window property, so any number of combo boxes can be
// subclassed and each one's goes with it.
constexpr const char* kPreviousProcedure = "KroComboPrevious";

WNDPROC PreviousProcedure(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetPropA(hwnd, kPreviousProcedure)); }

}  // namespace

bool SubclassComboBox(HWND combo) {
  if (!IsWindow(combo) || PreviousProcedure(combo)) return false;
  const LONG_PTR previous = GetWindowLongPtrA(combo, GWLP_WNDPROC);
  if (!SetPropA(combo, kPreviousProcedure, reinterpret_cast<HANDLE>(previous))) return false;
  SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboBoxProc));
  return true;
}

}  // namespace kro::lists

extern "C" LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = kro::lists::PreviousProcedure(hwnd);
  if (!previous) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // The last message a window gets: the property goes with it.
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kro::lists::kPreviousProcedure);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}
