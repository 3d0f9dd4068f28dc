#pragma once
// The article's media links and the slide window (class WinSlide), which shows the
// current article's pictures one at a time, or the letter picture when it has none.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/article/MediaLinks.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::article {

// Messages to the slide window.
enum : UINT {
  kSlideNewArticle = WM_USER + 1000,
  kSlideNextPicture = WM_USER + 1001,
  kSlidePreviousPicture = WM_USER + 1002,
};

// What the slide window needs from the main window.
struct SlideHost {
  std::string productDir;
  HCURSOR zoomCursor = nullptr;  // over a picture that a click enlarges
  void (*setPictureButtons)(bool previous, bool next) = nullptr;
  void (*setMediaButtons)(bool movie, bool sound, bool map) = nullptr;
};
void SetSlideHost(const SlideHost& host);

// The links of the article on show, rebuilt on every navigation; each picture or portrait
// without a name reports "Ошибка данных" (owned by `owner`). A click on a picture that has
// a full-size file opens it in the picture popup.
const MediaLinks& CurrentMediaLinks();
void RebuildMediaLinks(LPMV mainDisplay, const char* letterFolder, HWND owner);
// The same from the data string itself.
void SetMediaLinks(std::string_view data, const char* letterFolder, HWND owner);
// The next article reloads its picture even when it is the one on show.
void ForgetShownPicture();

LRESULT CALLBACK SlideWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kro::article
