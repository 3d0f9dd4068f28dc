#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/mediaview/core/Collation.h"

namespace kro::mv {
namespace {

TEST(Collation, RussianReadersOrder) {
  // Digits, then Cyrillic with Ё as Е and case folded, then other Cyrillic, then Latin;
  // signs are skipped.
  const std::vector<std::string> expected = {"007", "1812 год", "Азов", "«Бежин луг»", "волга", "ВОЛГА",
                                             "Ёж", "Еж-рыба", "ёлочка", "Ель", "Яуза", "Ґанок", "Internet", "zoo"};
  std::vector<std::string> shuffled(expected.rbegin(), expected.rend());
  std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());
  std::sort(shuffled.begin(), shuffled.end(), [](const auto& a, const auto& b) { return CompareKeys(a, b) < 0; });
  EXPECT_EQ(shuffled, expected);
}

TEST(Collation, TiesBreakOnlyForEqualBytes) {
  EXPECT_EQ(CompareKeys("Волга", "Волга"), 0);
  EXPECT_LT(CompareKeys("волга", "ВОЛГА"), 0);  // lower case first among equals
  EXPECT_LT(CompareKeys("Еж", "Ёж"), 0);
  EXPECT_LT(CompareKeys("Ан 2", "Ан-2"), 0);    // signs rank by byte
  EXPECT_LT(CompareKeys("Ан", "Ан-2"), 0);
  EXPECT_EQ(PrimaryKey("Ёж"), PrimaryKey("еж"));
  EXPECT_EQ(PrimaryKey("ґанок"), PrimaryKey("Ґанок"));  // every letter of the code page has both cases
  EXPECT_EQ(PrimaryKey("ў"), PrimaryKey("Ў"));
  EXPECT_NE(PrimaryKey("ў"), "");
}

TEST(Collation, PrefixMatching) {
  struct Case {
    const char* key;
    const char* prefix;
    int sign;
  } cases[] = {
      {"Северная Двина", "северная д", 0}, {"Северная Двина", "СЕВ", 0}, {"Ёлка", "ел", 0}, {"Ёлка", "", 0},
      {"Ёлка", "ем", -1},                 {"Азов", "б", -1},            {"Волга", "б", 1}, {"Во", "Волга", -1},
  };
  for (const Case& c : cases) {
    const int r = ComparePrefix(c.key, c.prefix);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.key << " / " << c.prefix;
  }
}

}  // namespace
}  // namespace kro::mv
