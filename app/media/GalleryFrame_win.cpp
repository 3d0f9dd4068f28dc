#include "app/media/GalleryFrame_win.h"

#include "app/toolkit/PaintedFrame.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::media {
namespace {

constexpr int kWidth = 530, kHeight = 340;

// The open gallery's frame, its bitmaps loaded once and kept until its window goes: the
// title bar alone is drawn five times while the window opens and activates.
struct OpenFrame {
  const GalleryLook* look = nullptr;
  toolkit::BackdropFrame frame;
};

OpenFrame gOpen;

toolkit::BackdropFrame& FrameOf(const GalleryLook& look) {
  if (gOpen.look != &look) {
    gOpen.frame.Load(toolkit::ProgramInstance(), look.activeBar, look.inactiveBar, look.background);
    gOpen.look = &look;
  }
  return gOpen.frame;
}

}  // namespace

bool HandleGalleryFrame(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const GalleryLook& look, bool active,
                        LRESULT* result) {
  if (message == WM_NCDESTROY) {
    if (gOpen.look == &look) {
      gOpen.frame.Release();
      gOpen.look = nullptr;
    }
    return false;
  }
  toolkit::BackdropFrame& frame = FrameOf(look);
  frame.SetActive(active);
  return frame.Handle(hwnd, message, wParam, lParam, nullptr, result);
}

RECT GalleryPlace() { return toolkit::CentredRect(kWidth, kHeight); }

}  // namespace kro::media
