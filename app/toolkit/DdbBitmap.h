#pragma once
// The bitmap holder of the toolkit: a device-dependent bitmap made from a bitmap file (or
// a resource) and drawn through the program palette. An empty holder draws nothing.
#include <windows.h>

#include <cstdint>

#include "app/toolkit/Box.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {

class DdbBitmap {
public:
  DdbBitmap() = default;
  virtual ~DdbBitmap() = default;
  DdbBitmap(DdbBitmap&&) = default;
  DdbBitmap& operator=(DdbBitmap&&) = default;

  // Replaces the bitmap by the file's; a file that cannot be read leaves the holder empty.
  bool Load(const char* fileName);
  // The same from a bitmap resource of the program.
  bool LoadResource(const char* resourceName);
  void Destroy();

  // Copies (sourceX, sourceY, width, height) of the bitmap to (x, y); a width or height
  // of -1 is the bitmap's own.
  void Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rasterOp) const;
  void Draw(HDC dc, const Box& destination, int sourceX, int sourceY, DWORD rasterOp) const;
  // At (0, 0), whole, SRCCOPY.
  void DrawWhole(HDC dc) const;

  bool IsLoaded() const { return static_cast<bool>(bitmap_); }
  HBITMAP Handle() const { return bitmap_.Get(); }
  int16_t Width() const { return width_; }
  int16_t Height() const { return height_; }

private:
  bool Take(UniqueBitmap bitmap);

  UniqueBitmap bitmap_;
  int16_t width_ = 0;
  int16_t height_ = 0;
};

}  // namespace kro::toolkit
