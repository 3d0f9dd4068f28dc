// Fuzz target: the bookmark and last-position readers; the first byte picks the reader.
#include <cstddef>
#include <cstdint>

#include "app/navigation/StateFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> rest(data + 1, size - 1);
  if (data[0] & 1) {
    const auto marks = kro::navigation::ParseBookmarks(rest).Recovered();
    if (marks.size() > kro::navigation::kMaxBookmarks) __builtin_trap();
    kro::navigation::SerializeBookmarks(marks);
  } else {
    const auto last = kro::navigation::ParseLastPosition(rest);
    if (last.ok() != (rest.size() >= kro::navigation::kHistoryEntryBytes)) __builtin_trap();
  }
  return 0;
}
