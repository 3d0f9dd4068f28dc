#include "app/toolkit/DdbBitmap.h"

#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/DibImage.h"
#include "app/toolkit/ProgramInstance.h"
#include "app/toolkit/core/BitmapFile.h"

namespace kro::toolkit {

bool DdbBitmap::Load(const char* fileName) {
  Destroy();
  DibImage image;
  if (!image.Load(fileName)) return false;
  return Take(image.ToDeviceBitmap());
}

bool DdbBitmap::LoadResource(const char* resourceName) {
  Destroy();
  return Take(UniqueBitmap(LoadBitmapA(ProgramInstance(), resourceName)));
}

// Keeps a bitmap whose size fits the 16-bit fields.
bool DdbBitmap::Take(UniqueBitmap bitmap) {
  BITMAP info{};
  if (!bitmap || GetObjectA(bitmap.Get(), sizeof info, &info) == 0) return false;
  if (info.bmWidth > kMaxBitmapSide || info.bmHeight > kMaxBitmapSide) return false;
  bitmap_ = std::move(bitmap);
  width_ = static_cast<int16_t>(info.bmWidth);
  height_ = static_cast<int16_t>(info.bmHeight);
  return true;
}

void DdbBitmap::Destroy() {
  bitmap_.Reset();
  width_ = height_ = 0;
}

void DdbBitmap::Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rasterOp) const {
  if (!bitmap_) return;
  BlitBitmap(dc, bitmap_.Get(), x, y, width == -1 ? width_ : width, height == -1 ? height_ : height, sourceX, sourceY,
             rasterOp);
}

void DdbBitmap::Draw(HDC dc, const Box& destination, int sourceX, int sourceY, DWORD rasterOp) const {
  Draw(dc, destination.x, destination.y, destination.width, destination.height, sourceX, sourceY, rasterOp);
}

void DdbBitmap::DrawWhole(HDC dc) const { Draw(dc, 0, 0, -1, -1, 0, 0, SRCCOPY); }

}  // namespace kro::toolkit
