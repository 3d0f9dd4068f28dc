#include "app/toolkit/ExplorerWindow.h"

#include "app/toolkit/ProgramInstance.h"

namespace kro::toolkit {

ExplorerWindow::ExplorerWindow(HINSTANCE instance, int16_t x, int16_t y, int16_t width, int16_t height, HWND parent)
    : DefaultWindow(x, y, width, height), parent_(parent) {
  if (instance) SetProgramInstance(instance);
  Create();
}

bool ExplorerWindow::Create() {
  // A null brush: the element paints the whole window, so the class erases nothing.
  if (!RegisterClass(ClassName(), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), LoadCursorA(nullptr, IDC_ARROW),
                     nullptr, 0))
    return false;
  const Element& e = OwnElement();
  return CreateBoundWindow(WS_CHILD | WS_VISIBLE, e.x, e.y, e.width, e.height, parent_) != nullptr;
}

const char* ExplorerWindow::ClassName() const { return "ExplorerWindowClass"; }

LRESULT ExplorerWindow::OnPaint(WPARAM, LPARAM) { return PaintElement(); }

}  // namespace kro::toolkit
