#pragma once
// Paints a layout on a device context: marker colour under highlights, a tint under the
// selection, the text of every run in its font and colour, pictures, and the focus mark of
// the focused hotspot. The screen (through a view) and the printer share it.
#include <windows.h>

#include <climits>
#include <vector>

#include "runtime/mediaview/core/layout/TextLayout.h"
#include "runtime/mediaview/win32/display/GdiMeasurer.h"

namespace kro::mvdll::display {

// Colours of the marks, chosen to sit well on white and on parchment alike.
inline constexpr COLORREF kHighlightColour = RGB(246, 218, 120);
inline constexpr COLORREF kSelectionColour = RGB(184, 198, 228);
inline constexpr COLORREF kFocusColour = RGB(201, 162, 39);

struct PaintJob {
  const mv::layout::TextLayout* layout = nullptr;
  GdiMeasurer* measurer = nullptr;
  POINT origin{};          // device point of the layout's (0, 0)
  RECT clip{};             // device rectangle to paint
  COLORREF background = CLR_INVALID;  // CLR_INVALID: leave the background alone
  COLORREF defaultText = CLR_INVALID; // replaces the title's black when set
  COLORREF darkText = CLR_INVALID;    // replaces every dark colour when set (dark backgrounds)
  // Lines reaching below this device y are not drawn, unless one starts at or above
  // `frameTop` (a line taller than the view still shows).
  int visibleBottom = INT_MAX;
  int frameTop = INT_MIN;
  mv::layout::TextRange selection;
  std::vector<mv::layout::TextRange> highlights;
  int32_t focus = -1;
};

void PaintLayout(HDC dc, const PaintJob& job);
bool IsDark(COLORREF colour);

}  // namespace kro::mvdll::display
