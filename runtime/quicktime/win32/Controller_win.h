#pragma once
// A movie controller: shows one movie in a window, optionally with a bar below it
// (play/pause, a position slider that seeks, the elapsed time), and answers the window's
// messages through IsPlayerEvent. Frames advance from a timer on that window, so all work
// happens on the window's thread, inside its message loop.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "runtime/base/UniqueHandle_win.h"
#include "runtime/quicktime/QtDispatch.h"
#include "runtime/quicktime/core/ControllerBar.h"
#include "runtime/quicktime/win32/Movie_win.h"

namespace kro::qt {

class Controller {
public:
  // `findMovie` resolves the movie handle on every use: the movie may be disposed first.
  using MovieLookup = std::function<Movie*(MovieHandle)>;
  Controller(MovieHandle movie, const RECT& movieRect, uint32_t flags, HWND window,
             MovieLookup findMovie, Wic& wic);
  ~Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  int32_t DoAction(int32_t action, uintptr_t parameter);
  RECT Bounds() const;
  bool IsPlayerEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
  static constexpr UINT_PTR kTimerId = 0x5154;
  static constexpr UINT kTimerMilliseconds = 20;

  Movie* TheMovie() const { return findMovie_(movie_); }
  bool BarVisible() const { return !(flags_ & kFlagBarHidden); }
  RECT MovieArea() const;
  BarLayout Bar() const;
  void Play(bool play);
  void Seek(uint32_t time);
  void OnTimer();
  void OnPaint();
  bool OnButtonDown(int x, int y);
  void Redraw(HDC dc, bool movieToo);
  void DrawMovie(HDC dc);
  void DrawBar(HDC dc);
  void ShowTimeInText();

  MovieHandle movie_;
  RECT movieRect_;
  uint32_t flags_;
  HWND window_;
  MovieLookup findMovie_;
  Wic& wic_;
  bool keysEnabled_ = false;
  bool dragging_ = false;
  bool timerRunning_ = false;
  int64_t shownSample_ = -1;
  int shownThumb_ = -1;
  uint32_t shownSecond_ = UINT32_MAX;
  bool shownPlaying_ = false;
  UniqueFont font_;
};

}  // namespace kro::qt
