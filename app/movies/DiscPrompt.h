#pragma once
// The disc prompts (dialog templates 294 and 295): a prompt picture with bitmap buttons
// over it. The yes/cancel prompt answers 1 for yes and 0 for cancel; start-up shows it
// when the title is missing from the product directory, the video window when a movie
// lives on the other disc. The information prompt says the material is on the video
// archive disc and has one button.
#include <windows.h>

namespace kro::movies {

constexpr int kArchivePromptTemplate = 294;  // insert the video archive disc / information
constexpr int kDiscPromptTemplate = 295;     // insert the encyclopedia disc
constexpr int kArchiveStartPromptTemplate = 292;  // the archive program's: insert its disc

// Which picture the yes/cancel prompt shows.
enum PromptMode : int {
  kAskForEncyclopedia = 1,  // "instal_2"
  kAskForArchive = 2,       // "instal_1"
  // The archive program at start-up: "instal_1" of its own, Enter and Esc answer on
  // key-up, and drive notices are not followed.
  kArchiveStartUp = 3,
};
void SetPromptMode(int mode);
int PromptMode();

// The drive's report of a disc: cleared by a device-removal notice, set by an arrival.
// While it is clear the yes/cancel prompt is disabled and ignores its buttons.
bool DiscPresentFlag();
void SetDiscPresentFlag(bool present);
// WM_DEVICECHANGE events that move the flag; true when `event` was one of them.
bool NoteDeviceChange(WPARAM event);

// The buttons' cursor (the shared hand); null keeps the class cursor.
void SetPromptCursor(HCURSOR cursor);

INT_PTR CALLBACK DiscPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DiscInformationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kro::movies
