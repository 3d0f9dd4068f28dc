#pragma once
// Writes small 24-bit bitmap files for tests that load pictures by name.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kro::toolkit::testing {

// Each pixel's colour (0xRRGGBB) comes from `colourAt(x, y)`, y counted from the top.
inline bool WritePatternBitmap(const std::string& name, int width, int height,
                               const std::function<unsigned(int x, int y)>& colourAt) {
  const int row = (width * 3 + 3) & ~3, pixels = row * height;
  std::vector<unsigned char> file(54 + pixels, 0);
  auto put = [&](int at, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, 54 + pixels, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < height; ++y)  // rows are stored bottom-up, each pixel as B, G, R
    for (int x = 0; x < width; ++x) put(54 + (height - 1 - y) * row + x * 3, colourAt(x, y), 3);
  std::FILE* out = std::fopen(name.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

inline bool WriteSolidBitmap(const std::string& name, int width, int height, unsigned rgb) {
  return WritePatternBitmap(name, width, height, [rgb](int, int) { return rgb; });
}

}  // namespace kro::toolkit::testing
