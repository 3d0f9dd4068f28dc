#include "app/timeline/tests/StripFiles_win.h"

#include <algorithm>
#include <cstring>

#include "runtime/base/ByteWriter.h"
#include "runtime/base/FileIo_win.h"

namespace kro::timeline::testing {
namespace {

void PutLE16(uint8_t* out, uint16_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

COLORREF FrameColour(int frame) {
  const int i = frame % 255 + 1;
  return RGB((i * 37) & 0xFF, (i * 91) & 0xFF, (i * 53 + 40) & 0xFF);
}

bool WriteStripFile(const std::string& path, int frames, int width, int height, int keepFrames) {
  const size_t frameBytes = static_cast<size_t>(width) * height;
  const size_t kept = static_cast<size_t>(keepFrames < 0 ? frames : keepFrames);
  std::vector<uint8_t> b(kStripPixelsOffset + kept * frameBytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLE16(&b[8], static_cast<uint16_t>(frames));
  PutLE32(&b[10], kStripPixelsOffset);
  PutLE32(&b[14], 40);
  PutLE32(&b[18], static_cast<uint32_t>(width));
  PutLE32(&b[22], static_cast<uint32_t>(height * frames));
  PutLE16(&b[26], 1);
  PutLE16(&b[28], 8);
  for (int i = 1; i < 256; ++i) {
    const COLORREF c = FrameColour(i - 1);
    uint8_t* quad = &b[54 + 4 * i];
    quad[0] = GetBValue(c);
    quad[1] = GetGValue(c);
    quad[2] = GetRValue(c);
  }
  for (size_t f = 0; f < kept; ++f)
    std::memset(&b[kStripPixelsOffset + f * frameBytes], static_cast<int>(f % 255 + 1), frameBytes);
  return ReplaceFileContents(path, b);
}

bool WriteRegionFile(const std::string& path, const std::vector<Region>& regions) {
  std::vector<uint8_t> b(2 + regions.size() * 48, 0);
  PutLE16(&b[0], static_cast<uint16_t>(regions.size()));
  for (size_t i = 0; i < regions.size(); ++i) {
    uint8_t* at = &b[2 + i * 48];
    PutLE32(at, static_cast<uint32_t>(regions[i].left));
    PutLE32(at + 4, static_cast<uint32_t>(regions[i].top));
    PutLE32(at + 8, static_cast<uint32_t>(regions[i].right));
    PutLE32(at + 12, static_cast<uint32_t>(regions[i].bottom));
    std::memcpy(at + 16, regions[i].context.data(), std::min<size_t>(regions[i].context.size(), 31));
  }
  return ReplaceFileContents(path, b);
}

}  // namespace kro::timeline::testing
