#include "app/shell/Cursors_win.h"

#include <initializer_list>

namespace kro::shell {
namespace {

SharedCursors gCursors;

}  // namespace

const SharedCursors& Cursors() { return gCursors; }

void LoadSharedCursors(HINSTANCE instance) {
  gCursors.handT = LoadCursorA(instance, "HAND_T");
  gCursors.handB = LoadCursorA(instance, "HAND_B");
  gCursors.handU = LoadCursorA(instance, "HAND_U");
  gCursors.handE = LoadCursorA(instance, "HAND_E");
  gCursors.zoom = LoadCursorA(instance, "ZOOM");
  gCursors.zoom1 = LoadCursorA(instance, "ZOOM1");
  gCursors.arrow = LoadCursorA(nullptr, IDC_ARROW);
  gCursors.ibeam = LoadCursorA(nullptr, IDC_IBEAM);
  gCursors.wait = LoadCursorA(nullptr, IDC_WAIT);
}

void DestroySharedCursors() {
  for (HCURSOR* cursor : {&gCursors.handT, &gCursors.handB, &gCursors.handU, &gCursors.handE, &gCursors.zoom,
                          &gCursors.zoom1}) {
    if (*cursor) DestroyCursor(*cursor);
    *cursor = nullptr;
  }
}

}  // namespace kro::shell
