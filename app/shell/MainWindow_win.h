#pragma once
// The main window of player: a 640x480 frame whose 20-pixel caption strip is drawn from
// bitmaps, over a full-window background picture, in one of two modes with a window
// procedure each: the article view (toolbar, letter bar, article area, slide window) and
// the start screen (eight large buttons and the introduction check box).
#include <windows.h>

#include <string>

#include "app/article/Pane_win.h"

namespace kro::shell {

// Commands of the main window, from its buttons and from other windows. Next and previous
// come from the panes' arrow keys too, so the panes' header gives their ids.
enum MainCommand : UINT {
  kCmdPrint = 108, kCmdExit = 110, kCmdCopyArticle = 111, kCmdCopySelection = 112, kCmdSearch = 113,
  kCmdBookmarks = 114, kCmdContents = 117, kCmdHistory = 118, kCmdNext = article::kNextArticleCommand,
  kCmdPrevious = article::kPreviousArticleCommand, kCmdAbout = 124, kCmdIgnored = 128, kCmdResults = 129,
  kCmdBack = 132, kCmdStartScreen = 150, kCmdPreviousPicture = 251, kCmdNextPicture = 252, kCmdFirstLetter = 2600,
  kCmdLastLetter = 2890, kCmdVideo = 3000, kCmdMap = 3001, kCmdSound = 3002, kCmdArticleView = 4000,
  kCmdVideoGallery = 4001, kCmdPictureGallery = 4002, kCmdMapGallery = 4003, kCmdSoundGallery = 4004,
  kCmdQuit = 4005, kCmdHelp = 4007, kCmdTimeline = 4008,
};

LRESULT CALLBACK ArticleViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StartScreenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Where the 640x480 frame goes on a screen: centred on anything larger, else at 0, 0.
POINT MainWindowOrigin(int screenWidth, int screenHeight);
// Whether a screen point lies strictly inside a caption button whose left and right edges
// are offsets from the window's left edge, between `top` and `bottom` below its top edge.
bool InCaptionButton(POINT point, const RECT& window, int left, int right, int top, int bottom);

// Creates the frame, its children and both button sets (hidden); false when the frame
// cannot be created.
bool CreateMainWindow(HINSTANCE instance);
// The article view as start-up shows it: background, toolbar, the last position read.
void ShowArticleViewAtStart();
void SetIntroductionBox(bool checked);
HWND ArticleArea();
// Loads a background picture for the window, replacing the one on show.
bool LoadBackground(const std::string& path);

}  // namespace kro::shell
