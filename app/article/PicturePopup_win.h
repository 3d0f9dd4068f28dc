#pragma once
// The picture popup (class PopupClass): one picture at full size with its caption in a
// read-only edit strip below it. The owner is disabled while it is open; a right click,
// Esc, WM_CLOSE or a click on the close-button place of the frame closes it.
#include <windows.h>

#include <string>

namespace kro::article {

inline constexpr char kPicturePopupClass[] = "PopupClass";
inline constexpr int kPopupCaptionHeight = 25;  // the caption strip at the bottom of the client area

// What the popup takes from the program.
struct PicturePopupHost {
  HFONT (*captionFont)() = nullptr;  // the caption font; null keeps the edit's own
  HPALETTE (*palette)() = nullptr;   // the program palette on a palette display, else null
  // The main window's close button: left and right from the window's left edge, top and
  // bottom from its top edge.
  int closeLeft = 0, closeRight = 0, closeTop = 0, closeBottom = 0;
};
void SetPicturePopupHost(const PicturePopupHost& host);

bool RegisterPicturePopupClass(HINSTANCE instance, HCURSOR cursor);

// Opens `picturePath` in a popup centred on the screen, captioned `caption`, owned by
// `owner`; null (and nothing opened) when the picture cannot be read. An open popup is
// closed first.
HWND OpenPicturePopup(HWND owner, const std::string& picturePath, const std::string& caption);
HWND PicturePopup();

LRESULT CALLBACK PicturePopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kro::article

// Passes Esc typed in the caption strip to the popup as the key that closes it.
extern "C" __declspec(dllexport) LRESULT CALLBACK EditHookProc(int code, WPARAM wParam, LPARAM lParam);
