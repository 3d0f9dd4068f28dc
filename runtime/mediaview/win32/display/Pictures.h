#pragma once
// Inline pictures of a title: baggage files (JPEG, PNG, BMP, GIF) decoded once through the
// Windows Imaging Component into 32-bit BGRA rows, top-down, and drawn scaled.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/mediaview/core/Title.h"

namespace kro::mvdll::display {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgra;  // width * height * 4 bytes
};

class PictureCache {
public:
  // nullptr when the title has no such file or it does not decode.
  const Picture* Get(const mv::Title& title, std::string_view name);

private:
  std::map<std::string, std::optional<Picture>, std::less<>> pictures_;
};

// Draws `picture` scaled into the rectangle; nothing when it is null or the rectangle empty.
void DrawPicture(HDC dc, const Picture& picture, const RECT& target);

}  // namespace kro::mvdll::display
