#pragma once
// A bitmap for faces that stretch: a first slice, a middle slice repeated as often as the
// destination needs, and a last slice, along x or along y.
#include "app/toolkit/DdbBitmap.h"

namespace kro::toolkit {

class SlicedBitmap : public DdbBitmap {
public:
  // capSize: the first slice; middleSize: the repeated slice, 0 for all that follows the
  // cap. The last slice is what remains.
  bool Load(const char* fileName, int16_t capSize, int16_t middleSize);

  // Fills width x height at (x, y) from the rows starting at sourceY; a height of 0 is
  // the bitmap's.
  void DrawHorizontal(HDC dc, int x, int y, int width, int height, int sourceY, DWORD rasterOp) const;
  // The same along y, from the columns starting at sourceX; a width of 0 is the bitmap's.
  void DrawVertical(HDC dc, int x, int y, int width, int height, int sourceX, DWORD rasterOp) const;

  int16_t CapSize() const { return capSize_; }
  int16_t MiddleSize() const { return middleSize_; }

private:
  int16_t capSize_ = 0;
  int16_t middleSize_ = 0;
};

}  // namespace kro::toolkit
