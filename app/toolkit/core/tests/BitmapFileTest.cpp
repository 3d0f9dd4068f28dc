#include "app/toolkit/core/BitmapFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>

namespace kro::toolkit {
namespace {

std::vector<uint8_t> ReadTestFile(const std::string& name) {
  std::ifstream in(std::string(KRO_TOOLKIT_BITMAPS) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The colour (0xRRGGBB) at x, y counted from the top-left, decoded from a packed DIB.
uint32_t Pixel(const PackedDib& dib, int x, int y) {
  const DibHeader& h = dib.header;
  const int height = h.height < 0 ? -h.height : h.height;
  const int row = h.height > 0 ? height - 1 - y : y;
  const uint8_t* line = dib.bytes.data() + PackedBitsOffset(h) + size_t(row) * RowSizeBytes(h.width, h.bitCount);
  uint32_t index;
  switch (h.bitCount) {
    case 24: return uint32_t(line[x * 3 + 2]) << 16 | line[x * 3 + 1] << 8 | line[x * 3];
    case 8: index = line[x]; break;
    case 4: index = (line[x / 2] >> (x % 2 ? 0 : 4)) & 15; break;
    default: index = (line[x / 8] >> (7 - x % 8)) & 1; break;
  }
  const uint8_t* quad = dib.bytes.data() + kInfoHeaderBytes + index * 4;
  return uint32_t(quad[2]) << 16 | quad[1] << 8 | quad[0];
}

// Pixels of the two source pictures the files were made from (see bitmaps/README.md).
const uint32_t kRgb5x2[2][5] = {{0x1F2A44, 0xC9A227, 0xF4EEDC, 0xA33B2F, 0xFFFFFF},
                                {0x000000, 0x3B4A6B, 0xFF0000, 0x00FF00, 0x0000FF}};
uint32_t Rgb20x2(int x, int y) {
  const int i = y == 0 ? x : 19 - x;
  const uint32_t v = uint32_t(12 * i + 10);
  return v << 16 | (255 - v) << 8 | v / 2;
}

void ExpectPicture(const PackedDib& dib, const std::string& name) {
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < dib.header.width; ++x)
      EXPECT_EQ(Pixel(dib, x, y), dib.header.width == 5 ? kRgb5x2[y][x] : Rgb20x2(x, y)) << name << " at " << x << "," << y;
}

PackedDib MustRead(const std::vector<uint8_t>& bytes, const std::string& name) {
  auto result = ReadBitmapFile(bytes);
  EXPECT_TRUE(result) << name << ": " << result.error().ToString();
  return std::move(result).value_or({});
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (8 * i));
}

TEST(BitmapFile, ReadsImageMagickFilesOfEveryDepthAndHeader) {
  const struct {
    const char* file;
    uint16_t bitCount;
    uint32_t colours;
    int width;
  } kCases[] = {
      {"t4.bmp", 4, 16, 5},     {"t8.bmp", 8, 256, 20},   {"t24.bmp", 24, 0, 5},   {"core4.bmp", 4, 16, 5},
      {"core8.bmp", 8, 256, 20}, {"core24.bmp", 24, 0, 5}, {"v5.bmp", 24, 0, 5},   {"packed8.dib", 8, 256, 20},
  };
  for (const auto& c : kCases) {
    const PackedDib dib = MustRead(ReadTestFile(c.file), c.file);
    EXPECT_EQ(dib.header.size, kInfoHeaderBytes) << c.file;
    EXPECT_EQ(dib.header.bitCount, c.bitCount) << c.file;
    EXPECT_EQ(dib.header.clrUsed, c.colours) << c.file;
    EXPECT_EQ(dib.header.width, c.width) << c.file;
    EXPECT_EQ(dib.header.height, 2) << c.file;
    EXPECT_EQ(dib.header.sizeImage, RowSizeBytes(c.width, c.bitCount) * 2) << c.file;
    EXPECT_EQ(dib.bytes.size(), kInfoHeaderBytes + c.colours * 4 + dib.header.sizeImage) << c.file;
    ExpectPicture(dib, c.file);
  }
}

TEST(BitmapFile, MonochromeFileKeepsItsTwoColours) {
  const PackedDib dib = MustRead(ReadTestFile("t1.bmp"), "t1.bmp");
  EXPECT_EQ(dib.header.clrUsed, 2u);
  EXPECT_EQ(Pixel(dib, 0, 0), 0x000000u);  // navy falls to black
  EXPECT_EQ(Pixel(dib, 4, 0), 0xFFFFFFu);
  EXPECT_EQ(Pixel(dib, 2, 0), 0xFFFFFFu);  // parchment to white
}

TEST(BitmapFile, FileWithoutFileHeaderGivesTheSameBitmap) {
  EXPECT_EQ(MustRead(ReadTestFile("packed8.dib"), "packed").bytes, MustRead(ReadTestFile("t8.bmp"), "t8").bytes);
}

TEST(BitmapFile, CoreHeaderWidensItsColourTriples) {
  const PackedDib core = MustRead(ReadTestFile("core8.bmp"), "core8");
  const PackedDib info = MustRead(ReadTestFile("t8.bmp"), "t8");
  EXPECT_EQ(core.header.clrImportant, 256u);
  // Same table entries as the info-header file, each with its reserved byte 0.
  EXPECT_EQ(std::vector<uint8_t>(core.bytes.begin() + 40, core.bytes.end()),
            std::vector<uint8_t>(info.bytes.begin() + 40, info.bytes.end()));
}

TEST(BitmapFile, ZeroColourCountMeansTheFullTableOfTheDepth) {
  for (const auto& [file, colours] : {std::pair{"t1.bmp", 2u}, {"t4.bmp", 16u}, {"t8.bmp", 256u}}) {
    std::vector<uint8_t> bytes = ReadTestFile(file);
    PutU32(bytes, 14 + 32, 0);  // biClrUsed
    EXPECT_EQ(MustRead(bytes, file).header.clrUsed, colours) << file;
  }
}

TEST(BitmapFile, RowsAreTakenFromTheFileHeadersOffset) {
  std::vector<uint8_t> bytes = ReadTestFile("t24.bmp");
  bytes.insert(bytes.begin() + 54, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
  PutU32(bytes, 10, 60);
  ExpectPicture(MustRead(bytes, "gap"), "gap");
}

TEST(BitmapFile, TopDownRowsAndUnderstatedImageSizeAreHandled) {
  std::vector<uint8_t> bytes = ReadTestFile("t24.bmp");
  PutU32(bytes, 14 + 20, 4);  // biSizeImage far too small: must not shorten the rows
  PackedDib dib = MustRead(bytes, "small size");
  EXPECT_EQ(dib.header.sizeImage, 32u);
  ExpectPicture(dib, "small size");

  PutU32(bytes, 14 + 8, uint32_t(-2));  // top-down: the stored rows now read the other way up
  dib = MustRead(bytes, "top-down");
  EXPECT_EQ(dib.header.height, -2);
  EXPECT_EQ(Pixel(dib, 0, 1), kRgb5x2[0][0]);
  EXPECT_EQ(Pixel(dib, 0, 0), kRgb5x2[1][0]);
}

// Faults name the field: the header starts at 14 behind the file header.
TEST(BitmapFile, RefusesForeignAndHostileHeaders) {
  const struct {
    const char* what;
    const char* file;
    size_t at;
    uint32_t value;
    const char* error;
  } kCases[] = {
      {"header size 64", "t24.bmp", 14, 64, "offset 14: unknown version: bitmap header size 64, this reader reads 12, 40, 52, 56, 108 and 124"},
      {"two planes", "t24.bmp", 26, 0x00180002, "offset 26: bad value: planes 2, expected 1"},
      {"7 bits", "t24.bmp", 26, 0x00070001, "offset 28: unsupported: bit count 7"},
      {"width 0", "t24.bmp", 18, 0, "offset 18: out of limits: width 0, expected 1..32767"},
      {"huge width", "t24.bmp", 18, 0x7FFFFFFF, "offset 18: out of limits: width 2147483647, expected 1..32767"},
      {"width past limit", "t24.bmp", 18, 32768, "offset 18: out of limits: width 32768, expected 1..32767"},
      {"height 0", "t24.bmp", 22, 0, "offset 22: out of limits: height 0, expected 1..32767 either way"},
      {"most negative height", "t24.bmp", 22, 0x80000000, "offset 22: out of limits: height -2147483648, expected 1..32767 either way"},
      {"huge height", "t24.bmp", 22, 30000, "offset 54: truncated: pixel rows need 480000 bytes at 54, the file has 86"},
      {"257 colours", "t8.bmp", 46, 257, "offset 46: out of limits: colour count 257, at most 256"},
      {"colour count wraps", "t8.bmp", 46, 0xFFFFFFFF, "offset 46: out of limits: colour count 4294967295, at most 256"},
      {"offset past the end", "t24.bmp", 10, 0xFFFFFFF0, "offset 86: truncated: pixel rows need 32 bytes at 4294967280, the file has 86"},
      {"bit fields", "t24.bmp", 30, 3, "offset 30: unsupported: compression 3"},
  };
  for (const auto& c : kCases) {
    std::vector<uint8_t> bytes = ReadTestFile(c.file);
    PutU32(bytes, c.at, c.value);
    const auto result = ReadBitmapFile(bytes);
    ASSERT_FALSE(result) << c.what;
    EXPECT_EQ(result.error().ToString(), c.error) << c.what;
  }
  EXPECT_EQ(ReadBitmapFile(ReadTestFile("rle8.bmp")).error().ToString(), "offset 30: unsupported: compression 1");
  const std::string text = "GIF89a, or any text at all";
  EXPECT_EQ(ReadBitmapFile({reinterpret_cast<const uint8_t*>(text.data()), text.size()}).error().cause, ParseCause::UnknownVersion);
}

// A file cut anywhere is refused as truncated, at or before the cut.
TEST(BitmapFile, EveryTruncationIsRefused) {
  for (const char* file : {"t1.bmp", "t4.bmp", "t8.bmp", "t24.bmp", "core4.bmp", "core8.bmp", "core24.bmp", "v5.bmp", "packed8.dib"}) {
    const std::vector<uint8_t> bytes = ReadTestFile(file);
    ASSERT_FALSE(bytes.empty()) << file;
    for (size_t n = 0; n < bytes.size(); ++n) {
      const auto result = ReadBitmapFile(std::span(bytes).first(n));
      ASSERT_FALSE(result) << file << " cut to " << n;
      // Under four bytes even the header size is gone, which no longer says "bitmap".
      if (n >= 4 || std::string_view(file) == "packed8.dib") continue;
      EXPECT_EQ(result.error().cause, ParseCause::Truncated) << file << " cut to " << n << ": " << result.error().ToString();
    }
  }
  const std::vector<uint8_t> t8 = ReadTestFile("t8.bmp");
  EXPECT_EQ(ReadBitmapFile(std::span(t8).first(60)).error().ToString(),
            "offset 54: truncated: colour table of 256 colours needs 1024 bytes, 6 left");
}

TEST(BitmapFile, PackedHeaderIsCheckedAgainstItsBlock) {
  const PackedDib dib = MustRead(ReadTestFile("t8.bmp"), "t8");
  EXPECT_TRUE(ReadPackedHeader(dib.bytes));
  EXPECT_FALSE(ReadPackedHeader(std::span(dib.bytes).first(dib.bytes.size() - 1)));
  std::vector<uint8_t> understated = dib.bytes;
  PutU32(understated, 20, 8);  // sizeImage below the rows' size
  EXPECT_FALSE(ReadPackedHeader(understated));
}

}  // namespace
}  // namespace kro::toolkit
