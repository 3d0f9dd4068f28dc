#pragma once
// The shared cursors: four for hotspots and buttons, two for pictures, loaded before the
// window classes and destroyed with the main window; the system ones are only borrowed.
#include <windows.h>

namespace kro::shell {

struct SharedCursors {
  HCURSOR handT = nullptr, handB = nullptr, handU = nullptr, handE = nullptr;
  HCURSOR zoom = nullptr, zoom1 = nullptr;
  HCURSOR arrow = nullptr, ibeam = nullptr, wait = nullptr;
};

const SharedCursors& Cursors();
void LoadSharedCursors(HINSTANCE instance);
void DestroySharedCursors();

}  // namespace kro::shell
