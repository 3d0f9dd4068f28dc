#include "tests/support/Messages_win.h"

#include <algorithm>

namespace kro::wintest {

int Pump() {
  int n = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++n;
  }
  return n;
}

bool PumpUntil(const std::function<bool()>& done, int maxRounds) {
  for (int round = 0; round < maxRounds; ++round) {
    Pump();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleRoundMs, QS_ALLINPUT);
  }
  Pump();
  return done();
}

void PumpRounds(int rounds) {
  PumpUntil([] { return false; }, rounds);
}

bool WaitUntil(const std::function<bool()>& done, int maxPolls, HANDLE process) {
  for (int poll = 0; poll < maxPolls; ++poll) {
    if (done()) return true;
    if (WaitForSingleObject(process, kIdleRoundMs) == WAIT_OBJECT_0) break;
  }
  return done();
}

namespace {
void CALLBACK QuitTimer(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }
}  // namespace

void ShowFor(UINT milliseconds) {
  const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, QuitTimer);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  KillTimer(nullptr, timer);
}

bool RegisterTestClass(const char* name, WNDPROC procedure, HBRUSH background, UINT style) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::ostream& operator<<(std::ostream& out, const Message& m) {
  return out << "{" << m.message << ", " << m.wParam << ", " << m.lParam << "}";
}

void PressKey(HWND window, WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 1); }

void Click(HWND window, POINT point) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_MOUSEMOVE, 0, at);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  GetKeyboardState(saved_);
  BYTE state[256];
  std::copy(std::begin(saved_), std::end(saved_), state);
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(saved_); }

namespace {

struct WindowSearch {
  DWORD processId;  // 0: any
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if ((search.processId && owner != search.processId) || lstrcmpiA(name, search.className) != 0 ||
      !IsWindowVisible(hwnd))
    return TRUE;
  search.found = hwnd;
  return FALSE;
}

}  // namespace

void SendMouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

HWND ProcessWindow(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Descendant(HWND parent, const char* className) {
  WindowSearch search{0, className, nullptr};
  EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace kro::wintest
