#pragma once
// Windows bitmap files read into a packed device-independent bitmap: a 40-byte info
// header, the colour table as 4-byte entries, then the pixel rows, as GDI takes them. The
// grammar and the limits are at the top of BitmapFile.cpp.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::toolkit {

inline constexpr uint32_t kCoreHeaderBytes = 12;
inline constexpr uint32_t kInfoHeaderBytes = 40;
inline constexpr uint32_t kMaxColourCount = 256;
// Sizes are kept as 16-bit values by the bitmap holders.
inline constexpr int32_t kMaxBitmapSide = 32767;

// The info header every loaded bitmap carries, whatever header its file had. After a read,
// sizeImage and clrUsed always hold the real row bytes and colour count.
struct DibHeader {
  uint32_t size = kInfoHeaderBytes;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top-down
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

struct PackedDib {
  DibHeader header;
  std::vector<uint8_t> bytes;  // header, colour table, rows
};

// Reads a bitmap file, with or without its 14-byte file header. Faults name the offset of
// the field at fault.
Result<PackedDib> ReadBitmapFile(std::span<const uint8_t> file);

// Colour count of a header: clrUsed of an info header when not 0, else 2, 16 or 256 for
// 1, 4 and 8 bits per pixel, else 0.
uint32_t ColourCount(const DibHeader& header);
// Colour table bytes: 4 per colour in an info header, 3 in a core header.
uint32_t ColourTableSizeBytes(const DibHeader& header);
// Bytes of one pixel row, padded to 32 bits, or 0 when that would overflow 32 bits.
uint32_t RowSizeBytes(int32_t width, uint16_t bitCount);

// The header at the front of a packed DIB made by ReadBitmapFile, checked against the
// block's size (the colour table and rows must be inside it).
std::optional<DibHeader> ReadPackedHeader(std::span<const uint8_t> packed);
// Offset of the pixel rows in a packed DIB.
inline size_t PackedBitsOffset(const DibHeader& header) { return kInfoHeaderBytes + size_t{header.clrUsed} * 4; }

}  // namespace kro::toolkit
