#include "app/article/SlideWindow_win.h"

#include <cstdio>

#include "app/article/PicturePopup_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/movies/QuickTime.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::article {
namespace {

struct SlideState {
  SlideHost host;
  MediaLinks links;
  std::string letterFolder;
  int current = -1;                // index into links.pictures; -1: the letter picture
  std::string shownLetterFolder;   // the folder whose letter picture is loaded
  bool listPictureShown = false;
  PictureHandle picture{};
};

SlideState gSlide;

void ShowCode(HWND owner, long code) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", code);
  MessageBoxA(owner, text, "Ошибка", MB_ICONHAND);
}

HWND MainOf(HWND slide) { return GetParent(slide); }

void ReleaseShown() {
  if (gSlide.picture) ReleasePicture(gSlide.picture);
  gSlide.picture = {};
}

// Opens `path` and puts its picture on show; errors are reported as the program always has.
bool Show(HWND hwnd, const std::string& path) {
  ReleaseShown();
  PictureFileHandle file{};
  const int32_t opened = OpenPictureFile(path.c_str(), &file, 0);
  if (opened != 0) {
    ShowCode(MainOf(hwnd), opened);
    InvalidateRect(hwnd, nullptr, TRUE);
    return false;
  }
  gSlide.picture = GetPictureFromFile(file);
  if (!gSlide.picture) MessageBoxA(MainOf(hwnd), "Ошибка при открытии файла *.jpg !", "Ошибка", MB_ICONHAND);
  const int32_t closed = ClosePictureFile(file);
  if (closed != 0) ShowCode(MainOf(hwnd), closed);
  InvalidateRect(hwnd, nullptr, TRUE);
  return gSlide.picture && closed == 0;
}

PictureRecord* CurrentRecord() {
  const int index = gSlide.current;
  return index >= 0 && index < static_cast<int>(gSlide.links.pictures.size()) ? &gSlide.links.pictures[index] : nullptr;
}

// A list picture on show names the popup after the article that showed it first.
void ShowCurrent(HWND hwnd) {
  PictureRecord* record = CurrentRecord();
  if (Show(hwnd, record->thumbnailPath) && record->popupTitle.empty()) record->popupTitle = CurrentTitle();
}

bool CanEnlarge() {
  const PictureRecord* record = CurrentRecord();
  return record && !record->slidePath.empty();
}

void OnClick(HWND hwnd) {
  if (!CanEnlarge()) return;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  const PictureRecord& record = *CurrentRecord();
  OpenPicturePopup(MainOf(hwnd), record.slidePath, record.caption);
}

// The zoom cursor says a click enlarges the picture.
bool OnSetCursor(LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT || !CanEnlarge() || !gSlide.host.zoomCursor) return false;
  SetCursor(gSlide.host.zoomCursor);
  return true;
}

void UpdatePictureButtons() {
  const int count = static_cast<int>(gSlide.links.pictures.size());
  const bool previous = gSlide.current > 0;
  const bool next = gSlide.current >= 0 ? gSlide.current + 1 < count : false;
  if (gSlide.host.setPictureButtons) gSlide.host.setPictureButtons(previous, next);
}

void OnNewArticle(HWND hwnd) {
  if (!IsWindowVisible(hwnd) && IsWindowVisible(MainOf(hwnd))) return;
  if (!gSlide.links.pictures.empty()) {
    gSlide.current = 0;
    gSlide.listPictureShown = true;
    ShowCurrent(hwnd);
  } else {
    gSlide.current = -1;
    if (gSlide.shownLetterFolder != gSlide.letterFolder || gSlide.listPictureShown) {
      gSlide.shownLetterFolder = gSlide.letterFolder;
      Show(hwnd, LetterPicturePath(gSlide.host.productDir, gSlide.letterFolder));
    }
    gSlide.listPictureShown = false;
  }
  if (gSlide.host.setPictureButtons)
    gSlide.host.setPictureButtons(false, gSlide.current >= 0 && gSlide.links.pictures.size() > 1);
  if (gSlide.host.setMediaButtons)
    gSlide.host.setMediaButtons(!gSlide.links.moviePath.empty(), !gSlide.links.soundName.empty(),
                                !gSlide.links.mapName.empty());
}

void OnStep(HWND hwnd, int step) {
  const int target = gSlide.current + step;
  if (gSlide.current < 0 || target < 0 || target >= static_cast<int>(gSlide.links.pictures.size())) return;
  gSlide.current = target;
  ShowCurrent(hwnd);
  UpdatePictureButtons();
}

void OnPaint(HWND hwnd) {
  PaintGuard paint(hwnd);
  if (!gSlide.picture) return;
  RECT client;
  GetClientRect(hwnd, &client);
  DrawPicture(paint.Dc(), gSlide.picture, &client, nullptr);
}

}  // namespace

void SetSlideHost(const SlideHost& host) { gSlide.host = host; }

const MediaLinks& CurrentMediaLinks() { return gSlide.links; }

void SetMediaLinks(std::string_view data, const char* letterFolder, HWND owner) {
  gSlide.letterFolder = letterFolder ? letterFolder : "";
  gSlide.links = ParseMediaLinks(data, gSlide.host.productDir, gSlide.letterFolder);
  for (int i = 0; i < gSlide.links.dataErrors; ++i) MessageBoxA(owner, "Ошибка данных", "Ошибка", MB_ICONHAND);
}

void RebuildMediaLinks(LPMV mainDisplay, const char* letterFolder, HWND owner) {
  std::string text;
  if (HGLOBAL data = mainDisplay ? hMVGetData(mainDisplay) : nullptr) {
    if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
      text = locked;
      GlobalUnlock(data);
    }
    GlobalFree(data);
  }
  SetMediaLinks(text, letterFolder, owner);
}

void ForgetShownPicture() { gSlide.shownLetterFolder.clear(); }

LRESULT CALLBACK SlideWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kSlideNewArticle: OnNewArticle(hwnd); return 0;
    case kSlideNextPicture: OnStep(hwnd, 1); return 0;
    case kSlidePreviousPicture: OnStep(hwnd, -1); return 0;
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_LBUTTONDOWN: OnClick(hwnd); return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(lParam)) return TRUE;
      break;
    case WM_DESTROY: ReleaseShown(); return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace kro::article
