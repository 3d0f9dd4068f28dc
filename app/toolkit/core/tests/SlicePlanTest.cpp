#include "app/toolkit/core/SlicePlan.h"

#include <gtest/gtest.h>

namespace kro::toolkit {
namespace {

using Copies = std::vector<SliceCopy>;

TEST(SlicePlan, StretchesWithRepeatedMiddles) {
  const struct {
    const char* what;
    int extent, cap, middle, length;
    Copies expected;
  } kCases[] = {
      // 10 px picture: cap 3, middle 4, last 3.
      {"exactly the picture", 10, 3, 4, 10, {{0, 0, 3}, {3, 3, 4}, {7, 7, 3}}},
      {"two and a half middles", 10, 3, 4, 16, {{0, 0, 3}, {3, 3, 4}, {3, 7, 4}, {3, 11, 2}, {7, 13, 3}}},
      {"one pixel of middle", 10, 3, 4, 7, {{0, 0, 3}, {3, 3, 1}, {7, 4, 3}}},
      {"width minus the middle: no middle", 10, 3, 4, 6, {{0, 0, 3}, {7, 3, 3}}},
      {"shorter than both caps", 10, 3, 4, 4, {{0, 0, 3}, {7, 1, 3}}},
      {"shorter than the last cap", 10, 3, 4, 2, {{0, 0, 2}, {8, 0, 2}}},
      {"middle 0 takes the rest", 8, 2, 0, 20, {{0, 0, 2}, {2, 2, 6}, {2, 8, 6}, {2, 14, 6}}},
      {"cap 0, middle 0 tiles", 5, 0, 0, 12, {{0, 0, 5}, {0, 5, 5}, {0, 10, 2}}},
      {"oversized middle", 10, 3, 40, 12, {{0, 0, 3}, {3, 3, 7}, {3, 10, 2}}},
      {"cap past the picture", 6, 9, 0, 10, {{0, 0, 6}}},
      {"negative cap", 6, -4, 2, 6, {{0, 0, 2}, {2, 2, 4}}},
      {"empty destination", 10, 3, 4, 0, {}},
      {"empty picture", 0, 0, 0, 10, {}},
  };
  for (const auto& c : kCases) EXPECT_EQ(PlanSlices(c.extent, c.cap, c.middle, c.length), c.expected) << c.what;
}

TEST(SlicePlan, CopiesStayInsideDestinationAndPicture) {
  for (int extent = 1; extent <= 12; ++extent)
    for (int cap = -1; cap <= extent + 1; ++cap)
      for (int middle = 0; middle <= extent + 1; ++middle)
        for (int length = 0; length <= 40; ++length)
          for (const SliceCopy& c : PlanSlices(extent, cap, middle, length)) {
            ASSERT_GT(c.length, 0);
            ASSERT_GE(c.destinationOffset, 0);
            ASSERT_LE(c.destinationOffset + c.length, length);
            ASSERT_GE(c.sourceOffset, 0);
            ASSERT_LE(c.sourceOffset + c.length, extent);
          }
}

}  // namespace
}  // namespace kro::toolkit
