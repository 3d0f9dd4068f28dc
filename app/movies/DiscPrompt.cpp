#include "app/movies/DiscPrompt.h"

#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::movies {
namespace {

constexpr int kPromptWidth = 250, kPromptHeight = 150;
constexpr UINT kDeviceArrival = 0x8000, kDeviceRemoveComplete = 0x8004;

int gPromptMode = kAskForEncyclopedia;
bool gDiscPresent = true;
HCURSOR gCursor = nullptr;
HWND gFocusBefore = nullptr;

// The buttons of the one prompt that can be open; the records outlive the windows.
toolkit::BitmapButtonRecord gPromptButtons[3];

toolkit::BitmapButtonRecord Button(int command, const char* pressed, const char* normal, int left) {
  toolkit::BitmapButtonRecord r;
  r.active = toolkit::kCreateButton;
  r.command = command;
  r.pressedName = pressed;
  r.normalName = normal;
  r.disabledName = normal;
  r.cursor = gCursor;
  r.left = left;
  r.top = 105;
  return r;
}

void CreateButtons(HWND dialog, bool information) {
  if (information) {
    gPromptButtons[0] = Button(IDCANCEL, "yes_off", "yes_on", 100);
    gPromptButtons[1] = {};
  } else {
    gPromptButtons[0] = Button(IDCANCEL, "no_off", "no_on", 130);
    gPromptButtons[1] = Button(IDOK, "yes_off", "yes_on", 40);
  }
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

void OnInitDialog(HWND dialog, bool information) {
  gFocusBefore = GetFocus();
  SetWindowPos(dialog, nullptr, 0, 0, kPromptWidth, kPromptHeight, SWP_NOZORDER);
  CreateButtons(dialog, information);
  CentreOnDesktop(dialog);
  SetFocus(dialog);
  if (!information && !gDiscPresent) EnableWindow(dialog, FALSE);
}

void OnPaint(HWND dialog, const char* picture) {
  PaintGuard paint(dialog);
  toolkit::DrawBitmapResource(paint.Dc(), picture, 0, 0);
}

void RestoreFocus() {
  if (gFocusBefore && IsWindow(gFocusBefore)) SetFocus(gFocusBefore);
}

}  // namespace

void SetPromptMode(int mode) { gPromptMode = mode; }
int PromptMode() { return gPromptMode; }
bool DiscPresentFlag() { return gDiscPresent; }
void SetDiscPresentFlag(bool present) { gDiscPresent = present; }
void SetPromptCursor(HCURSOR cursor) { gCursor = cursor; }

bool NoteDeviceChange(WPARAM event) {
  if (event != kDeviceRemoveComplete && event != kDeviceArrival) return false;
  gDiscPresent = event == kDeviceArrival;
  return true;
}

INT_PTR CALLBACK DiscPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, false); return FALSE;
    case WM_PAINT: OnPaint(dialog, gPromptMode == kAskForEncyclopedia ? "instal_2" : "instal_1"); return TRUE;
    case WM_KEYUP:
      if (gPromptMode == kArchiveStartUp && (wParam == VK_ESCAPE || wParam == VK_RETURN))
        EndDialog(dialog, wParam == VK_RETURN ? 1 : 0);
      return TRUE;
    case WM_COMMAND:
      if (!IsWindowEnabled(dialog)) return TRUE;
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_DEVICECHANGE:
      if (gPromptMode != kArchiveStartUp && NoteDeviceChange(wParam)) EnableWindow(dialog, gDiscPresent);
      return TRUE;
    case WM_DESTROY: RestoreFocus(); return FALSE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK DiscInformationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, true); return FALSE;
    case WM_PAINT: OnPaint(dialog, "instal_3"); return TRUE;
    case WM_KEYUP:
      if (wParam == VK_ESCAPE || wParam == VK_RETURN) EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY: RestoreFocus(); return FALSE;
    default: return FALSE;
  }
}

}  // namespace kro::movies
