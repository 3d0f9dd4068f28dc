#include "app/media/SlidePanel_win.h"

#include <cstdio>

#include "app/article/PicturePopup_win.h"
#include "app/media/GalleryShared_win.h"
#include "app/movies/QuickTime.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::media {
namespace {

struct Panel {
  std::vector<article::PictureRecord> pictures;
  int current = -1;
  PictureHandle thumbnail{};
  HWND previous = nullptr, next = nullptr;
};

Panel gPanel;

void ReleaseThumbnail() {
  if (gPanel.thumbnail) ReleasePicture(gPanel.thumbnail);
  gPanel.thumbnail = {};
}

void ShowCode(HWND owner, long code) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld", code);
  MessageBoxA(owner, text, "Ошибка", MB_OK);
}

// The gallery repaints around the thumbnail, not as a whole: its other children would all
// repaint with it, which costs more than a frame for every step through the list.
void InvalidateUnderPanel(HWND panel) {
  RECT area;
  GetWindowRect(panel, &area);
  MapWindowPoints(nullptr, GetParent(panel), reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(GetParent(panel), &area, FALSE);
}

// Loads the current picture's thumbnail; errors are reported as the slide window does.
void LoadThumbnail(HWND panel) {
  ReleaseThumbnail();
  InvalidateUnderPanel(panel);
  InvalidateRect(panel, nullptr, TRUE);
  if (gPanel.current < 0) return;
  const article::PictureRecord& picture = gPanel.pictures[static_cast<size_t>(gPanel.current)];
  PictureFileHandle file{};
  if (const int32_t opened = OpenPictureFile(picture.thumbnailPath.c_str(), &file, 0); opened != 0) {
    ShowCode(GetParent(panel), opened);
    return;
  }
  gPanel.thumbnail = GetPictureFromFile(file);
  if (!gPanel.thumbnail) MessageBoxA(GetParent(panel), "Ошибка при открытии файла *.jpg !", "Ошибка", MB_OK);
  if (const int32_t closed = ClosePictureFile(file); closed != 0) ShowCode(GetParent(panel), closed);
}

void SetArrow(HWND button, bool enabled) {
  if (button) SendMessageA(button, BM_SETSTATE, enabled ? 1 : 0, 0);
}

bool HasNext() { return gPanel.current >= 0 && gPanel.current + 1 < static_cast<int>(gPanel.pictures.size()); }

void OnShowFirst(HWND panel) {
  gPanel.current = gPanel.pictures.empty() ? -1 : 0;
  SetArrow(gPanel.previous, false);
  SetArrow(gPanel.next, HasNext());
  LoadThumbnail(panel);
}

void OnStep(HWND panel, int step) {
  const int target = gPanel.current + step;
  if (gPanel.current < 0 || target < 0 || target >= static_cast<int>(gPanel.pictures.size())) return;
  gPanel.current = target;
  SetArrow(gPanel.next, HasNext());
  SetArrow(gPanel.previous, target > 0);
  LoadThumbnail(panel);
}

void OnPaint(HWND panel) {
  PaintGuard paint(panel);
  if (!gPanel.thumbnail) return;
  RECT client;
  GetClientRect(panel, &client);
  DrawPicture(paint.Dc(), gPanel.thumbnail, &client, nullptr);
}

bool CanEnlarge() {
  const article::PictureRecord* picture = PanelCurrentPicture();
  return gPanel.thumbnail && picture && !picture->slidePath.empty();
}

// The full-size picture in the picture popup, over the gallery.
void OnClick(HWND panel) {
  if (!CanEnlarge()) return;
  WaitCursor wait;
  const article::PictureRecord& picture = *PanelCurrentPicture();
  article::OpenPicturePopup(GetParent(panel), picture.slidePath, picture.caption);
}

void OnDestroy() {
  ReleaseThumbnail();
  gPanel = {};
}

}  // namespace

void SetPanelArrows(HWND, HWND previous, HWND next) {
  gPanel.previous = previous;
  gPanel.next = next;
}

void SetPanelPictures(HWND panel, std::vector<article::PictureRecord> pictures) {
  gPanel.pictures = std::move(pictures);
  gPanel.current = -1;
  SendMessageA(panel, kPanelShowFirst, 0, 0);
}

const article::PictureRecord* PanelCurrentPicture() {
  return gPanel.current >= 0 ? &gPanel.pictures[static_cast<size_t>(gPanel.current)] : nullptr;
}

LRESULT CALLBACK SlidePanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPanelShowFirst: OnShowFirst(hwnd); return 0;
    case kPanelNextPicture: OnStep(hwnd, 1); return 0;
    case kPanelPreviousPicture: OnStep(hwnd, -1); return 0;
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_SETCURSOR:
      SetCursor(PanelCurrentPicture() && !PanelCurrentPicture()->slidePath.empty() && Host().zoomCursor
                    ? Host().zoomCursor
                    : LoadCursorA(nullptr, IDC_ARROW));
      return 1;
    case WM_LBUTTONDOWN: OnClick(hwnd); return 0;
    case WM_SIZE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace kro::media
