#pragma once
// The process-wide settings of the archive program, set by start-up and read by its
// windows: the instance, the disc, the display, the fonts and brushes, the main window.
#include <windows.h>

#include <string>

#include "app/shell/Display_win.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::archive {

constexpr const char* kArchiveTitle = "Фильмотека";
constexpr const char* kArchiveWindowClass = "GalleryDialog";
constexpr const char* kArchiveHelpClass = "ArchiveHelpClass";

struct ArchiveProgram {
  HINSTANCE instance = nullptr;
  std::string productDir;  // ends in a backslash
  shell::DisplayMetrics display;
  HFONT titleFont = nullptr;    // "CompactDisk" of weight 600, or null
  HFONT captionFont = nullptr;  // weight 300, or null
  UniqueBrush whiteBrush;
  UniqueBrush lightGreyBrush;
  HWND mainWindow = nullptr;
};

ArchiveProgram& TheArchive();

}  // namespace kro::archive
