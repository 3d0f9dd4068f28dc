#pragma once
// Decoding of JPEG, PNG, BMP and GIF data through the Windows Imaging Component, into
// top-down 32-bit BGR pixels, and drawing such pixels scaled into a rectangle.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

struct IWICImagingFactory;

namespace kro::qt {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, top row first, 0x00RRGGBB
};

// Pictures larger than this are refused rather than allocated.
constexpr uint64_t kMaxBitmapPixels = 32u << 20;

class Wic {
public:
  Wic() = default;
  ~Wic() { Release(); }
  Wic(const Wic&) = delete;
  Wic& operator=(const Wic&) = delete;

  // Decodes the first frame; transparent pixels are laid over white. False on any failure.
  bool Decode(std::span<const uint8_t> bytes, Bitmap* out);
  // Drops the factory and leaves COM as it found it.
  void Release();

private:
  bool Ready();

  IWICImagingFactory* factory_ = nullptr;
  bool comInitialized_ = false;
};

// Stretches the bitmap into `target` with halftone filtering (plain copy at 1:1).
void DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& target);

}  // namespace kro::qt
