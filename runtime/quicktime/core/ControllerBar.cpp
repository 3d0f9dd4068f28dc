#include "runtime/quicktime/core/ControllerBar.h"

#include <algorithm>
#include <cstdio>

namespace kro::qt {

BarLayout LayoutBar(int left, int top, int width) {
  BarLayout l;
  const int bottom = top + kBarHeight;
  l.bar = {left, top, left + width, bottom};
  l.button = {left, top, left + std::min(width, kBarHeight), bottom};
  const int textLeft = std::max(l.button.right, left + width - kBarTextWidth);
  l.text = {textLeft, top, left + width, bottom};
  l.track = {l.button.right + 4, top + 4, std::max(l.button.right + 4, textLeft - 4), bottom - 4};
  return l;
}

uint32_t TimeAtX(const BarLayout& layout, int x, uint32_t duration) {
  const int span = layout.track.right - layout.track.left - kThumbWidth;
  if (span <= 0 || duration == 0) return 0;
  const int along = std::clamp(x - layout.track.left - kThumbWidth / 2, 0, span);
  return static_cast<uint32_t>(uint64_t(duration) * uint32_t(along) / uint32_t(span));
}

int ThumbLeft(const BarLayout& layout, uint32_t time, uint32_t duration) {
  const int span = std::max(0, layout.track.right - layout.track.left - kThumbWidth);
  if (duration == 0) return layout.track.left;
  const uint64_t clamped = std::min(time, duration);
  return layout.track.left + static_cast<int>(clamped * uint32_t(span) / duration);
}

std::string ElapsedText(uint32_t time, uint32_t timeScale) {
  const uint32_t seconds = timeScale ? time / timeScale : 0;
  char text[16];
  std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  return text;
}

}  // namespace kro::qt
