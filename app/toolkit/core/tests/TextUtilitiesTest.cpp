#include "app/toolkit/core/TextUtilities.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kro::toolkit {
namespace {

TEST(TextUtilities, PrefixMatchAndFind) {
  EXPECT_TRUE(PrefixMatch("abc", "abcdef"));
  EXPECT_TRUE(PrefixMatch("abcdef", "abc"));
  EXPECT_TRUE(PrefixMatch("abc", "abc"));
  EXPECT_TRUE(PrefixMatch("", "abc"));
  EXPECT_FALSE(PrefixMatch("abd", "abc"));
  EXPECT_EQ(PrefixFind("история России", "Рос"), 8);
  EXPECT_EQ(PrefixFind("abcab", "ab"), 0);
  EXPECT_EQ(PrefixFind("xyz", "q"), -1);
  EXPECT_EQ(PrefixFind("", "q"), -1);
}

TEST(TextUtilities, CopyToDelimiterNeverWritesPastTheBuffer) {
  char out[6];
  std::memset(out, '#', sizeof out);
  const char* source = "first|second";
  EXPECT_EQ(CopyToDelimiter(source, '|', out), source + 5);
  EXPECT_STREQ(out, "first");

  char small[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(CopyToDelimiter(source, '|', std::span(small, 3)), source + 5);
  EXPECT_STREQ(small, "fi");
  EXPECT_EQ(small[3], '#');  // outside the span it was given

  EXPECT_EQ(*CopyToDelimiter("no delimiter", '|', out), '\0');
  EXPECT_STREQ(out, "no de");
}

TEST(TextUtilities, PathsSplitAtTheLastBackslash) {
  EXPECT_STREQ(FileNameOfPath("D:\\kro\\pictures\\map.bmp"), "map.bmp");
  EXPECT_STREQ(FileNameOfPath("map.bmp"), "map.bmp");
  char dir[32];
  EXPECT_TRUE(DirectoryOfPath("D:\\kro\\content1.txt", dir));
  EXPECT_STREQ(dir, "D:\\kro\\");
  EXPECT_TRUE(DirectoryOfPath("content1.txt", dir));
  EXPECT_STREQ(dir, "");
  char tiny[7];
  EXPECT_FALSE(DirectoryOfPath("D:\\kro\\content1.txt", tiny));  // "D:\kro\" needs 8 bytes
  EXPECT_STREQ(tiny, "");
  EXPECT_TRUE(DirectoryOfPath("D:\\kr\\x", tiny));
  EXPECT_STREQ(tiny, "D:\\kr\\");
}

TEST(TextUtilities, CapitalisesRussianWords) {
  const std::pair<const char*, const char*> kCases[] = {
      {"МОСКВА", "Москва"},         {"москва", "Москва"},   {"ёЛКА", "Ёлка"},       {"РОССИЯ И МИР", "Россия и мир"},
      {"ЯБЛОКО-2", "Яблоко-2"},     {"Moscow", "Moscow"},   {"1812 ГОД", "1812 ГОД"}, {"ДНК и RNA", "Днк и RNA"},
      {"", ""},
  };
  for (const auto& [input, expected] : kCases) {
    std::string word = input;
    CapitaliseCyrillic(word.data());
    EXPECT_EQ(word, expected) << input;
  }
}

TEST(TextUtilities, ComparesByCaseFolding) {
  const struct {
    const char* a;
    const char* b;
    int expected;
  } kCases[] = {
      {"Россия", "РОССИЯ", 0},  {"россия", "Рос", 0},     {"Рос", "россия", -1}, {"", "", 0},
      {"абв", "абг", -1},       {"абг", "АБВ", 1},        {"ёж", "ЁЖ", 0},       {"Ель", "ель", 0},
      {"а", "Б", -1},           // folded, not raw bytes: 'а' (E0) sorts before 'Б' (C1)
      {"@", "`", -1},           // only letters fold: bytes 32 apart are not a case pair
      {"Moscow", "MOSCOW", 0},
  };
  for (const auto& c : kCases) EXPECT_EQ(CompareFolded(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(TextUtilities, BlanksAreStrippedAndSkipped) {
  char out[8];
  StripBlanks(" a b\tc\nd  e f g", out);
  EXPECT_STREQ(out, "abcdefg");
  char small[4];
  StripBlanks("a b c d", small);
  EXPECT_STREQ(small, "abc");
  EXPECT_STREQ(SkipBlanks(" \t^\n^x y"), "x y");
  EXPECT_EQ(SkipBlanks(" \t^"), nullptr);

  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fputs(" \t\n  word", file);
  std::rewind(file);
  EXPECT_EQ(SkipBlanks(file), 'w');
  EXPECT_EQ(std::fgetc(file), 'w');  // put back
  EXPECT_EQ(SkipBlanks(file), 'o');
  std::fclose(file);
}

TEST(TextUtilities, NumberFieldsKeepTheValueWhenUnreadable) {
  const char* text = " 12, -1 ,65535,x,7";
  int16_t s = 99;
  const char* next = ReadShortField(text, &s);
  EXPECT_EQ(s, 12);
  ASSERT_NE(next, nullptr);
  next = ReadShortField(next + 1, &s);
  EXPECT_EQ(s, -1);
  next = ReadShortField(next + 1, &s);
  EXPECT_EQ(s, -1);  // 65535 as a short number
  s = 5;
  next = ReadShortField(next + 1, &s);
  EXPECT_EQ(s, 5);
  EXPECT_EQ(ReadShortField(next + 1, &s), nullptr);
  EXPECT_EQ(s, 7);

  int32_t l = 0;
  EXPECT_EQ(ReadLongField("^ 2147483647", &l), nullptr);
  EXPECT_EQ(l, 2147483647);
  EXPECT_EQ(ReadLongField("", &l), nullptr);
  EXPECT_EQ(l, 2147483647);

  uint32_t colour = 1;
  EXPECT_NE(ReadHexField(" ffffffff, 0", &colour), nullptr);
  EXPECT_EQ(colour, 0xFFFFFFFFu);
  ReadHexField("0x800000", &colour);
  EXPECT_EQ(colour, 0x800000u);
  ReadHexField("c0c0c0", &colour);
  EXPECT_EQ(colour, 0xC0C0C0u);
}

TEST(TextUtilities, QuotedFields) {
  char out[16];
  const char* text = " \"item.bmp\" , 16";
  const char* next = ReadQuotedField(text, out);
  EXPECT_STREQ(out, "item.bmp");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(*next, ',');

  ReadQuotedField(R"("a\"b", 1)", out);
  EXPECT_STREQ(out, R"(a\"b)");  // the escaped quote stays, backslash included

  const struct {
    const char* text;
    bool hasComma;
  } kEmpty[] = {{"no quote, 1", true}, {"16, \"late\"", true}, {"\"unterminated, 1", false}, {"", false}};
  for (const auto& c : kEmpty) {
    std::strcpy(out, "old");
    EXPECT_EQ(ReadQuotedField(c.text, out) != nullptr, c.hasComma) << c.text;
    EXPECT_STREQ(out, "") << c.text;
  }

  char small[5];
  EXPECT_EQ(ReadQuotedField("\"background.bmp\"", small), nullptr);
  EXPECT_STREQ(small, "back");
}

}  // namespace
}  // namespace kro::toolkit
