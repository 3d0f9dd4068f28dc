#pragma once
// Playing the playlist in the shared video window: View opens it on the first ticked
// movie, and its previous and next buttons (commands to the main window) step through
// the rest in place.
#include <windows.h>

#include "app/media/CatalogueFile_win.h"
#include "app/archive/Playlist.h"

namespace kro::archive {

// The video window's classes with the archive's settings: no disc conversation, the
// stepping buttons, the program's fonts and brush.
bool RegisterArchiveVideoClasses(HINSTANCE instance);

// View: nothing when nothing is ticked or no catalogue could be loaded; else the first
// ticked movie in a new window.
void PlayTicked(HWND owner, Playlist& playlist, const media::OpenCatalogue* catalogue);
// The stepping commands of the open window (previous 100, next 101); false for others.
bool StepPlaylist(UINT command, Playlist& playlist, const media::OpenCatalogue* catalogue);

}  // namespace kro::archive
