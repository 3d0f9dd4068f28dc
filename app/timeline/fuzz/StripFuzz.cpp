// Fuzz target: the strip picture header and the region file; the first byte picks.
#include <cstddef>
#include <cstdint>

#include "app/timeline/StripModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> rest(data + 1, size - 1);
  if (data[0] & 1) {
    if (const auto header = kro::timeline::ParseStripHeader(rest)) {
      if (const auto plan = kro::timeline::PlanCache(header->width, header->height, header->frames, 598)) {
        kro::timeline::StripScroller scroller(*header, *plan, 598, [](int, int) { return true; });
        scroller.LoadFirstFrames();
        scroller.Scroll(4, kro::timeline::kScrollMax);
      }
    }
  } else {
    const auto regions = kro::timeline::ParseRegions(rest).Recovered();
    kro::timeline::HitRegion(regions, 100, 10);
  }
  return 0;
}
