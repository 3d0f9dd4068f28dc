#include "app/toolkit/core/SlicePlan.h"

#include <algorithm>

namespace kro::toolkit {

std::vector<SliceCopy> PlanSlices(int extent, int capSize, int middleSize, int length) {
  std::vector<SliceCopy> copies;
  if (extent <= 0 || length <= 0) return copies;
  const int cap = std::clamp(capSize, 0, extent);
  const int middle = middleSize <= 0 || middleSize > extent - cap ? extent - cap : middleSize;
  const int last = extent - cap - middle;
  const auto add = [&copies](int source, int destination, int n) {
    if (n > 0) copies.push_back({source, destination, n});
  };
  if (length > extent - middle && middle > 0) {
    add(0, 0, cap);
    // The final repeat is cut where the last slice starts rather than spilling past the
    // destination.
    for (int at = cap; at < length - last; at += middle) add(cap, at, std::min(middle, length - last - at));
    add(cap + middle, length - last, last);
    return copies;
  }
  // Too short for a middle: the first slice, then the last one right-aligned over it, both
  // cut to the destination.
  add(0, 0, std::min(cap, length));
  const int lastShown = std::min(last, length);
  add(cap + middle + last - lastShown, length - lastShown, lastShown);
  return copies;
}

}  // namespace kro::toolkit
