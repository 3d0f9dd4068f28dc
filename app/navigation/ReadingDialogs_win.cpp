#include "app/navigation/ReadingDialogsShared_win.h"

#include "app/shell/DialogKeys_win.h"

namespace kro::navigation {
namespace {

ReadingHost gHost;

}  // namespace

void SetReadingHost(const ReadingHost& host) { gHost = host; }

HistoryEntry BookmarkEntry(const Position& position) {
  HistoryEntry entry;
  entry.address = position.address;
  entry.scroll = position.scroll;
  entry.named = position.name ? 1 : 0;
  entry.nameOrNumber = position.name ? 0 : position.topicNumber;
  return entry;
}

namespace detail {

const ReadingHost& Host() { return gHost; }
HWND MainWindow() { return gHost.mainWindow ? gHost.mainWindow() : nullptr; }
HPALETTE Palette() { return gHost.palette ? gHost.palette() : nullptr; }

void SetButton(HWND button, bool enabled) { SendMessageA(button, BM_SETSTATE, enabled ? 1 : 0, 0); }

void GiveBack(HWND dialog, toolkit::BackdropFrame& frame) {
  EnableWindow(MainWindow(), TRUE);
  if (shell::RegisteredDialog() == dialog) shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  frame.Release();
}

void OnActivate(HWND dialog, WPARAM wParam, HWND defaultButton, HWND cancelButton, toolkit::BackdropFrame& frame) {
  const bool active = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
  if (active) shell::RegisterDialogKeys(dialog, defaultButton, cancelButton);
  else shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  frame.SetActive(active);
  SendMessageA(dialog, WM_NCPAINT, 1, 0);
  if (HWND main = MainWindow()) SendMessageA(main, WM_NCPAINT, 1, 0);
}

HWND CreateCentredDialog(HINSTANCE instance, const char* className, const char* caption, int width, int height) {
  const RECT place = toolkit::CentredRect(width, height);
  return CreateWindowExA(0, className, caption, WS_POPUP | WS_VISIBLE | WS_CAPTION, place.left, place.top, width, height,
                         MainWindow(), nullptr, instance, nullptr);
}

bool RegisterDialogClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

}  // namespace detail
}  // namespace kro::navigation
