#include "app/archive/HelpText.h"

#include <gtest/gtest.h>

namespace kro::archive {
namespace {

TEST(HelpText, EveryLineEndBecomesCrLfAndTheTextEndsAtNul) {
  const struct { std::string_view in, out; } kCases[] = {
      {"", ""},
      {"one", "one"},
      {"a\r\nb", "a\r\nb"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb"},
      {"a\n\r\nb", "a\r\n\r\nb"},
      {"a\r\rb", "a\r\n\r\nb"},
      {"\r", "\r\n"},
      {std::string_view("a\nb\0hidden\n", 11), "a\r\nb"},
  };
  for (const auto& c : kCases) EXPECT_EQ(EditControlText(c.in), c.out) << testing::PrintToString(std::string(c.in));
}

}  // namespace
}  // namespace kro::archive
