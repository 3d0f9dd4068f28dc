#pragma once
// Turns a version 2 index (SearchIndexBuilder's version 2) into the one version 1 would have
// written over the same texts: the header without the pair sections, whose bytes stay
// behind unreferenced. Titles written before the pairs carry such indexes.
#include <cstdint>
#include <vector>

#include "runtime/mediaview/core/search/IndexLayout.h"

namespace kro::search {

inline std::vector<uint8_t> AsVersion1(const std::vector<uint8_t>& index) {
  const size_t cut = (layout::kSectionCount - layout::kFirstVersionSections) * 8;
  const size_t header = layout::HeaderBytes(1);
  if (index.size() < header + cut) return index;
  std::vector<uint8_t> out(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(header));
  out.insert(out.end(), index.begin() + static_cast<std::ptrdiff_t>(header + cut), index.end());
  out[8] = 1;
  for (size_t s = 0; s < layout::kFirstVersionSections; ++s) {
    const size_t at = 24 + s * 8;
    const uint32_t offset = (out[at] | out[at + 1] << 8 | out[at + 2] << 16 | static_cast<uint32_t>(out[at + 3]) << 24) -
                            static_cast<uint32_t>(cut);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(offset >> (8 * i));
  }
  return out;
}

}  // namespace kro::search
