#include "app/shell/LogoWindow_win.h"

#include <string>

#include "app/movies/QuickTime.h"
#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"

namespace kro::shell {
namespace {

struct LogoState {
  MovieHandle movie = 0;
  ControllerHandle controller = 0;
};

LogoState gLogo;
bool gRevealed = false;  // the window's destruction has shown the article view

// Centred on the desktop at the size the controller needs for the whole movie.
void FitToMovie(HWND hwnd) {
  RECT bounds{};
  MCDoAction(gLogo.controller, qt::kActionSetGrowBounds, &bounds);
  MCGetControllerBoundsRect(gLogo.controller, &bounds);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  SetWindowPos(hwnd, nullptr, 0, 0, bounds.right, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  RECT window;
  GetWindowRect(hwnd, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  MoveWindow(hwnd, (desktop.right - desktop.left - width) / 2, (desktop.bottom - desktop.top - height) / 2, width, height,
             TRUE);
}

void OnCreate(HWND hwnd) {
  const std::string path = TheProgram().productDir + "logo.mov";
  MovieFileHandle file{};
  if (OpenMovieFile(path.c_str(), &file, 0) != 0) {
    DestroyWindow(hwnd);
    return;
  }
  NewMovieFromFile(&gLogo.movie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  if (!gLogo.movie) {
    DestroyWindow(hwnd);
    return;
  }
  RECT box{};
  GetMovieBox(gLogo.movie, &box);
  OffsetRect(&box, -box.left, -box.top);
  gLogo.controller = NewMovieController(gLogo.movie, &box, qt::kFlagTopLeftMovie | qt::kFlagScaleToFit | qt::kFlagBarHidden, hwnd);
  SetWindowLongPtrA(hwnd, 0, static_cast<LONG_PTR>(gLogo.controller));
  FitToMovie(hwnd);
  MCDoAction(gLogo.controller, qt::kActionPlay, 0);
  MCDoAction(gLogo.controller, qt::kActionKeysEnabled, 1);
  SetMovieActive(gLogo.movie, 1);
  SetFocus(hwnd);
}

void OnShowWindow(HWND hwnd) {
  if (!gLogo.movie) return;
  PrerollMovie(gLogo.movie, 0, qt::kFixedOne);
  MCDoAction(gLogo.controller, qt::kActionPlay, qt::kFixedOne);
  SetTimer(hwnd, kLogoTimer, kLogoPollMs, nullptr);
}

void OnTimer(HWND hwnd) {
  if (gLogo.movie && GetMovieDuration(gLogo.movie) > GetMovieTime(gLogo.movie, nullptr)) return;
  DestroyWindow(hwnd);
}

void OnDestroy(HWND hwnd) {
  KillTimer(hwnd, kLogoTimer);
  if (gLogo.controller) DisposeMovieController(gLogo.controller);
  if (gLogo.movie) DisposeMovie(gLogo.movie);
  gLogo = {};
  SetWindowLongPtrA(hwnd, 0, 0);
  gRevealed = true;
  ShowArticleViewAtStart();
}

}  // namespace

LRESULT CALLBACK LogoWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // A click ends the logo before anything else sees it.
  if (message == WM_LBUTTONDOWN) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (gLogo.controller && MCIsPlayerEvent(gLogo.controller, hwnd, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_CREATE: OnCreate(hwnd); return 0;
    case WM_SHOWWINDOW: OnShowWindow(hwnd); return 0;
    case WM_TIMER:
      if (wParam == kLogoTimer) OnTimer(hwnd);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY: OnDestroy(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void ShowLogo(HINSTANCE instance) {
  gRevealed = false;
  HWND hwnd = CreateWindowExA(0, kLogoClass, "", WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  if (hwnd)
    ShowWindow(hwnd, SW_SHOW);
  else if (!gRevealed)  // a window that could not be made at all must not leave the program hidden
    ShowArticleViewAtStart();
}

}  // namespace kro::shell
