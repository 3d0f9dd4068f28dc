#pragma once
// Logical palettes: the program palette that every bitmap of the toolkit is drawn through
// on a 256-colour display, the fixed palette of the main window, and the selection of the
// program palette around a copy.
#include <windows.h>

#include <span>

#include "app/toolkit/core/PaletteColours.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {

// The process-wide drawing palette, or null (borrowed: the toolkit owns it).
HPALETTE ProgramPalette();
// Makes `palette` the program palette and deletes the previous one. A null palette (a
// failed creation) leaves the program palette as it was.
void SetProgramPalette(UniquePalette palette);
// Reads a bitmap file and makes a palette of its colours the program palette; false and
// no change when the file gives no palette.
bool LoadProgramPalette(const char* fileName);

// A LOGPALETTE (version 0x300) of the colours, each with `flags`; null for none.
UniquePalette CreatePaletteOf(std::span<const PaletteColour> colours, BYTE flags);
// The fixed palette for a display: as many entries as its palette has (all 256 on a
// display without one), each PC_RESERVED.
UniquePalette CreateFixedPalette(HDC dc);

// Selects and realises the program palette (in the foreground) in a DC for the guard's
// lifetime; does nothing while there is no program palette.
class ProgramPaletteSelection {
public:
  explicit ProgramPaletteSelection(HDC dc);
  ProgramPaletteSelection(const ProgramPaletteSelection&) = delete;
  ProgramPaletteSelection& operator=(const ProgramPaletteSelection&) = delete;

private:
  PaletteGuard guard_;
};

}  // namespace kro::toolkit
