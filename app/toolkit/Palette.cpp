#include "app/toolkit/Palette.h"

#include <algorithm>
#include <vector>

#include "app/toolkit/DibImage.h"

namespace kro::toolkit {
namespace {

UniquePalette& ProgramPaletteStorage() {
  static UniquePalette palette;
  return palette;
}

}  // namespace

HPALETTE ProgramPalette() { return ProgramPaletteStorage().Get(); }

void SetProgramPalette(UniquePalette palette) {
  if (palette) ProgramPaletteStorage() = std::move(palette);
}

bool LoadProgramPalette(const char* fileName) {
  DibImage image;
  if (!image.Load(fileName)) return false;
  UniquePalette palette = image.CreatePalette();
  if (!palette) return false;
  SetProgramPalette(std::move(palette));
  return true;
}

UniquePalette CreatePaletteOf(std::span<const PaletteColour> colours, BYTE flags) {
  if (colours.empty() || colours.size() > 256) return UniquePalette();
  // LOGPALETTE declares one entry; the others follow it in the same block.
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + (colours.size() - 1) * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours.size());
  for (size_t i = 0; i < colours.size(); ++i)
    logical->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, flags};
  return UniquePalette(CreatePalette(logical));
}

UniquePalette CreateFixedPalette(HDC dc) {
  const int deviceEntries = GetDeviceCaps(dc, SIZEPALETTE);
  const size_t entries = deviceEntries > 0 ? std::min<size_t>(static_cast<size_t>(deviceEntries), 256) : 256;
  return CreatePaletteOf(std::span(FixedPaletteColours()).first(entries), PC_RESERVED);
}

ProgramPaletteSelection::ProgramPaletteSelection(HDC dc) : guard_(dc, ProgramPalette(), false) {
  if (ProgramPalette()) RealizePalette(dc);
}

}  // namespace kro::toolkit
