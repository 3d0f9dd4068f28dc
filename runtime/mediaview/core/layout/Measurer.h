#pragma once
// What the layout needs to know about a device: font metrics, the advance of every cp1251
// character of a font, the size of pictures, and the resolution that turns twips into
// pixels. The screen, a printer and the tests each provide one.
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/mediaview/core/RichText.h"

namespace kro::mv::layout {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct FontMetrics {
  int ascent = 0;   // device pixels above the baseline
  int descent = 0;  // below it
  int leading = 0;  // extra space the font asks for between lines
  std::array<int16_t, 256> advance{};  // advance of each cp1251 byte
  // Pair kerning: (first << 8 | second, adjustment), sorted; empty when the font is not kerned.
  std::vector<std::pair<uint16_t, int16_t>> kerning;

  int Kern(uint8_t first, uint8_t second) const;
};

class Measurer {
public:
  virtual ~Measurer() = default;
  // The reference stays valid for the measurer's life.
  virtual const FontMetrics& Metrics(const CharFormat& format) = 0;
  // Natural size of a picture in device pixels; {0, 0} when it cannot be drawn.
  virtual Size PictureSize(std::string_view name) = 0;
  virtual int DotsPerInch() const = 0;
};

}  // namespace kro::mv::layout
