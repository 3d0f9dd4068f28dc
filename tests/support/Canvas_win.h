#pragma once
// Pixels the Wine-hosted tests draw into and read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::wintest {

// A 32-bit top-down DIB section in a memory DC, filled with one colour to begin with.
class Canvas {
public:
  Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const;
  // The same pixel as 0xRRGGBB.
  uint32_t Rgb(int x, int y) const;
  // Pixels of `colour` (or of any other colour) inside `area`, clipped to the canvas.
  int Count(COLORREF colour, const RECT& area) const;
  int CountNot(COLORREF colour, const RECT& area) const;

private:
  int width_, height_;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// The pixel on a window's screen DC as it stands (paint first when that matters).
COLORREF WindowPixel(HWND window, POINT point);
// Colours equal within `tolerance` per channel, as decoded pictures are.
::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 12);

}  // namespace kro::wintest
