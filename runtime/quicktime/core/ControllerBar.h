#pragma once
// Geometry and texts of the movie controller bar: a play/pause button, a position slider
// and the elapsed time, left to right. Portable so the arithmetic is tested natively.
#include <cstdint>
#include <string>

namespace kro::qt {

struct BarBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct BarLayout {
  BarBox bar, button, track, text;
};

constexpr int kBarHeight = 18;
constexpr int kBarTextWidth = 44;  // "00:00" in the bar font with margins
constexpr int kThumbWidth = 7;

// The bar spans [left, left + width) horizontally, starting at `top`.
BarLayout LayoutBar(int left, int top, int width);

// Time under the pointer at `x` on the track (clamped to [0, duration]).
uint32_t TimeAtX(const BarLayout& layout, int x, uint32_t duration);
// Left edge of the thumb for `time`.
int ThumbLeft(const BarLayout& layout, uint32_t time, uint32_t duration);

// "m:ss" of a time value, truncated to whole seconds.
std::string ElapsedText(uint32_t time, uint32_t timeScale);

}  // namespace kro::qt
