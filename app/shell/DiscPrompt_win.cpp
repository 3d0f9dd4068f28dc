#include "app/shell/DiscPrompt_win.h"

#include "app/shell/Cursors_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::shell {
namespace {

constexpr int kPromptWidth = 250, kPromptHeight = 150;
constexpr UINT kDeviceArrival = 0x8000, kDeviceRemoveComplete = 0x8004;

int gPromptMode = 1;
bool gDiscPresent = true;
HWND gFocusBefore = nullptr;

// The buttons of the one prompt that can be open; the records outlive the windows.
toolkit::BitmapButtonRecord gPromptButtons[3];

void CreatePromptButtons(HWND dialog) {
  gPromptButtons[0] = {};
  gPromptButtons[0].active = toolkit::kCreateButton;
  gPromptButtons[0].command = IDCANCEL;
  gPromptButtons[0].pressedName = "no_off";
  gPromptButtons[0].normalName = "no_on";
  gPromptButtons[0].disabledName = "no_on";
  gPromptButtons[0].cursor = Cursors().handE;
  gPromptButtons[0].left = 130;
  gPromptButtons[0].top = 105;
  gPromptButtons[1] = gPromptButtons[0];
  gPromptButtons[1].command = IDOK;
  gPromptButtons[1].pressedName = "yes_off";
  gPromptButtons[1].normalName = "yes_on";
  gPromptButtons[1].disabledName = "yes_on";
  gPromptButtons[1].left = 40;
  gPromptButtons[2] = {};
  toolkit::CreateBitmapButtons(dialog, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                               gPromptButtons, true);
}

void CentreOnDesktop(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OnInitDialog(HWND dialog) {
  gFocusBefore = GetFocus();
  SetWindowPos(dialog, nullptr, 0, 0, kPromptWidth, kPromptHeight, SWP_NOZORDER);
  CreatePromptButtons(dialog);
  CentreOnDesktop(dialog);
  SetFocus(dialog);
  if (!gDiscPresent) EnableWindow(dialog, FALSE);
}

void OnPaint(HWND dialog) {
  PaintGuard paint(dialog);
  toolkit::DrawBitmapResource(paint.Dc(), gPromptMode == 2 ? "instal_1" : "instal_2", 0, 0);
}

void OnDeviceChange(HWND dialog, WPARAM event) {
  if (event == kDeviceRemoveComplete) gDiscPresent = false;
  if (event == kDeviceArrival) gDiscPresent = true;
  if (event == kDeviceRemoveComplete || event == kDeviceArrival) EnableWindow(dialog, gDiscPresent);
}

}  // namespace

void SetPromptMode(int mode) { gPromptMode = mode; }

INT_PTR CALLBACK DiscPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_PAINT: OnPaint(dialog); return TRUE;
    case WM_COMMAND:
      if (!IsWindowEnabled(dialog)) return TRUE;
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_DEVICECHANGE: OnDeviceChange(dialog, wParam); return TRUE;
    case WM_DESTROY:
      if (gFocusBefore) SetFocus(gFocusBefore);
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace kro::shell
