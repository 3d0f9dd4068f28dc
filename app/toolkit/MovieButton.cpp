#include "app/toolkit/MovieButton.h"

#include <cstdio>

#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {
namespace {

// Window extra bytes: the record, then the controller.
constexpr int kRecordSlot = 0;
constexpr int kControllerSlot = sizeof(LONG_PTR);
constexpr UINT_PTR kEndTimer = 5555;
constexpr UINT kEndCheckMs = 5;
constexpr uint32_t kControllerFlags = 9;  // no bar; the movie scaled to its box
constexpr int32_t kRateForward = 65536;

MovieButtonRecord* RecordOf(HWND hwnd) {
  return reinterpret_cast<MovieButtonRecord*>(GetWindowLongPtrA(hwnd, kRecordSlot));
}

ControllerHandle ControllerOf(HWND hwnd) {
  return static_cast<ControllerHandle>(GetWindowLongPtrA(hwnd, kControllerSlot));
}

// The program's main window, which waits while the movie plays.
HWND MainWindowOf(HWND hwnd) { return GetAncestor(hwnd, GA_ROOTOWNER); }

void SetWait(bool wait) { SetCursor(LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW)); }

void OnPlay(HWND hwnd, MovieButtonRecord& record) {
  SetWait(true);
  PrerollMovie(record.movie, 0, kRateForward);
  MCDoAction(ControllerOf(hwnd), qt::kActionPlay, kRateForward);
  EnableWindow(MainWindowOf(hwnd), FALSE);
  SetTimer(hwnd, kEndTimer, kEndCheckMs, nullptr);
  if (record.partner) PostMessageA(record.partner, BM_SETCHECK, 1, 0);
}

void OnEndCheck(HWND hwnd, MovieButtonRecord& record) {
  const bool ended = GetMovieTime(record.movie, nullptr) >= GetMovieDuration(record.movie);
  SetWait(true);
  if (!ended) return;
  KillTimer(hwnd, kEndTimer);
  EnableWindow(MainWindowOf(hwnd), TRUE);
  if (record.partner) PostMessageA(record.partner, BM_SETCHECK, 0, 0);
  PostMessageA(GetParent(hwnd), WM_COMMAND, LOWORD(record.command), 0);
  SetWait(false);
}

void OnReset(HWND hwnd, const MovieButtonRecord& record) {
  const uint32_t point = GetMovieTimePoint(record.movie);
  const qt::TimeRecord time{point, 0, GetMovieTimeScale(record.movie), 0};
  MCDoAction(ControllerOf(hwnd), qt::kActionGoToTime, &time);
  MCDoAction(ControllerOf(hwnd), qt::kActionPlay, 0);
}

void OnNcDestroy(HWND hwnd, MovieButtonRecord& record) {
  DisposeMovie(record.movie);
  record.movie = {};
  if (const ControllerHandle controller = ControllerOf(hwnd)) DisposeMovieController(controller);
  SetWindowLongPtrA(hwnd, kControllerSlot, 0);
  record.window = nullptr;
}

LRESULT CALLBACK MovieButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MovieButtonRecord* record = RecordOf(hwnd);
  const ControllerHandle controller = ControllerOf(hwnd);
  if (!record || !controller) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message != WM_NCDESTROY && MCIsPlayerEvent(controller, hwnd, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_ERASEBKGND: return 0;
    case WM_PAINT: {
      PaintGuard paint(hwnd);  // the controller draws the movie
      return 0;
    }
    case WM_SETCURSOR:
      if (GetCursor() == LoadCursorA(nullptr, IDC_WAIT)) return 0;
      SetCursor(record->cursor);
      return 1;
    case WM_NCHITTEST:
    case WM_MOUSEMOVE:
      SendMessageA(GetParent(hwnd), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(GetParent(hwnd))), 0);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: OnPlay(hwnd, *record); return 0;
    case WM_TIMER:
      if (wParam == kEndTimer) OnEndCheck(hwnd, *record);
      return 0;
    case kMsgResetMovie: OnReset(hwnd, *record); return 0;
    case WM_NCDESTROY: OnNcDestroy(hwnd, *record); return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void ShowOpenError(HWND parent, int32_t code) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(code));
  MessageBoxA(parent, text, "error", MB_OK);
}

}  // namespace

bool RegisterMovieButtonClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = MovieButtonProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMovieButtonClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateMovieButton(HWND parent, MovieButtonRecord* record) {
  MovieFileHandle file{};
  record->moviePath.back() = '\0';
  if (const int32_t opened = OpenMovieFile(record->moviePath.data(), &file, 0); opened != 0) {
    ShowOpenError(parent, opened);
    return nullptr;
  }
  const HWND hwnd =
      CreateWindowExA(0, kMovieButtonClass, "", WS_CHILD, 0, 0, 0, 0, parent, nullptr, ProgramInstance(), nullptr);
  NewMovieFromFile(&record->movie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  if (!hwnd || !record->movie) {
    if (hwnd) DestroyWindow(hwnd);
    if (record->movie) DisposeMovie(record->movie);
    record->movie = {};
    return nullptr;
  }
  RECT box;
  GetMovieBox(record->movie, &box);
  OffsetRect(&box, -box.left, -box.top);
  const ControllerHandle controller = NewMovieController(record->movie, &box, kControllerFlags, hwnd);
  record->window = hwnd;
  SetWindowLongPtrA(hwnd, kRecordSlot, reinterpret_cast<LONG_PTR>(record));
  SetWindowLongPtrA(hwnd, kControllerSlot, static_cast<LONG_PTR>(controller));
  RECT bounds{};
  MCGetControllerBoundsRect(controller, &bounds);
  AdjustWindowRect(&bounds, WS_POPUP, FALSE);
  SetWindowPos(hwnd, nullptr, record->x, record->y, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  MCDoAction(controller, qt::kActionPlay, 0);
  MCDoAction(controller, qt::kActionKeysEnabled, 1);
  MCDoAction(controller, qt::kActionPrepare, 0);
  SetMovieActive(record->movie, 1);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  return hwnd;
}

}  // namespace kro::toolkit
