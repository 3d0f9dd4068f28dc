// Bitmap files from disk and from list descriptions: the reader must refuse or accept any
// bytes without reading outside them, and what it accepts must be a consistent packed DIB.
#include <cstdlib>

#include "app/toolkit/core/BitmapFile.h"
#include "app/toolkit/core/PaletteColours.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto result = kro::toolkit::ReadBitmapFile({data, size});
  if (!result) {
    if (result.error().offset > size) std::abort();
    return 0;
  }
  const auto& packed = result->bytes;
  const std::optional<kro::toolkit::DibHeader> header = kro::toolkit::ReadPackedHeader(packed);
  if (!header || kro::toolkit::PackedBitsOffset(*header) + header->sizeImage != packed.size()) std::abort();
  const auto palette = kro::toolkit::PaletteFromPackedDib(packed);
  if (palette.size() != header->clrUsed && !(header->clrUsed == 0 && header->bitCount == 24 && palette.size() == 256))
    std::abort();
  return 0;
}
