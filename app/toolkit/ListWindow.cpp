#include "app/toolkit/ListWindow.h"

#include "app/toolkit/ProgramInstance.h"

namespace kro::toolkit {

ListWindow::ListWindow(HINSTANCE instance, int16_t x, int16_t y, int16_t width, int16_t height, HWND parent,
                       COLORREF backgroundColour)
    : DefaultWindow(x, y, width, height), backgroundColour_(backgroundColour), parent_(parent) {
  if (instance) SetProgramInstance(instance);
  Create();
}

bool ListWindow::Create() {
  if (!RegisterClass(ClassName(), nullptr, nullptr, nullptr, CS_DBLCLKS)) return false;
  const Element& e = OwnElement();
  return CreateBoundWindow(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, e.x, e.y, e.width, e.height, parent_) != nullptr;
}

const char* ListWindow::ClassName() const { return "ListWindowClass"; }

LRESULT ListWindow::OnPaint(WPARAM, LPARAM) { return PaintElement(); }

}  // namespace kro::toolkit
