#include "app/toolkit/core/PaletteColours.h"

#include "app/toolkit/core/BitmapFile.h"

namespace kro::toolkit {
namespace {

constexpr PaletteColour Rgb(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

// Red steps by 32; each wrap of red steps green by 32; each wrap of green steps blue by 64.
std::vector<PaletteColour> ColourCube() {
  std::vector<PaletteColour> cube;
  cube.reserve(256);
  for (int blue = 0; blue < 256; blue += 64)
    for (int green = 0; green < 256; green += 32)
      for (int red = 0; red < 256; red += 32)
        cube.push_back({static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue)});
  return cube;
}

// Entries 0-8 and 245-255 are the colours Windows reserves on a palette display.
constexpr uint32_t kLowStatic[] = {0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                   0x008080, 0x808080, 0xC0DCC0, 0xA6CAF0};
constexpr uint32_t kHighStatic[] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000};
constexpr uint8_t kRedLevels[] = {0x2A, 0x55, 0x7F, 0xAA, 0xDF, 0xFF};
constexpr uint8_t kGreenLevels[] = {0x00, 0x1F, 0x3F, 0x5F, 0x7F, 0x9F, 0xBF, 0xDF, 0xFF};
constexpr uint8_t kBlueLevels[] = {0x00, 0x55, 0xAA, 0xFF};
// The grid starts ten cells into the red 2A block (entry 9 is 2A3FAA) and runs to entry
// 210, where the pastels take over.
constexpr int kGridFirstEntry = 9;
constexpr int kGridSkippedCells = 10;
constexpr int kPastelFirstEntry = 211;
constexpr uint32_t kPastels[] = {0xCCCCFF, 0xFFCCFF, 0x33FFFF, 0x66FFFF, 0x99FFFF, 0xCCFFFF};
// Entries 217-244: the programs' navy, slate, parchment, gold and red with their pressed,
// hover and disabled shades, then a grey ramp for bevels and smoothed text, so the art
// keeps its colours when it is reduced to this palette.
constexpr uint32_t kOwnColours[] = {
    0x1F2A44, 0x151D30, 0x3B4A6B, 0x2C3852, 0x4F5F85, 0x8A90A0, 0xF4EEDC, 0xE2D9BE, 0xC8C4B8,
    0xC9A227, 0xA8861C, 0xDDB94A, 0xA33B2F, 0x7E2C23, 0x101010, 0x202020, 0x303030, 0x404040,
    0x505050, 0x606060, 0x707070, 0x909090, 0xA8A8A8, 0xB8B8B8, 0xC8C8C8, 0xD8D8D8, 0xE8E8E8,
    0xF4F4F4,
};

std::array<PaletteColour, 256> BuildFixedPalette() {
  std::array<PaletteColour, 256> table{};
  size_t entry = 0;
  for (uint32_t rgb : kLowStatic) table[entry++] = Rgb(rgb);
  int cell = 0;
  for (uint8_t red : kRedLevels)
    for (uint8_t green : kGreenLevels)
      for (uint8_t blue : kBlueLevels) {
        if (cell++ >= kGridSkippedCells && entry < kPastelFirstEntry) table[entry++] = {red, green, blue};
      }
  for (uint32_t rgb : kPastels) table[entry++] = Rgb(rgb);
  for (uint32_t rgb : kOwnColours) table[entry++] = Rgb(rgb);
  for (uint32_t rgb : kHighStatic) table[entry++] = Rgb(rgb);
  return table;
}

static_assert(kGridFirstEntry + 6 * 9 * 4 - kGridSkippedCells > kPastelFirstEntry, "the grid reaches the pastels");
static_assert(std::size(kLowStatic) + (kPastelFirstEntry - kGridFirstEntry) + std::size(kPastels) + std::size(kOwnColours) +
                      std::size(kHighStatic) == 256, "the fixed palette has 256 entries");

}  // namespace

std::vector<PaletteColour> PaletteFromPackedDib(std::span<const uint8_t> packed) {
  const std::optional<DibHeader> header = ReadPackedHeader(packed);
  if (!header) return {};
  if (header->clrUsed == 0) return header->bitCount == 24 ? ColourCube() : std::vector<PaletteColour>{};
  std::vector<PaletteColour> colours;
  colours.reserve(header->clrUsed);
  for (uint32_t i = 0; i < header->clrUsed; ++i) {
    const uint8_t* quad = packed.data() + kInfoHeaderBytes + size_t{i} * 4;  // blue, green, red
    colours.push_back({quad[2], quad[1], quad[0]});
  }
  return colours;
}

const std::array<PaletteColour, 256>& FixedPaletteColours() {
  static const std::array<PaletteColour, 256> kTable = BuildFixedPalette();
  return kTable;
}

}  // namespace kro::toolkit
