#pragma once
// The video window: a 420x330 frame (VideoParentClass) over the picture "video0" with a
// title line, the movie child (VideoClass) that holds one movie and its controller bar,
// and a caption under the movie. One movie plays at a time in the process.
//
// Both programs use it. The reader asks for the other disc when a movie does not open
// and wants its own disc back before the window closes; the archive, whose disc is
// already in, shows an empty frame instead and steps through its playlist with two
// buttons whose commands go to the window's owner.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/movies/QuickTime.h"

namespace kro::movies {

inline constexpr char kVideoParentClass[] = "VideoParentClass";
inline constexpr char kVideoClass[] = "VideoClass";

// What the title and caption lines hold at most (the programs' 384- and 256-byte buffers).
constexpr size_t kMaxMovieTitle = 383;
constexpr size_t kMaxMovieCaption = 255;

// WM_COMMAND ids of the stepping buttons, sent on to the owner.
enum : int { kPreviousMovieCommand = 100, kNextMovieCommand = 101 };

// Marker files, relative to the product directory: which disc is in the drive.
inline constexpr char kEncyclopediaMarker[] = "sound.mov";
inline constexpr char kArchiveMarker[] = "MOVIES\\ORBITAL.MOV";

struct VideoSettings {
  std::string productDir;          // ends in a backslash
  bool discConversation = true;    // false: no prompts, a movie that fails leaves the frame empty
  bool secondDisc = false;         // the archive disc exists (IsDisk2Exists)
  bool stepButtons = false;        // previous and next movie buttons
  bool deviceAndPalette = true;    // follow drive notices and realise the palette
  bool paletteMode = false;        // the display is palette-based
  HFONT titleFont = nullptr;       // either may be null: the system font stays
  HFONT captionFont = nullptr;
  HBRUSH staticBrush = nullptr;    // behind the title and caption (light grey)
  HCURSOR buttonCursor = nullptr;  // over the bitmap buttons
  // Runs a modal prompt; null runs the dialog template. Tests answer for the user here.
  INT_PTR (*runPrompt)(int templateId, DLGPROC procedure) = nullptr;
};
void SetVideoSettings(const VideoSettings& settings);

LRESULT CALLBACK VideoParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK VideoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Both classes: style 0, no extra bytes, no icon or cursor, the white stock brush.
bool RegisterVideoClasses(HINSTANCE instance);

// Opens the window on the movie at `path`, owned (and disabled meanwhile) by `owner`;
// answers 1 when the window shows the movie, 0 otherwise. The title and caption are cut
// to what the lines hold. The movie waits for the user to start it.
int OpenVideoWindow(const char* path, HWND owner, std::string_view title, std::string_view caption);
// Replaces the movie in the open window (the archive's stepping); false when the file does
// not open, leaving the window without a movie.
bool ReplaceMovie(const char* path, std::string_view title, std::string_view caption);
// BM_SETSTATE of the stepping buttons.
void SetStepButtons(bool previous, bool next);

// The window's parts while it is open, else null.
HWND VideoFrame();
HWND MovieWindow();
MovieHandle CurrentMovie();
ControllerHandle CurrentController();

// Whether a marker file is in the drive.
bool EncyclopediaDiscIn();
bool ArchiveDiscIn();

}  // namespace kro::movies
