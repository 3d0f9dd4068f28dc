#pragma once
// Copies of device-dependent bitmaps onto a DC through a memory DC and the program palette,
// and the drawing of the programs' bitmap resources (captions, frames, backgrounds).
#include <windows.h>

namespace kro::toolkit {

// BitBlt of part of `bitmap`; the program palette, when set, is selected and realised in
// both DCs for the copy. False when nothing could be drawn.
bool BlitBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rasterOp);
// The whole bitmap at (x, y), SRCCOPY; the caller keeps the bitmap.
bool DrawBitmapHandle(HDC dc, HBITMAP bitmap, int x, int y);
// A bitmap resource of the program, loaded, drawn whole at (x, y) and freed again.
bool DrawBitmapResource(HDC dc, const char* resourceName, int x, int y);

}  // namespace kro::toolkit
