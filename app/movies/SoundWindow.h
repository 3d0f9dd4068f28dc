#pragma once
// The sound player that sound topics embed in their text (class SoundClass): one
// audio-only movie from the disc under a controller bar (play/stop, the time), waiting for
// the reader to start it and stopping when its window goes. The window text, the data
// string of the topic, names the movie relative to the product directory.
#include <windows.h>

#include <string>

#include "app/movies/QuickTime.h"

namespace kro::movies {

inline constexpr char kSoundClass[] = "SoundClass";

// The folder the window texts are relative to; ends in a backslash.
void SetSoundFolder(std::string productDir);

LRESULT CALLBACK SoundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// What a sound window holds, for the tests and the pane: null when its movie did not open.
MovieHandle SoundMovie(HWND window);
ControllerHandle SoundController(HWND window);

}  // namespace kro::movies
