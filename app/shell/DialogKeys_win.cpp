#include "app/shell/DialogKeys_win.h"

#include <cstring>

namespace kro::shell {
namespace {

struct Registration {
  HWND dialog = nullptr;
  HWND defaultButton = nullptr;
  HWND cancelButton = nullptr;
};

Registration gRegistration;
DialogKeysOptions gOptions;
HHOOK gHook = nullptr;
long gStopFlag = 0;

bool HasClass(HWND hwnd, const char* name) {
  char buffer[32] = {};
  return hwnd && GetClassNameA(hwnd, buffer, sizeof buffer) > 0 && lstrcmpiA(buffer, name) == 0;
}

// A layout switch typed in an edit field changes the layout of the dialog that owns the
// field (the combo box's parent for the edit inside a combo box); the caret stays put.
void RouteLanguageSwitch(const MSG& msg) {
  HWND target = GetParent(msg.hwnd);
  if (HasClass(target, "combobox")) target = GetParent(target);
  if (!target) return;
  SetFocus(target);
  SendMessageA(target, msg.message, msg.wParam, msg.lParam);
  SetFocus(msg.hwnd);
}

// The dialog's own messages: the dialog, its children and grandchildren, and its
// great-grandchildren (an edit inside a combo box inside a group) while it is enabled.
bool BelongsToDialog(HWND hwnd) {
  const HWND dialog = gRegistration.dialog;
  if (!hwnd || !dialog) return false;
  if (hwnd == dialog) return true;
  const HWND parent = GetParent(hwnd);
  if (parent == dialog) return true;
  const HWND grandparent = parent ? GetParent(parent) : nullptr;
  if (grandparent == dialog) return true;
  const HWND greatGrandparent = grandparent ? GetParent(grandparent) : nullptr;
  return greatGrandparent == dialog && (!gOptions.greatGrandchildNeedsEnabled || IsWindowEnabled(dialog));
}

// A null target would turn these into thread messages; with no button nothing happens.
void PostClick(HWND button) {
  if (!button) return;
  PostMessageA(button, WM_LBUTTONDOWN, 0, 0);
  PostMessageA(button, WM_LBUTTONUP, 0, 0);
}

void HandleDialogKey(MSG& msg) {
  switch (msg.wParam) {
    case VK_ESCAPE:
      PostClick(gRegistration.cancelButton);
      break;
    case VK_RETURN:
      // Neutralised so the focused control never sees the Enter it would act on itself.
      msg.message = 0;
      msg.wParam = 0;
      msg.lParam = 0;
      msg.hwnd = gRegistration.dialog;
      PostClick(gRegistration.defaultButton);
      break;
    case VK_F9:
      if (const HWND results = gOptions.resultsDialog ? gOptions.resultsDialog() : nullptr)
        PostMessageA(results, kMsgExportResults, 0, 0);
      break;
    default:
      break;
  }
}

// The hook also sees messages that PeekMessage only looks at (the message pump peeks
// before it takes): acting on those as well would press a button twice for one key.
LRESULT CALLBACK DialogKeysProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (msg.message == WM_INPUTLANGCHANGEREQUEST && gOptions.routeLanguageSwitch && HasClass(msg.hwnd, "edit")) {
      RouteLanguageSwitch(msg);
    } else if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && BelongsToDialog(msg.hwnd)) {
      HandleDialogKey(msg);
    }
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

}  // namespace

void RegisterDialogKeys(HWND dialog, HWND defaultButton, HWND cancelButton) {
  gRegistration = {dialog, defaultButton, cancelButton};
}

HWND RegisteredDialog() { return gRegistration.dialog; }

bool InstallDialogKeys(HINSTANCE instance, const DialogKeysOptions& options) {
  gRegistration = {};
  gOptions = options;
  if (!gHook) gHook = SetWindowsHookExA(WH_GETMESSAGE, DialogKeysProc, instance, GetCurrentThreadId());
  return gHook != nullptr;
}

void RemoveDialogKeys() {
  if (gHook) UnhookWindowsHookEx(gHook);
  gHook = nullptr;
  gRegistration = {};
}

void SetStopFlag(long value) { gStopFlag = value; }
long StopFlag() { return gStopFlag; }

long PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    // WM_QUIT stays queued for the main loop, which ends the program after the operation.
    if (msg.message == WM_QUIT || GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return gStopFlag;
}

}  // namespace kro::shell
