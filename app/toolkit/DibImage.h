#pragma once
// A device-independent bitmap read from a file into movable global memory as one packed
// block (info header, colour table, rows). Unreadable, truncated or foreign files leave
// it empty.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {

class DibImage {
public:
  // Bigger files are refused unread: the programs' largest picture, a 640x480 true-colour
  // background, is under 1 MiB (the timeline strip has a reader of its own).
  static constexpr uint32_t kMaxFileBytes = 64u << 20;

  // Frees any previous block first; a null or empty name loads nothing.
  bool Load(const char* fileName);
  bool LoadBytes(std::span<const uint8_t> file);
  void Free() { block_.Reset(); }
  bool IsLoaded() const { return static_cast<bool>(block_); }

  uint32_t ColourCount() const;
  uint32_t ColourTableSizeBytes() const;
  // The info header, with sizeImage and clrUsed filled in.
  std::optional<BITMAPINFOHEADER> Header() const;
  // A palette of the colour table, or the colour cube of a 24-bit bitmap; null otherwise.
  UniquePalette CreatePalette() const;
  // A bitmap for the screen, made through the program palette; null when empty.
  UniqueBitmap ToDeviceBitmap() const;
  HGLOBAL Block() const { return block_.Get(); }

private:
  UniqueGlobal block_;
};

}  // namespace kro::toolkit
