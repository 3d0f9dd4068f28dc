#pragma once
// The illustrations gallery's thumbnail panel (SlideForDlg): the thumbnail of the current
// picture of the selected entry, stepped with the gallery's two arrow buttons; a click on
// a picture that has a full-size slide opens it enlarged.
#include <windows.h>

#include <vector>

#include "app/article/MediaLinks.h"

namespace kro::media {

// Messages the gallery sends to the panel.
enum : UINT {
  kPanelShowFirst = WM_USER + 1000,
  kPanelNextPicture = WM_USER + 1001,
  kPanelPreviousPicture = WM_USER + 1002,
};

// The gallery's arrow buttons, which the panel enables and disables (BM_SETSTATE).
void SetPanelArrows(HWND panel, HWND previous, HWND next);
// Replaces the picture list and shows its first picture.
void SetPanelPictures(HWND panel, std::vector<article::PictureRecord> pictures);
// The picture on show, or null.
const article::PictureRecord* PanelCurrentPicture();

}  // namespace kro::media
