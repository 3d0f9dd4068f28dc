#pragma once
// How a picture made of three slices (a first cap, a middle that repeats, a last cap) is
// stretched along one axis: the copies that fill a destination of a given length.
#include <vector>

namespace kro::toolkit {

struct SliceCopy {
  int sourceOffset;
  int destinationOffset;
  int length;
  bool operator==(const SliceCopy&) const = default;
};

// The picture is `extent` pixels long. capSize is clamped into it; a middleSize of 0, or
// one that does not fit after the cap, takes all that follows the cap. Every copy lies
// inside [0, length) of the destination and inside the picture.
std::vector<SliceCopy> PlanSlices(int extent, int capSize, int middleSize, int length);

}  // namespace kro::toolkit
