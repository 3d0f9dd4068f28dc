#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/DdbBitmap.h"
#include "app/toolkit/DibImage.h"
#include "app/toolkit/Palette.h"
#include "app/toolkit/SlicedBitmap.h"
#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Canvas_win.h"

namespace kro::toolkit {
namespace {

constexpr uint32_t kGrey = 0x808080;
const uint32_t kRgb5x2[2][5] = {{0x1F2A44, 0xC9A227, 0xF4EEDC, 0xA33B2F, 0xFFFFFF},
                                {0x000000, 0x3B4A6B, 0xFF0000, 0x00FF00, 0x0000FF}};

std::string Sample(const char* name) { return std::string("bitmaps\\") + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) { return ReadWholeFile(path).value_or(std::vector<uint8_t>{}); }
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) { ASSERT_TRUE(ReplaceFileContents(path, bytes)); }

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A 32-bit bitmap file of 0xRRGGBB pixels given top row first, stored bottom-up unless
// asked otherwise.
std::vector<uint8_t> BitmapFileOf(int width, int height, const std::vector<uint32_t>& pixels, bool topDown = false) {
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, uint32_t(54 + pixels.size() * 4));
  Put32(out, 0);
  Put32(out, 54);
  const uint32_t storedHeight = uint32_t(topDown ? -height : height);
  for (uint32_t v : {40u, uint32_t(width), storedHeight, 0x00200001u, 0u, 0u, 0u, 0u, 0u, 0u}) Put32(out, v);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) Put32(out, pixels[size_t(y * width + x)]);
  }
  return out;
}

// Canvases start grey, so that what is not drawn shows.
class Canvas : public wintest::Canvas {
public:
  Canvas(int width, int height) : wintest::Canvas(width, height, RGB(0x80, 0x80, 0x80)) {}
  uint32_t At(int x, int y) const { return Rgb(x, y); }
  // Keeps what was drawn as a bitmap file, for looking at.
  void Save(const std::string& path, int height) const {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < Width(); ++x) pixels.push_back(Rgb(x, y));
    WriteBytes(path, BitmapFileOf(Width(), height, pixels));
  }
};

TEST(DibImage, LoadsFilesOfEveryDepthAndHeader) {
  const struct {
    const char* file;
    uint32_t colours;
    LONG width;
  } kCases[] = {{"t1.bmp", 2, 5},   {"t4.bmp", 16, 5},       {"t8.bmp", 256, 20}, {"t24.bmp", 0, 5},
                {"core4.bmp", 16, 5}, {"packed8.dib", 256, 20}, {"v5.bmp", 0, 5}};
  for (const auto& c : kCases) {
    DibImage image;
    ASSERT_TRUE(image.Load(Sample(c.file).c_str())) << c.file;
    EXPECT_EQ(image.ColourCount(), c.colours) << c.file;
    EXPECT_EQ(image.ColourTableSizeBytes(), c.colours * 4) << c.file;
    const auto header = image.Header();
    ASSERT_TRUE(header) << c.file;
    EXPECT_EQ(header->biSize, 40u) << c.file;
    EXPECT_EQ(header->biWidth, c.width) << c.file;
    EXPECT_EQ(header->biClrUsed, c.colours) << c.file;
    EXPECT_NE(GlobalFlags(image.Block()) & ~GMEM_LOCKCOUNT, GMEM_FIXED | GMEM_DISCARDED) << c.file;
  }
}

TEST(DibImage, UnreadableTruncatedAndForeignFilesLeaveItEmpty) {
  const std::vector<uint8_t> good = ReadBytes(Sample("t8.bmp"));
  ASSERT_FALSE(good.empty());
  WriteBytes("cut.bmp", std::vector<uint8_t>(good.begin(), good.end() - 1));
  const char* kBad[] = {"no-such-file.bmp", "", "cut.bmp", "bitmaps\\rle8.bmp", "bitmaps\\README.md", "bitmaps"};
  for (const char* name : kBad) {
    DibImage image;
    ASSERT_TRUE(image.Load(Sample("t4.bmp").c_str()));
    EXPECT_FALSE(image.Load(name)) << name;
    EXPECT_FALSE(image.IsLoaded()) << name;  // the previous picture is gone too
    EXPECT_EQ(image.ColourCount(), 0u);
    EXPECT_FALSE(image.CreatePalette());
    EXPECT_FALSE(image.ToDeviceBitmap());
  }
  DibImage image;
  EXPECT_FALSE(image.Load(nullptr));
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
  GetPaletteEntries(palette, 0, UINT(entries.size()), entries.data());
  return entries;
}

uint32_t RgbOf(const PALETTEENTRY& e) { return uint32_t(e.peRed) << 16 | e.peGreen << 8 | e.peBlue; }

TEST(DibImage, PaletteFromTheColourTableOrTheCube) {
  DibImage image;
  ASSERT_TRUE(image.Load(Sample("t4.bmp").c_str()));
  UniquePalette table = image.CreatePalette();
  ASSERT_TRUE(table);
  auto entries = EntriesOf(table.Get());
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_EQ(RgbOf(entries[0]), 0x1F2A44u);
  EXPECT_EQ(entries[0].peFlags, 0);

  ASSERT_TRUE(image.Load(Sample("t24.bmp").c_str()));
  UniquePalette cube = image.CreatePalette();
  ASSERT_TRUE(cube);
  entries = EntriesOf(cube.Get());
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(RgbOf(entries[1]), 0x200000u);
  EXPECT_EQ(RgbOf(entries[255]), 0xE0E0C0u);
}

TEST(FixedPalette, HasTheTableEntriesReserved) {
  WindowDc screen(nullptr);
  UniquePalette palette = CreateFixedPalette(screen.Get());
  ASSERT_TRUE(palette);
  const auto entries = EntriesOf(palette.Get());
  const int deviceEntries = GetDeviceCaps(screen.Get(), SIZEPALETTE);
  EXPECT_EQ(entries.size(), deviceEntries > 0 ? std::min<size_t>(size_t(deviceEntries), 256) : 256u);
  const std::pair<size_t, uint32_t> kEntries[] = {{0, 0x800000}, {9, 0x2A3FAA}, {35, 0x550000}, {143, 0xDF0000},
                                                  {211, 0xCCCCFF}, {245, 0xFFFBF0}, {255, 0x000000}};
  for (const auto& [index, rgb] : kEntries) {
    if (index >= entries.size()) continue;
    EXPECT_EQ(RgbOf(entries[index]), rgb) << index;
    EXPECT_EQ(entries[index].peFlags, PC_RESERVED) << index;
  }
}

TEST(DdbBitmap, DrawsTheFilesPixels) {
  for (const char* file : {"t24.bmp", "t4.bmp", "core4.bmp", "v5.bmp"}) {
    DdbBitmap bitmap;
    ASSERT_TRUE(bitmap.Load(Sample(file).c_str())) << file;
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 2);
    Canvas canvas(8, 4);
    bitmap.DrawWhole(canvas.Dc());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.At(x, y), kRgb5x2[y][x]) << file << " " << x << "," << y;
    EXPECT_EQ(canvas.At(5, 0), kGrey);
    EXPECT_EQ(canvas.At(0, 2), kGrey);
  }
}

TEST(DdbBitmap, TopDownFileDrawsUpright) {
  WriteBytes("topdown.bmp", BitmapFileOf(2, 2, {0xA33B2F, 0xC9A227, 0x1F2A44, 0xF4EEDC}, true));
  DdbBitmap bitmap;
  ASSERT_TRUE(bitmap.Load("topdown.bmp"));
  EXPECT_EQ(bitmap.Height(), 2);
  Canvas canvas(2, 2);
  bitmap.DrawWhole(canvas.Dc());
  EXPECT_EQ(canvas.At(0, 0), 0xA33B2Fu);
  EXPECT_EQ(canvas.At(1, 1), 0xF4EEDCu);
}

TEST(DdbBitmap, DrawsPartsAndOwnSizes) {
  DdbBitmap bitmap;
  ASSERT_TRUE(bitmap.Load(Sample("t24.bmp").c_str()));
  Canvas canvas(8, 4);
  bitmap.Draw(canvas.Dc(), 3, 2, -1, -1, 0, 0, SRCCOPY);  // -1: the bitmap's own size
  EXPECT_EQ(canvas.At(3, 2), kRgb5x2[0][0]);
  EXPECT_EQ(canvas.At(7, 3), kRgb5x2[1][4]);
  bitmap.Draw(canvas.Dc(), Box{0, 0, 2, 1}, 3, 1, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), kRgb5x2[1][3]);
  EXPECT_EQ(canvas.At(1, 0), kRgb5x2[1][4]);
  EXPECT_EQ(canvas.At(2, 0), kGrey);
}

TEST(DdbBitmap, EmptyHolderDrawsNothing) {
  DdbBitmap bitmap;
  ASSERT_TRUE(bitmap.Load(Sample("t24.bmp").c_str()));
  EXPECT_FALSE(bitmap.Load(Sample("rle8.bmp").c_str()));
  EXPECT_FALSE(bitmap.IsLoaded());
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  Canvas canvas(4, 4);
  bitmap.DrawWhole(canvas.Dc());
  bitmap.Draw(canvas.Dc(), 0, 0, 4, 4, 0, 0, BLACKNESS);
  EXPECT_EQ(canvas.At(0, 0), kGrey);
}

// A strip whose every pixel along its length has its own colour, a visible ramp.
uint32_t StripColour(int i) { return uint32_t((30 + 20 * i) << 16 | (200 - 15 * i) << 8 | 0x78); }

TEST(SlicedBitmap, StretchesAlongXOnPixels) {
  std::vector<uint32_t> strip;
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 10; ++i) strip.push_back(StripColour(i) + uint32_t(row));
  WriteBytes("strip10x2.bmp", BitmapFileOf(10, 2, strip));
  SlicedBitmap bitmap;
  ASSERT_TRUE(bitmap.Load("strip10x2.bmp", 3, 4));  // cap 3, middle 4, last 3
  Canvas canvas(20, 3);
  bitmap.DrawHorizontal(canvas.Dc(), 1, 0, 16, 0, 0, SRCCOPY);
  const int kSource[16] = {0, 1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 3, 4, 7, 8, 9};
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(canvas.At(1 + x, 0), StripColour(kSource[x])) << x;
    EXPECT_EQ(canvas.At(1 + x, 1), StripColour(kSource[x]) + 1) << x;
  }
  EXPECT_EQ(canvas.At(0, 0), kGrey);
  EXPECT_EQ(canvas.At(17, 0), kGrey);  // nothing spills past the destination
  EXPECT_EQ(canvas.At(1, 2), kGrey);   // height 0: the bitmap's own two rows
  canvas.Save("sliced-x.bmp", 3);

  Canvas narrow(8, 1);
  bitmap.DrawHorizontal(narrow.Dc(), 0, 0, 6, 1, 1, SRCCOPY);  // width minus the middle: no middle
  const int kCaps[6] = {0, 1, 2, 7, 8, 9};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(narrow.At(x, 0), StripColour(kCaps[x]) + 1) << x;
  EXPECT_EQ(narrow.At(6, 0), kGrey);
}

TEST(SlicedBitmap, StretchesAlongYOnPixels) {
  std::vector<uint32_t> strip;
  for (int i = 0; i < 6; ++i) strip.push_back(StripColour(i));
  WriteBytes("strip1x6.bmp", BitmapFileOf(1, 6, strip));
  SlicedBitmap bitmap;
  ASSERT_TRUE(bitmap.Load("strip1x6.bmp", 0, 0));  // the scroll-track form: tile it all
  Canvas canvas(2, 16);
  bitmap.DrawVertical(canvas.Dc(), 0, 1, 0, 14, 0, SRCCOPY);
  for (int y = 0; y < 14; ++y) EXPECT_EQ(canvas.At(0, 1 + y), StripColour(y % 6)) << y;
  EXPECT_EQ(canvas.At(0, 0), kGrey);
  EXPECT_EQ(canvas.At(0, 15), kGrey);
  EXPECT_EQ(canvas.At(1, 5), kGrey);  // width 0: the bitmap's own one column
}

TEST(BitmapDrawing, ResourcesAndHandlesDrawWhole) {
  Canvas canvas(8, 4);
  ASSERT_TRUE(DrawBitmapResource(canvas.Dc(), "TESTFACE", 2, 1));
  EXPECT_EQ(canvas.At(2, 1), kRgb5x2[0][0]);
  EXPECT_EQ(canvas.At(6, 2), kRgb5x2[1][4]);
  EXPECT_FALSE(DrawBitmapResource(canvas.Dc(), "NOSUCHFACE", 0, 0));
  EXPECT_EQ(canvas.At(0, 0), kGrey);

  DdbBitmap owned;
  ASSERT_TRUE(owned.LoadResource("TESTFACE"));
  EXPECT_EQ(owned.Width(), 5);
  ASSERT_TRUE(DrawBitmapHandle(canvas.Dc(), owned.Handle(), 0, 0));
  EXPECT_EQ(canvas.At(0, 0), kRgb5x2[0][0]);
  EXPECT_TRUE(owned.IsLoaded());  // the caller's bitmap is left alone
}

TEST(ProgramPalette, ReplacedOnlyByARealPalette) {
  SetProgramPalette(UniquePalette());
  const HPALETTE before = ProgramPalette();
  EXPECT_FALSE(LoadProgramPalette("no-such-file.bmp"));
  EXPECT_EQ(ProgramPalette(), before);
  ASSERT_TRUE(LoadProgramPalette(Sample("t4.bmp").c_str()));
  ASSERT_NE(ProgramPalette(), nullptr);
  EXPECT_EQ(EntriesOf(ProgramPalette()).size(), 16u);
  const HPALETTE loaded = ProgramPalette();
  SetProgramPalette(UniquePalette());
  EXPECT_EQ(ProgramPalette(), loaded);

  // Drawing goes through the palette now and still gives the file's colours.
  DdbBitmap bitmap;
  ASSERT_TRUE(bitmap.Load(Sample("t8.bmp").c_str()));
  Canvas canvas(20, 2);
  bitmap.DrawWhole(canvas.Dc());
  EXPECT_EQ(canvas.At(0, 0), 0x0AF505u);  // rgb(10, 245, 5)
  EXPECT_EQ(canvas.At(0, 1), 0xEE1177u);  // the bottom row is mirrored: rgb(238, 17, 119)
}

}  // namespace
}  // namespace kro::toolkit
