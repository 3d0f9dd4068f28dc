#pragma once
// The timeline: a 640x480 pop-up frame over the "timeline" background with a strip window
// that scrolls the frame-strip picture horizontally. A click on a region opens its
// article in the main window and closes the timeline; the owner stays disabled while the
// timeline is open.
#include <windows.h>

#include <string>

namespace kro::timeline {

inline constexpr char kTimelineFrameClass[] = "TIMELINEMAINCLASS";
inline constexpr char kTimelineStripClass[] = "TIMELINECLASS";

// Commands the frame receives.
enum TimelineCommand : WPARAM { kCmdCloseTimeline = 2 };

// What the timeline needs from the program that opens it.
struct TimelineHost {
  std::string productDir;  // ends in a backslash
  HCURSOR regionCursor = nullptr;
  // The main window's caption frame, which the frame's caption strip replaces the same way.
  int captionHeight = 0, frameWidth = 0, frameHeight = 0;
  // Shows the article of `context` in the article view.
  void (*openArticle)(const char* context) = nullptr;
};

LRESULT CALLBACK TimelineFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TimelineStripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the timeline at the position saved when it last opened an article; the owner is
// disabled until it closes. False when a window cannot be created (the owner is then
// enabled again).
bool OpenTimeline(HWND owner, const TimelineHost& host);
// The strip window while the timeline is open, else null.
HWND TimelineStrip();
// The scroll position the next opening starts at.
int SavedTimelinePosition();

}  // namespace kro::timeline
