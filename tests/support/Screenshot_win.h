#pragma once
// Pictures of the program's windows as a reader sees them, for the user guide: taken from
// the screen while a journey passes each window, written as PNG into the folder that the
// environment variable KRO_SCREENS names. Without it nothing is written.
#include <windows.h>

#include <string>

namespace kro::wintest {

// The folder as a path under Wine, empty when no pictures are wanted.
std::string ScreensFolder();
// Writes the window's screen rectangle as `name` (say "article.png") into the folder. True
// when written, or when no pictures are wanted.
bool SaveScreenshot(HWND window, const char* name);
// Writes the pixels of `area` (screen coordinates) as a PNG file.
bool WriteScreenPng(const RECT& area, const std::string& path);

}  // namespace kro::wintest
