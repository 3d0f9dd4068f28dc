#pragma once
// Help of player: the product's .hlp file when the disc has one, else the title's own
// help topics in the secondary window.
#include <windows.h>

namespace kro::shell {

// The contents topic of the title's help section.
constexpr const char* kHelpContents = "help_contents";
constexpr const char* kHelpCaption = "Справка";

void ShowHelp(HWND mainWindow);

}  // namespace kro::shell
