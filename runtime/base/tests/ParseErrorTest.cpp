#include "runtime/base/ParseError.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/base/Result.h"

namespace kro {
namespace {

TEST(ParseError, PrintsOffsetCauseAndMessage) {
  const struct {
    ParseError error;
    const char* text;
  } kCases[] = {
      {{12, ParseCause::Truncated, ""}, "offset 12: truncated"},
      {{0, ParseCause::BadMagic, "not a title file"}, "offset 0: bad magic: not a title file"},
      {{8, ParseCause::UnknownVersion, "title version 3.0, this runtime reads version 1"},
       "offset 8: unknown version: title version 3.0, this runtime reads version 1"},
      {{1ull << 40, ParseCause::OutOfLimits, "count 7"}, "offset 1099511627776: out of limits: count 7"},
      {{5, ParseCause::Stopped, ""}, "offset 5: stopped"},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.error.ToString(), c.text);
}

// A reader that recovers from damage still fails; only Recovered() hands over what it kept.
TEST(Result, RecoveredGivesWhatAFailedReaderKept) {
  const ParseError fault{57, ParseCause::Truncated, ""};
  EXPECT_EQ(Result<std::vector<int>>(fault, {1, 2}).Recovered(), (std::vector<int>{1, 2}));
  EXPECT_EQ(Result<std::vector<int>>(fault, {1, 2}).value_or({}), std::vector<int>{});
  EXPECT_EQ(Result<std::vector<int>>(fault).Recovered(), std::vector<int>{});
  EXPECT_EQ(Result<std::vector<int>>(std::vector<int>{4}).Recovered(), std::vector<int>{4});
  EXPECT_EQ(Result<std::vector<int>>(std::vector<int>{4}).error().message, "no fault");
}

}  // namespace
}  // namespace kro
