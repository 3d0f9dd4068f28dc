#pragma once
// The archive program's help: the disc's help text in a read-only window of its own
// (class "ArchiveHelpClass"), owned by the main window, which it disables while open.
#include <windows.h>

#include <string>

namespace kro::archive {

// The help text on the archive disc.
constexpr const char* kArchiveHelpText = "lumfil.txt";
enum : UINT { kHelpCloseButton = IDCANCEL };

LRESULT CALLBACK ArchiveHelpProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the window on the text of `path`, or shows why it cannot; null when not opened.
HWND OpenArchiveHelp(HWND owner, const std::string& path);

}  // namespace kro::archive
