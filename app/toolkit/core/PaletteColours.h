#pragma once
// The colours of the programs' logical palettes, computed without GDI: the palette of a
// loaded bitmap and the fixed 256-colour palette of the main window.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kro::toolkit {

struct PaletteColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const PaletteColour&) const = default;
};

// From a packed DIB: its colour table when it has one; the 256-entry colour cube for a
// 24-bit bitmap without one; empty otherwise (and for a block that is not a packed DIB).
std::vector<PaletteColour> PaletteFromPackedDib(std::span<const uint8_t> packed);

// The fixed palette: the twenty static colours at both ends, a grid over red, green and
// blue levels between them, and the programs' own colours near the top.
const std::array<PaletteColour, 256>& FixedPaletteColours();

}  // namespace kro::toolkit
