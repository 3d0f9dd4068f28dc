#include "tests/support/Canvas_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kro::wintest {

Canvas::Canvas(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<uint32_t*>(bits);
  previous_ = SelectObject(dc_.Get(), bitmap_.Get());
  const uint32_t pixel = uint32_t(GetRValue(fill)) << 16 | uint32_t(GetGValue(fill)) << 8 | GetBValue(fill);
  std::fill(bits_, bits_ + width * height, pixel);
}

Canvas::~Canvas() { SelectObject(dc_.Get(), previous_); }

uint32_t Canvas::Rgb(int x, int y) const {
  GdiFlush();
  return bits_[y * width_ + x] & 0xFFFFFF;
}

COLORREF Canvas::At(int x, int y) const {
  const uint32_t v = Rgb(x, y);
  return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
}

int Canvas::Count(COLORREF colour, const RECT& area) const {
  int n = 0;
  for (int y = std::max<int>(0, area.top); y < std::min<int>(height_, area.bottom); ++y)
    for (int x = std::max<int>(0, area.left); x < std::min<int>(width_, area.right); ++x) n += At(x, y) == colour;
  return n;
}

int Canvas::CountNot(COLORREF colour, const RECT& area) const {
  const int w = std::max(0, std::min<int>(width_, area.right) - std::max<int>(0, area.left));
  const int h = std::max(0, std::min<int>(height_, area.bottom) - std::max<int>(0, area.top));
  return w * h - Count(colour, area);
}

COLORREF WindowPixel(HWND window, POINT point) {
  WindowDc dc(window);
  return GetPixel(dc.Get(), point.x, point.y);
}

::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance) {
  const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
  const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
  const int db = std::abs(GetBValue(actual) - GetBValue(expected));
  if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
  char text[64];
  std::snprintf(text, sizeof text, "%d,%d,%d vs %d,%d,%d", GetRValue(actual), GetGValue(actual), GetBValue(actual),
                GetRValue(expected), GetGValue(expected), GetBValue(expected));
  return ::testing::AssertionFailure() << text;
}

}  // namespace kro::wintest
