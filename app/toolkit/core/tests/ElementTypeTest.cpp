#include "app/toolkit/core/ElementType.h"

#include <gtest/gtest.h>

namespace kro::toolkit {
namespace {

TEST(ElementType, KeywordsMatchExactlyAndRoundTrip) {
  for (int16_t type = 1; type <= 9; ++type) EXPECT_EQ(ElementTypeFromKeyword(ElementTypeKeyword(type)), type);
  EXPECT_EQ(ElementTypeFromKeyword("SELECTCHECKER"), kElementSelectChecker);
  EXPECT_EQ(ElementTypeFromKeyword("text"), kElementNone);
  EXPECT_EQ(ElementTypeFromKeyword("TEXT "), kElementNone);
  EXPECT_EQ(ElementTypeFromKeyword("ITEMS"), kElementNone);
  EXPECT_EQ(ElementTypeKeyword(0), "");
  EXPECT_EQ(ElementTypeKeyword(10), "");
}

TEST(ElementType, PictureTypesAreDecorations) {
  const bool kExpected[] = {false, false, true, true, false, true, true, true, true, false};
  for (int16_t type = 0; type <= 9; ++type) EXPECT_EQ(IsDecorationType(type), kExpected[type]) << type;
}

}  // namespace
}  // namespace kro::toolkit
