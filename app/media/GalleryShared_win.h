#pragma once
// What the galleries share inside this folder: the host, their buttons, the wait cursor
// and the activation handling.
#include <windows.h>

#include "app/media/Galleries_win.h"
#include "app/toolkit/BitmapButton.h"

namespace kro::media {

const GalleryHost& Host();

// A push button with the hand cursor at (x, y).
toolkit::BitmapButtonRecord GalleryButton(int command, const char* pressed, const char* normal, const char* disabled,
                                          int x, int y);

// The wait cursor for the scope, the arrow after it.
class WaitCursor {
public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// WM_ACTIVATE of a gallery: on activation the dialog keys go to it (Enter presses
// `defaultButton`, Esc `cancelButton`) and popups it opened close, giving the focus back;
// on deactivation the keys are released. Both title bars are repainted. Answers whether
// the gallery is now active.
bool ActivateGallery(HWND gallery, WPARAM state, HWND defaultButton, HWND cancelButton);

}  // namespace kro::media
