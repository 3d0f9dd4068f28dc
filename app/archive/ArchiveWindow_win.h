#pragma once
// The main window of the archive program (class "GalleryDialog"): 610x440 with a painted
// title bar, the list of the disc's movies with a tick box each, and five buttons. The
// ticked movies make the playlist that View plays one after the other.
#include <windows.h>

#include "app/archive/Playlist.h"

namespace kro::archive {

enum ArchiveCommand : UINT {
  kCmdExit = 2,
  kCmdSelectAll = 1002,
  kCmdView = 4006,
  kCmdReset = 4009,
  kCmdHelp = 32651,
};

constexpr int kArchiveWidth = 610, kArchiveHeight = 440;

// The program's window classes in their order, the shared cursors loaded first; the first
// failure is shown and stops.
bool RegisterArchiveClasses(HINSTANCE instance);
LRESULT CALLBACK ArchiveWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the window centred on the screen and shows it; false when it cannot be made.
bool CreateArchiveWindow(HINSTANCE instance);
// The program's exit code when the user ends it (the exit button, Esc, Alt+F4).
constexpr int kExitByUser = 1;

const Playlist& ArchivePlaylist();

}  // namespace kro::archive
