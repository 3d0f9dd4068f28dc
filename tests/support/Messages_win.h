#pragma once
// Message pumps, window classes and input for the Wine-hosted tests. Waits are counted in
// rounds of the message loop, never measured in milliseconds: a test says how much work it
// allows, and a slow or loaded machine only makes the rounds longer.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <ostream>

namespace kro::wintest {

// Dispatches every message queued now (translating keys); answers how many there were.
int Pump();
// Rounds of dispatching what is queued and testing `done`, each round waiting for the next
// message; answers whether `done` held within `maxRounds`. A round with nothing to do
// waits kIdleRoundMs at the most, so a condition that never comes ends the wait.
inline constexpr DWORD kIdleRoundMs = 10;
bool PumpUntil(const std::function<bool()>& done, int maxRounds);
// Just the rounds: for checks that nothing happens while the loop runs.
void PumpRounds(int rounds);
// Polls `done` up to `maxPolls` times, waiting on `process` between polls (at most
// kIdleRoundMs each); stops early once the process has ended. For waits on another program.
bool WaitUntil(const std::function<bool()>& done, int maxPolls, HANDLE process);
// Runs the message loop for `milliseconds` so that a person can look at the screen; no
// test result may depend on it.
void ShowFor(UINT milliseconds);

// Registers a class of this module once per process (a second call is a no-op), with the
// arrow cursor.
bool RegisterTestClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr, UINT style = 0);

// A message as a window received it, for recording procedures.
struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Message&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Message& m);

// Input a user's hand would give, sent straight to the window.
void PressKey(HWND window, WPARAM key);
void Click(HWND window, POINT point);  // move, down, up at a client point
// The mouse as a user's hand moves it, through the system's input queue: a move to the
// absolute screen point with the button `flags` (MOUSEEVENTF_LEFTDOWN ..., or 0).
void SendMouse(DWORD flags, POINT at);

// A visible top-level window of the class (any case) that belongs to the process.
HWND ProcessWindow(DWORD processId, const char* className);
// The first visible child of `parent`, at any depth, of the class.
HWND Descendant(HWND parent, const char* className);
// Keys seen as held by GetKeyState while alive.
class HeldKeys {
public:
  explicit HeldKeys(std::initializer_list<int> keys);
  ~HeldKeys();
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

private:
  BYTE saved_[256];
};

}  // namespace kro::wintest
