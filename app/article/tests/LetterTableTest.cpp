#include "app/article/LetterTable.h"

#include <gtest/gtest.h>

#include <string>

namespace kro::article {
namespace {

// cp1251 bytes spelled out, so the test reads the same under every compiler.
std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(LetterTable, BarCommandsRunFromAToJa) {
  EXPECT_EQ(LetterForCommand(0).index, 9);
  EXPECT_STREQ(LetterForCommand(0).folder, "a");
  EXPECT_EQ(LetterForCommand(16).index, 25);
  EXPECT_STREQ(LetterForCommand(16).folder, "r");
  EXPECT_EQ(LetterForCommand(29).index, 38);
  EXPECT_STREQ(LetterForCommand(29).folder, "ja");
  EXPECT_EQ(LetterForCommand(-1).index, -1);
  EXPECT_EQ(LetterForCommand(30).index, -1);
  EXPECT_STREQ(LetterForCommand(30).folder, "");
  for (int k = 0; k < kLetterCount; ++k) EXPECT_EQ(LetterForCommand(k).index, kFirstLetterIndex + k);
}

TEST(LetterTable, FirstCyrillicLetterOfEitherCase) {
  struct Case {
    std::string title;
    int index;
    const char* folder;
  };
  const Case cases[] = {
      {Bytes({0xC0, 0xE7, 0xEE, 0xE2}), 9, "a"},        // Азов
      {Bytes({0xE0}), 9, "a"},                          // а
      {Bytes({0xD9}), 34, "she"},                       // Щ
      {Bytes({0xDA}), 35, "y"},                         // Ъ
      {Bytes({0xFB}), 35, "y"},                         // ы
      {Bytes({0xDC}), 35, "y"},                         // Ь
      {Bytes({0xDD}), 36, "ie"},                        // Э
      {Bytes({0xFF}), 38, "ja"},                        // я
      {"1812 " + Bytes({0xE3, 0xEE, 0xE4}), 12, "g"},   // 1812 год
      {Bytes({0xA8, 0xEB, 0xEA, 0xE0}), 20, "l"},       // Ёлка: Ё lies below А
      {"\xAB" + Bytes({0xC1}), 10, "b"},                // «Б
  };
  for (const Case& c : cases) {
    const auto letter = LetterOfTitle(c.title);
    ASSERT_TRUE(letter.has_value()) << c.folder;
    EXPECT_EQ(letter->index, c.index) << c.folder;
    EXPECT_STREQ(letter->folder, c.folder);
  }
  EXPECT_FALSE(LetterOfTitle("Internet").has_value());
  EXPECT_FALSE(LetterOfTitle("").has_value());
  EXPECT_FALSE(LetterOfTitle(Bytes({0xA8, 0xB8})).has_value());  // Ё ё only
}

}  // namespace
}  // namespace kro::article
