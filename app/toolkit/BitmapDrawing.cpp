#include "app/toolkit/BitmapDrawing.h"

#include "app/toolkit/Palette.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {

bool BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rasterOp) {
  if (bitmap == nullptr) return false;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return false;
  ProgramPaletteSelection targetPalette(dc);
  ProgramPaletteSelection memoryPalette(memory.Get());
  SelectGuard selected(memory.Get(), bitmap);
  return BitBlt(dc, x, y, width, height, memory.Get(), sourceX, sourceY, rasterOp) != 0;
}

bool DrawBitmapHandle(HDC dc, HBITMAP bitmap, int x, int y) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return false;
  return BlitBitmap(dc, bitmap, x, y, info.bmWidth, info.bmHeight, 0, 0, SRCCOPY);
}

bool DrawBitmapResource(HDC dc, const char* resourceName, int x, int y) {
  const UniqueBitmap bitmap(LoadBitmapA(ProgramInstance(), resourceName));
  return DrawBitmapHandle(dc, bitmap.Get(), x, y);
}

}  // namespace kro::toolkit
