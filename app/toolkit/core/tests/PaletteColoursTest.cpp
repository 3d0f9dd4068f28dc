#include "app/toolkit/core/PaletteColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/toolkit/core/BitmapFile.h"

namespace kro::toolkit {
namespace {

PaletteColour Rgb(uint32_t rgb) { return {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)}; }

std::vector<uint8_t> PackedTestFile(const std::string& name) {
  std::ifstream in(std::string(KRO_TOOLKIT_BITMAPS) + "/" + name, std::ios::binary);
  const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto dib = ReadBitmapFile(file);
  EXPECT_TRUE(dib) << dib.error().ToString();
  return dib ? dib->bytes : std::vector<uint8_t>{};
}

TEST(FixedPalette, HoldsTheStaticColoursTheGridAndThePastels) {
  const auto& table = FixedPaletteColours();
  const std::pair<int, uint32_t> kEntries[] = {
      {0, 0x800000}, {8, 0xA6CAF0},   {9, 0x2A3FAA},   {34, 0x2AFFFF},  {35, 0x550000},  {143, 0xDF0000},
      {210, 0xFFDFFF}, {211, 0xCCCCFF}, {216, 0xCCFFFF}, {245, 0xFFFBF0}, {246, 0xA0A0A4}, {255, 0x000000},
  };
  for (const auto& [index, rgb] : kEntries) EXPECT_EQ(table[index], Rgb(rgb)) << index;
}

TEST(FixedPalette, KeepsTheProgramsOwnColours) {
  const auto& table = FixedPaletteColours();
  for (uint32_t rgb : {0x1F2A44u, 0x3B4A6Bu, 0xF4EEDCu, 0xC9A227u, 0xA33B2Fu})
    EXPECT_NE(std::find(table.begin(), table.end(), Rgb(rgb)), table.end()) << std::hex << rgb;
}

TEST(BitmapPalette, ComesFromTheColourTable) {
  const auto colours = PaletteFromPackedDib(PackedTestFile("t4.bmp"));
  ASSERT_EQ(colours.size(), 16u);
  EXPECT_EQ(colours[0], Rgb(0x1F2A44));  // ImageMagick's first table entry
}

TEST(BitmapPalette, TrueColourBitmapGetsTheColourCube) {
  const auto cube = PaletteFromPackedDib(PackedTestFile("t24.bmp"));
  ASSERT_EQ(cube.size(), 256u);
  EXPECT_EQ(cube[0], Rgb(0x000000));
  EXPECT_EQ(cube[1], Rgb(0x200000));   // red steps first
  EXPECT_EQ(cube[8], Rgb(0x002000));   // then green
  EXPECT_EQ(cube[64], Rgb(0x000040));  // then blue by 64
  EXPECT_EQ(cube[255], Rgb(0xE0E0C0));
}

TEST(BitmapPalette, NothingForOtherBlocks) {
  EXPECT_TRUE(PaletteFromPackedDib({}).empty());
  std::vector<uint8_t> packed = PackedTestFile("t24.bmp");
  packed[14] = 32;  // a 32-bit bitmap has no table and no cube
  EXPECT_TRUE(PaletteFromPackedDib(packed).empty());
}

}  // namespace
}  // namespace kro::toolkit
