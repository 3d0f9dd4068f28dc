#pragma once
// The About window (class AboutDialog, "О программе"): 640x480 over the picture "about",
// the topic "credits" of the title in a pane, and a close button. The main window is
// disabled while it is open; its close button and Alt+F4 close it alike.
#include <windows.h>

namespace kro::shell {

constexpr const char* kAboutClass = "AboutDialog";
constexpr int kAboutWidth = 640, kAboutHeight = 480;
// Where the credits pane sits in the window's client area.
constexpr RECT kCreditsPane{182, 98, 182 + 436, 98 + 276};

LRESULT CALLBACK AboutWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the window centred on the screen, owned by the main window.
HWND OpenAboutWindow();

}  // namespace kro::shell
