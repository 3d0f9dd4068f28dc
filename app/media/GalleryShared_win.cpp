#include "app/media/GalleryShared_win.h"

#include "app/article/Pane_win.h"
#include "app/shell/DialogKeys_win.h"

namespace kro::media {
namespace {

GalleryHost gHost;

}  // namespace

void SetGalleryHost(const GalleryHost& host) { gHost = host; }
const GalleryHost& Host() { return gHost; }

toolkit::BitmapButtonRecord GalleryButton(int command, const char* pressed, const char* normal, const char* disabled,
                                          int x, int y) {
  toolkit::BitmapButtonRecord r = toolkit::PushButtonRecord(command, normal, pressed, disabled, x, y);
  r.cursor = gHost.handCursor;
  return r;
}

WaitCursor::WaitCursor() { SetCursor(gHost.waitCursor ? gHost.waitCursor : LoadCursorA(nullptr, IDC_WAIT)); }
WaitCursor::~WaitCursor() { SetCursor(gHost.arrowCursor ? gHost.arrowCursor : LoadCursorA(nullptr, IDC_ARROW)); }

bool ActivateGallery(HWND gallery, WPARAM state, HWND defaultButton, HWND cancelButton) {
  const bool active = LOWORD(state) == WA_ACTIVE || LOWORD(state) == WA_CLICKACTIVE;
  if (active) {
    shell::RegisterDialogKeys(gallery, defaultButton, cancelButton);
    // Coming back from a map or sound shown full-screen closes it.
    if (article::OpenPopup()) {
      article::ClosePopups(gallery);
      SetFocus(gallery);
    }
  } else if (shell::RegisteredDialog() == gallery) {
    shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  }
  SendMessageA(gallery, WM_NCPAINT, 1, 0);
  if (gHost.mainWindow) SendMessageA(gHost.mainWindow, WM_NCPAINT, 1, 0);
  return active;
}

}  // namespace kro::media
