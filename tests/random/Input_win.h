#pragma once
// The input the random run gives: the mouse through the system's input queue, keys posted
// into the program's own message loop.
#include <windows.h>

namespace kro::randominput {

// Moves the mouse to `at` (screen coordinates) and clicks the left button once or twice.
void ClickAt(POINT at, bool twice);
// A key pressed and released on `target`, with Alt held when `alt` is set (Alt+F4 then
// closes the window as the default procedure does for typing).
void PostKeyStroke(HWND target, WORD virtualKey, bool alt);
// A character typed in whatever layout gives it: `character` is a cp1251 byte.
void PostCharacter(HWND target, char character);

}  // namespace kro::randominput
