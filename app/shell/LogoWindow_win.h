#pragma once
// The logo window (class LOGOCLASS): plays the product directory's "logo.mov" once at
// start when the introduction is on, sized to the movie and centred. It ends at the
// movie's end (polled once a second), on a click or on Esc, and its destruction reveals
// the article view. Without the movie it ends during creation, without a message.
#include <windows.h>

namespace kro::shell {

constexpr const char* kLogoClass = "LOGOCLASS";
constexpr UINT_PTR kLogoTimer = 10;
constexpr UINT kLogoPollMs = 1000;

LRESULT CALLBACK LogoWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Creates and shows the window; the article view follows when it is gone.
void ShowLogo(HINSTANCE instance);

}  // namespace kro::shell
