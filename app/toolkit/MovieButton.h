#pragma once
// The movie button (class VideoButtonClass): a movie that sits in a dialog as a button and
// plays once when clicked, keeping the program's main window disabled until its end, and
// then posts its command to the parent.
#include <windows.h>

#include <array>
#include <cstdint>

#include "app/movies/QuickTime.h"

namespace kro::toolkit {

constexpr const char* kMovieButtonClass = "VideoButtonClass";
// WM_USER+1555: back to the first frame, stopped.
constexpr UINT kMsgResetMovie = WM_USER + 1555;

struct MovieButtonRecord {
  int32_t command = 0;        // posted to the parent when the movie has played to its end
  HWND window = nullptr;      // 0 after destruction
  HWND partner = nullptr;     // told BM_SETCHECK 1 while playing, 0 at the end
  std::array<char, 256> moviePath{};
  MovieHandle movie{};
  HCURSOR cursor = nullptr;
  int32_t x = 0, y = 0;
};

bool RegisterMovieButtonClass(HINSTANCE instance);
// Opens the movie and makes the button; a file that cannot be opened shows its error
// number and makes nothing (null).
HWND CreateMovieButton(HWND parent, MovieButtonRecord* record);

}  // namespace kro::toolkit
