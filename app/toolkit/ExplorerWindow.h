#pragma once
// A child window object that paints through its element and reports to its parent: the
// base of the described lists.
#include "app/toolkit/DefaultWindow.h"

namespace kro::toolkit {

class ExplorerWindow : public DefaultWindow {
public:
  // Registers "ExplorerWindowClass" and creates the window (WS_CHILD | WS_VISIBLE) at once.
  // A non-null instance is recorded as the program instance first.
  ExplorerWindow(HINSTANCE instance, int16_t x, int16_t y, int16_t width, int16_t height, HWND parent);

  const char* ClassName() const override;
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;

  // The parent window, which also receives the list notifications.
  HWND Parent() const { return parent_; }

protected:
  // (Re)creates the window in the parent with the element's position and size.
  bool Create();

private:
  HWND parent_;
};

}  // namespace kro::toolkit
