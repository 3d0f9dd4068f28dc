#pragma once
// The reader's galleries: the video, map and sound gallery (class GalleryDialog, the kind
// chosen by the window name) and the illustrations gallery (SlidesGalleryDialog with its
// thumbnail panel SlideForDlg). Each is a captionless popup with a painted title bar that
// disables the main window while it is open; one gallery is open at a time.
#include <windows.h>

#include <string>

#include "runtime/mediaview/MediaView.h"

namespace kro::media {

inline constexpr char kGalleryDialogClass[] = "GalleryDialog";
inline constexpr char kSlidesGalleryClass[] = "SlidesGalleryDialog";
inline constexpr char kSlidePanelClass[] = "SlideForDlg";

// Window names, which choose the kind of GalleryDialog.
inline constexpr char kVideoGalleryName[] = "Видео";
inline constexpr char kMapGalleryName[] = "Карты";
inline constexpr char kSoundGalleryName[] = "Аудио";
inline constexpr char kSlidesGalleryName[] = "Иллюстрации";

// Command ids of the galleries' buttons.
enum GalleryCommand : int {
  kGalleryJump = 1,
  kGalleryClose = 2,
  kSlidesPreviousPicture = 251,
  kSlidesNextPicture = 252,
  kGalleryShowMap = 4006,
};

// What the galleries need from the program.
struct GalleryHost {
  HMVTITLE title = nullptr;
  std::string productDir;  // ends in a backslash
  HWND mainWindow = nullptr;
  HFONT headingFont = nullptr;  // may be null
  HCURSOR handCursor = nullptr, waitCursor = nullptr, arrowCursor = nullptr, zoomCursor = nullptr;
  // The main window's article view on the topic of a context string.
  void (*showArticle)(const char* context) = nullptr;
};
void SetGalleryHost(const GalleryHost& host);

LRESULT CALLBACK GalleryDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SlidesGalleryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SlidePanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Opens a GalleryDialog of the kind `windowName` names, or the illustrations gallery, and
// gives it the focus; null when the window cannot be made.
HWND OpenGallery(const char* windowName);
HWND OpenSlidesGallery();

}  // namespace kro::media
