#pragma once
// The process-wide settings and resources of player, set by start-up and read by the
// windows (the instance, the two directories, the display, the fonts and brushes, the
// title and its index, the two modeless dialogs).
#include <windows.h>

#include <memory>
#include <string>

#include "app/shell/Display_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::shell {

constexpr const char* kProductTitle = "Энциклопедия России";
constexpr const char* kMainWindowClass = "EncWindowClass";
constexpr const char* kArticleAreaClass = "WinCR";  // the main window's child that holds the article
constexpr const char* kSlideWindowClass = "WinSlide";

struct Program {
  HINSTANCE instance = nullptr;
  std::string productDir;  // ends in a backslash
  std::string workingDir;  // never ends in a backslash
  DisplayMetrics display;
  bool disk2 = false;
  bool showIntroduction = false;
  HFONT boldFont = nullptr;   // "CompactDisk", or null
  HFONT lightFont = nullptr;
  UniqueBrush whiteBrush;
  UniqueBrush lightGreyBrush;
  HACCEL accelerators = nullptr;
  HMVTITLE title = nullptr;
  HMVWORDWHEEL wordWheel = nullptr;
  long wordWheelLength = 0;
  LPMV indexDisplay = nullptr;
  HWND mainWindow = nullptr;
  HWND historyDialog = nullptr;
  HWND resultsDialog = nullptr;
};

Program& TheProgram();

}  // namespace kro::shell
