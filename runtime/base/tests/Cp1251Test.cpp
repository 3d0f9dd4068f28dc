#include "runtime/base/Cp1251.h"

#include <gtest/gtest.h>

namespace kro {
namespace {

TEST(Cp1251, NarrowLiteralsAreCp1251) {
  // The build's execution charset: every Russian UI string relies on it.
  EXPECT_EQ(std::string_view("Ошибка"), std::string_view("\xCE\xF8\xE8\xE1\xEA\xE0"));
  constexpr auto kOr = KRO_CP1251(u8"ИЛИ ёЁ«»—№");
  EXPECT_EQ(kOr.view(), "\xC8\xCB\xC8 \xB8\xA8\xAB\xBB\x97\xB9");
}

TEST(Cp1251, RoundTripsThroughUtf8) {
  for (int b = 1; b < 256; ++b) {
    if (b == 0x98) continue;  // unassigned in the code page
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
  }
}

TEST(Cp1251, RefusesWhatItCannotHold) {
  size_t bad = 99;
  EXPECT_EQ(Utf8ToCp1251("ab\xE4\xB8\xAD", &bad), std::nullopt);  // a CJK character
  EXPECT_EQ(bad, 2u);
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF", &bad), std::nullopt);  // overlong '/'
  EXPECT_EQ(bad, 0u);
  EXPECT_EQ(Utf8ToCp1251("x\xD0", &bad), std::nullopt);  // truncated sequence
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80", &bad), std::nullopt);  // surrogate
}

TEST(Cp1251, CaseMapping) {
  const struct { uint8_t lower, upper; } kPairs[] = {
      {'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0} /*а А*/, {0xFF, 0xDF} /*я Я*/, {0xB8, 0xA8} /*ё Ё*/,
      {0xB3, 0xB2} /*і І*/, {0xBF, 0xAF} /*ї Ї*/, {0x90, 0x80} /*ђ Ђ*/, {0xA2, 0xA1} /*ў Ў*/,
  };
  for (const auto& p : kPairs) {
    EXPECT_EQ(Cp1251Upper(p.lower), p.upper) << int(p.lower);
    EXPECT_EQ(Cp1251Lower(p.upper), p.lower) << int(p.upper);
    EXPECT_TRUE(Cp1251IsLetter(p.lower));
  }
  for (uint8_t b : {uint8_t('1'), uint8_t('-'), uint8_t(0xAB), uint8_t(0xB9), uint8_t(0x97)}) {
    EXPECT_EQ(Cp1251Upper(b), b);
    EXPECT_EQ(Cp1251Lower(b), b);
    EXPECT_FALSE(Cp1251IsLetter(b));
  }
}

}  // namespace
}  // namespace kro
