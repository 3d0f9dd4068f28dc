#include "tests/random/Input_win.h"

#include "tests/support/Messages_win.h"

namespace kro::randominput {

using wintest::SendMouse;

void ClickAt(POINT at, bool twice) {
  SendMouse(0, at);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, at);
    SendMouse(MOUSEEVENTF_LEFTUP, at);
  }
}

// Posted, not sent: the keys then pass the program's GetMessage loop, where its message
// hooks, dialog keys and accelerators look at typing. The key data carries the scan code,
// the repeat count 1 and, for the release, the previous-state and transition bits; Alt is
// the context bit 29 of WM_SYSKEYDOWN, which the default procedure reads for Alt+F4.
void PostKeyStroke(HWND target, WORD virtualKey, bool alt) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM down = 1 | scan | (alt ? 1 << 29 : 0);
  const LPARAM up = down | static_cast<LPARAM>(3u << 30);
  PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, down);
  PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, up);
}

void PostCharacter(HWND target, char character) { PostMessageA(target, WM_CHAR, static_cast<BYTE>(character), 1); }

}  // namespace kro::randominput
