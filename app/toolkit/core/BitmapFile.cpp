// Windows bitmap file, all fields little-endian:
//
//   file       := fileHeader? dibHeader colourTable gap? rows
//   fileHeader := "BM" size:u32 reserved:u16 reserved:u16 bitsOffset:u32     (14 bytes)
//                 absent when the file does not start with "BM" (a packed DIB)
//   dibHeader  := coreHeader | infoHeader
//   coreHeader := size:u32=12 width:u16 height:u16 planes:u16 bitCount:u16
//   infoHeader := size:u32 (40, or 52/56/108/124: the later versions, whose extra fields
//                 describe colour spaces and are skipped) width:i32 height:i32 planes:u16
//                 bitCount:u16 compression:u32 sizeImage:u32 xPelsPerMeter:i32
//                 yPelsPerMeter:i32 clrUsed:u32 clrImportant:u32
//   colourTable:= ColourCount entries of blue green red (+ reserved in info headers)
//   rows       := |height| rows of RowSizeBytes(width, bitCount), bottom-up when height > 0,
//                 at bitsOffset from the file's start when that is not 0, else right after
//                 the colour table
//
// Accepted: planes 1; bitCount 1, 4, 8, 16, 24 or 32; compression 0 (uncompressed: the
// run-length forms are refused, GDI would otherwise walk runs we never checked); width
// 1..kMaxBitmapSide; height +-1..kMaxBitmapSide; clrUsed up to 256. The rows must lie
// inside the file. sizeImage is recomputed from the geometry: a file that understates it
// would otherwise let GDI read past the block.
//
// Versions: core (12) and info (40) headers as the oldest files have them; the later info
// header versions are read for their first 40 bytes.
#include "app/toolkit/core/BitmapFile.h"

#include "runtime/base/ByteReader.h"

namespace kro::toolkit {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint16_t kFileMagic = 0x4D42;  // "BM"

bool IsInfoHeaderSize(uint32_t size) {
  return size == kInfoHeaderBytes || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsSupportedBitCount(uint16_t bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

std::string Num(int64_t value) { return std::to_string(value); }

DibHeader ReadCoreHeader(ByteReader& in) {
  DibHeader header;
  header.size = kCoreHeaderBytes;
  header.width = in.U16();
  header.height = in.U16();
  header.planes = in.U16();
  header.bitCount = in.U16();
  return header;
}

DibHeader ReadInfoHeader(ByteReader& in, uint32_t size) {
  DibHeader header;
  header.size = size;
  header.width = in.I32();
  header.height = in.I32();
  header.planes = in.U16();
  header.bitCount = in.U16();
  header.compression = in.U32();
  header.sizeImage = in.U32();
  header.xPelsPerMeter = in.I32();
  header.yPelsPerMeter = in.I32();
  header.clrUsed = in.U32();
  header.clrImportant = in.U32();
  return header;
}

// The fault of a header read at `start`, or nullopt when it is acceptable. Offsets are
// those of the fields in the core (12-byte) or info (40-byte and later) header.
std::optional<ParseError> CheckHeader(const DibHeader& header, uint64_t start) {
  const bool core = header.size == kCoreHeaderBytes;
  const auto field = [&](uint64_t coreOffset, uint64_t infoOffset) { return start + (core ? coreOffset : infoOffset); };
  if (header.planes != 1)
    return ParseError{field(8, 12), ParseCause::BadValue, "planes " + Num(header.planes) + ", expected 1"};
  if (!IsSupportedBitCount(header.bitCount))
    return ParseError{field(10, 14), ParseCause::Unsupported, "bit count " + Num(header.bitCount)};
  // The run-length forms are refused: GDI would walk runs we never checked.
  if (header.compression != 0)
    return ParseError{field(0, 16), ParseCause::Unsupported, "compression " + Num(header.compression)};
  if (header.width < 1 || header.width > kMaxBitmapSide)
    return ParseError{field(4, 4), ParseCause::OutOfLimits,
                      "width " + Num(header.width) + ", expected 1.." + Num(kMaxBitmapSide)};
  if (header.height == 0 || header.height < -kMaxBitmapSide || header.height > kMaxBitmapSide)
    return ParseError{field(6, 8), ParseCause::OutOfLimits,
                      "height " + Num(header.height) + ", expected 1.." + Num(kMaxBitmapSide) + " either way"};
  if (!core && header.clrUsed > kMaxColourCount)
    return ParseError{start + 32, ParseCause::OutOfLimits,
                      "colour count " + Num(header.clrUsed) + ", at most " + Num(kMaxColourCount)};
  return std::nullopt;
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutInfoHeader(std::vector<uint8_t>& out, const DibHeader& h) {
  PutU32(out, h.size);
  PutU32(out, static_cast<uint32_t>(h.width));
  PutU32(out, static_cast<uint32_t>(h.height));
  PutU16(out, h.planes);
  PutU16(out, h.bitCount);
  PutU32(out, h.compression);
  PutU32(out, h.sizeImage);
  PutU32(out, static_cast<uint32_t>(h.xPelsPerMeter));
  PutU32(out, static_cast<uint32_t>(h.yPelsPerMeter));
  PutU32(out, h.clrUsed);
  PutU32(out, h.clrImportant);
}

uint32_t AbsHeight(const DibHeader& header) {
  return static_cast<uint32_t>(header.height < 0 ? -int64_t{header.height} : header.height);
}

}  // namespace

uint32_t ColourCount(const DibHeader& header) {
  if (header.size != kCoreHeaderBytes && header.clrUsed != 0) return header.clrUsed;
  switch (header.bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint32_t ColourTableSizeBytes(const DibHeader& header) {
  return ColourCount(header) * (header.size == kCoreHeaderBytes ? 3 : 4);
}

uint32_t RowSizeBytes(int32_t width, uint16_t bitCount) {
  if (width < 0) return 0;
  const uint64_t bytes = (uint64_t{static_cast<uint32_t>(width)} * bitCount + 31) / 32 * 4;
  return bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

Result<PackedDib> ReadBitmapFile(std::span<const uint8_t> file) {
  ByteReader in(file);
  uint32_t bitsOffset = 0;
  if (file.size() >= 2 && (file[0] | file[1] << 8) == kFileMagic) {
    in.Skip(kFileHeaderBytes - 4);  // magic, size and reserved words
    bitsOffset = in.U32();
    if (!in.ok()) return in.Error("file header");
  }
  const size_t headerStart = in.offset();
  const uint32_t headerSize = in.U32();
  DibHeader header;
  if (headerSize == kCoreHeaderBytes) {
    header = ReadCoreHeader(in);
  } else if (IsInfoHeaderSize(headerSize)) {
    header = ReadInfoHeader(in, headerSize);
    in.Seek(headerStart + headerSize);
  } else if (in.ok()) {
    return ParseError{headerStart, ParseCause::UnknownVersion,
                      "bitmap header size " + Num(headerSize) + ", this reader reads 12, 40, 52, 56, 108 and 124"};
  }
  if (!in.ok()) return in.Error("bitmap header");
  if (auto fault = CheckHeader(header, headerStart)) return *std::move(fault);

  const uint32_t colours = ColourCount(header);
  const size_t tableStart = in.offset();
  ByteReader table = in.Sub(tableStart, ColourTableSizeBytes(header));
  if (!table.ok())
    return ParseError{tableStart, ParseCause::Truncated,
                      "colour table of " + Num(colours) + " colours needs " + Num(ColourTableSizeBytes(header)) +
                          " bytes, " + Num(file.size() - tableStart) + " left"};

  const uint64_t rowBytes = uint64_t{RowSizeBytes(header.width, header.bitCount)} * AbsHeight(header);
  const uint64_t rowsStart = bitsOffset != 0 ? bitsOffset : tableStart + ColourTableSizeBytes(header);
  if (!RangeFits(rowsStart, rowBytes, file.size()))
    return ParseError{std::min<uint64_t>(rowsStart, file.size()), ParseCause::Truncated,
                      "pixel rows need " + Num(static_cast<int64_t>(rowBytes)) + " bytes at " +
                          Num(static_cast<int64_t>(rowsStart)) + ", the file has " +
                          Num(static_cast<int64_t>(file.size()))};

  const bool core = header.size == kCoreHeaderBytes;
  header.size = kInfoHeaderBytes;
  header.sizeImage = static_cast<uint32_t>(rowBytes);
  header.clrUsed = colours;
  if (core) header.clrImportant = colours;

  PackedDib dib;
  dib.header = header;
  dib.bytes.reserve(kInfoHeaderBytes + colours * 4 + rowBytes);
  PutInfoHeader(dib.bytes, header);
  for (uint32_t i = 0; i < colours; ++i) {
    const auto entry = table.Bytes(core ? 3 : 4);
    dib.bytes.insert(dib.bytes.end(), entry.begin(), entry.begin() + 3);
    dib.bytes.push_back(0);  // the reserved byte GDI expects to be 0
  }
  const auto rows = file.subspan(static_cast<size_t>(rowsStart), static_cast<size_t>(rowBytes));
  dib.bytes.insert(dib.bytes.end(), rows.begin(), rows.end());
  return dib;
}

std::optional<DibHeader> ReadPackedHeader(std::span<const uint8_t> packed) {
  ByteReader in(packed);
  const uint32_t size = in.U32();
  if (size != kInfoHeaderBytes) return std::nullopt;
  const DibHeader header = ReadInfoHeader(in, size);
  if (!in.ok() || CheckHeader(header, 0)) return std::nullopt;
  const uint64_t needed = uint64_t{RowSizeBytes(header.width, header.bitCount)} * AbsHeight(header);
  if (header.sizeImage < needed || !RangeFits(PackedBitsOffset(header), header.sizeImage, packed.size())) return std::nullopt;
  return header;
}

}  // namespace kro::toolkit
