#pragma once
// A child window object that paints through its element, takes double clicks and clips
// its children: the base of the scrolling row container.
#include "app/toolkit/DefaultWindow.h"

namespace kro::toolkit {

inline constexpr COLORREF kNoColour = 0xFFFFFFFF;

class ListWindow : public DefaultWindow {
public:
  // Registers "ListWindowClass" (CS_DBLCLKS) and creates the window (WS_CHILD | WS_VISIBLE
  // | WS_CLIPCHILDREN) at once. A non-null instance is recorded as the program instance.
  ListWindow(HINSTANCE instance, int16_t x, int16_t y, int16_t width, int16_t height, HWND parent,
             COLORREF backgroundColour = kNoColour);

  const char* ClassName() const override;
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;

  HWND Parent() const { return parent_; }
  COLORREF BackgroundColour() const { return backgroundColour_; }
  void SetBackgroundColour(COLORREF colour) { backgroundColour_ = colour; }

protected:
  // (Re)creates the window in the parent with the element's position and size.
  bool Create();
  // The window to create in and notify from now on (the parent was created again).
  void SetParentWindow(HWND parent) { parent_ = parent; }

private:
  COLORREF backgroundColour_;
  HWND parent_;
};

}  // namespace kro::toolkit
