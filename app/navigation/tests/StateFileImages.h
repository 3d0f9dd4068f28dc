#pragma once
// The exact bytes of the state files for one set of bookmarks and one last position. Every
// build must write these: the native tests produce them through the portable model, the
// Wine-hosted tests of each Windows build through the program's own file code.
#include <cstdint>
#include <vector>

#include "app/navigation/StateFiles.h"

namespace kro::navigation::images {

// A named topic deep in the title and an unnamed one known by its topic number, with
// values whose every byte differs, so a swapped, narrowed or widened field shows.
inline const std::vector<Bookmark>& Bookmarks() {
  static const std::vector<Bookmark> marks = {
      {"\xC2\xEE\xEB\xE3\xE0", {1, 0x00012345, 0x0280, 1, 0, 0}},  // "Волга"
      {"x", {1, 0x7FFFFFFE, -2, 0, 4711, 0}},
  };
  return marks;
}

inline const std::vector<uint8_t>& BookmarkFile() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> b = {2};
    const auto record = [&b](std::vector<uint8_t> name, std::vector<uint8_t> entry) {
      name.resize(32, 0);
      b.insert(b.end(), name.begin(), name.end());
      b.insert(b.end(), entry.begin(), entry.end());
    };
    record({0xC2, 0xEE, 0xEB, 0xE3, 0xE0},
           {1, 0, 0, 0, 0x45, 0x23, 0x01, 0, 0x80, 0x02, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    record({'x'}, {1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0x7F, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x67, 0x12, 0, 0, 0, 0, 0, 0});
    return b;
  }();
  return bytes;
}

// The last position of an unnamed topic: named flag 0, the topic number in its place.
inline constexpr HistoryEntry kLastPosition{1, 0x00030201, 37, 0, 12, 0};
inline const std::vector<uint8_t> kLastPositionFile = {
    1, 0, 0, 0, 0x01, 0x02, 0x03, 0, 37, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0};

}  // namespace kro::navigation::images
