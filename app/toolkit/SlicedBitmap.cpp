#include "app/toolkit/SlicedBitmap.h"

#include "app/toolkit/core/SlicePlan.h"

namespace kro::toolkit {

bool SlicedBitmap::Load(const char* fileName, int16_t capSize, int16_t middleSize) {
  capSize_ = capSize;
  middleSize_ = middleSize;
  return DdbBitmap::Load(fileName);
}

void SlicedBitmap::DrawHorizontal(HDC dc, int x, int y, int width, int height, int sourceY, DWORD rasterOp) const {
  if (!IsLoaded()) return;
  const int rows = height != 0 ? height : Height();
  for (const SliceCopy& c : PlanSlices(Width(), capSize_, middleSize_, width))
    Draw(dc, x + c.destinationOffset, y, c.length, rows, c.sourceOffset, sourceY, rasterOp);
}

void SlicedBitmap::DrawVertical(HDC dc, int x, int y, int width, int height, int sourceX, DWORD rasterOp) const {
  if (!IsLoaded()) return;
  const int columns = width != 0 ? width : Width();
  for (const SliceCopy& c : PlanSlices(Height(), capSize_, middleSize_, height))
    Draw(dc, x, y + c.destinationOffset, columns, c.length, sourceX, c.sourceOffset, rasterOp);
}

}  // namespace kro::toolkit
