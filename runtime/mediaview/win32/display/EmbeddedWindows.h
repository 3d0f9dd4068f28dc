#pragma once
// The child windows a display's topic embeds in its text: one per window run, created on
// the display's window with the run's class and its data string as the window text, kept
// at their boxes in the text flow, and destroyed with the topic that made them.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/mediaview/core/layout/TextLayout.h"

namespace kro::mvdll::display {

class EmbeddedWindows {
public:
  EmbeddedWindows() = default;
  EmbeddedWindows(const EmbeddedWindows&) = delete;
  EmbeddedWindows& operator=(const EmbeddedWindows&) = delete;
  ~EmbeddedWindows() { Remove(); }

  // Inserts the layout's windows on `parent` unless they already stand, then places them;
  // `origin` is where layout (0, 0) falls in the parent's client area.
  void Insert(HWND parent, const mv::layout::TextLayout& layout, POINT origin);
  // Moves the windows that are not at their boxes (after a scroll or a new layout).
  void Place(const mv::layout::TextLayout& layout, POINT origin) const;
  // Destroys them; the next Insert makes them again.
  void Remove();

  HWND First() const;
  HWND Next(HWND previous) const;

private:
  struct Entry {
    uint32_t run = 0;
    HWND window = nullptr;
  };
  bool Alive(const Entry& e) const;

  HWND parent_ = nullptr;
  std::vector<Entry> entries_;
  bool inserted_ = false;
};

}  // namespace kro::mvdll::display
