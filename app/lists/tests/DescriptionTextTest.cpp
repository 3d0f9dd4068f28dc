#include <gtest/gtest.h>

#include "app/lists/DescriptionFields.h"
#include "app/lists/DescriptionText.h"

namespace kro::lists {
namespace {

TEST(DescriptionLines, FileAndMemorySeparators) {
  const auto file = SplitLines("A: 1\r\nB: 2^3\nC", SourceKind::kFile);
  ASSERT_EQ(file.size(), 3u);
  EXPECT_EQ(file[0].text, "A: 1");
  EXPECT_EQ(file[1].text, "B: 2^3");
  EXPECT_EQ(file[1].offset, 6u);
  EXPECT_EQ(file[2].text, "C");
  const auto memory = SplitLines("A: 1^B: 2\nC", SourceKind::kMemory);
  ASSERT_EQ(memory.size(), 3u);
  EXPECT_EQ(memory[1].text, "B: 2");
}

TEST(DescriptionLines, LongLinesComeInPiecesAndNulEnds) {
  const std::string longLine(1100, 'x');
  const auto lines = SplitLines(longLine + "\nend", SourceKind::kFile);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text.size(), kMaxLineChars);
  EXPECT_EQ(lines[2].text.size(), 1100 - 2 * kMaxLineChars);
  EXPECT_EQ(lines[2].offset, 2 * kMaxLineChars);
  EXPECT_EQ(SplitLines(std::string_view("a\nb\0c\n", 6), SourceKind::kFile).size(), 2u);
}

TEST(DescriptionHeader, KeywordsAreExact) {
  const struct { const char* line; bool known; } kCases[] = {
      {"ITEMSTRUCT: 260, 18, TEXT", true}, {"  BEGIN:", true},       {"BEGIN", false},
      {"ITEM : x", false},                 {"item: x", false},       {"; ITEM: x", false},
      {"UNKNOWN: x", false},               {"", false},              {":", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(ParseHeaderLine(c.line).has_value(), c.known) << c.line;
  const auto line = ParseHeaderLine("SPACE:   2, \"line.bmp\"");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->keyword, Keyword::kSpace);
  EXPECT_EQ(line->value, "2, \"line.bmp\"");
}

TEST(DescriptionFields, StringsTakeTheirTextAsItStands) {
  FieldReader r("\"a\\\"b\", \"\" ,noquote, 7");
  EXPECT_EQ(r.String(), "a\\\"b");
  EXPECT_EQ(r.String(), "");
  EXPECT_EQ(r.String(), "");  // a field without a quote
  EXPECT_EQ(r.Long(), 7);
  EXPECT_TRUE(r.Stopped());
  EXPECT_EQ(r.Long(), std::nullopt);
  FieldReader unterminated("\"open, 5");
  EXPECT_EQ(unterminated.String(), "");
  EXPECT_TRUE(unterminated.Stopped());
  const std::string quoted = "\"" + std::string(300, 's') + "\"";
  FieldReader longString(quoted);
  EXPECT_EQ(longString.String()->size(), kMaxStringField);
}

TEST(DescriptionFields, NumbersAndColours) {
  FieldReader r("12, -1, 65535, x, 0x00ff00, ffffffff, zz, 3");
  EXPECT_EQ(r.Size(), 12);
  EXPECT_EQ(r.Size(), std::nullopt);  // -1 keeps
  EXPECT_EQ(r.Size(), std::nullopt);  // 65535 is -1 as a short
  EXPECT_EQ(r.Long(), std::nullopt);  // unreadable
  EXPECT_EQ(r.Colour(), 0x00FF00u);
  EXPECT_EQ(r.Colour(), kColourNotSet);
  EXPECT_EQ(r.Colour(), std::nullopt);
  EXPECT_EQ(r.Short(), 3);
}

TEST(DescriptionFields, ReadingStopsAfterTheFieldWithoutComma) {
  const auto f = ParsePictureFields("\"item.bmp\", 16, 18");
  EXPECT_EQ(f.picture, "item.bmp");
  EXPECT_EQ(f.height, 18);
  EXPECT_EQ(f.backColour, std::nullopt);
  EXPECT_EQ(f.checkedPicture, std::nullopt);
}

TEST(DescriptionFields, TextPartReadsSizeOnlyAfterAFace) {
  const auto withFace = ParseTextFields(
      "\"\", 230, 18, \"Arial\", 14, 0, 000000, ffffffff, ffffff, 800000, 0000ff, ffffffff, \"Arial\", 14, 0, ff0000, "
      "ffffffff");
  EXPECT_EQ(withFace.face, "Arial");
  EXPECT_EQ(withFace.size, 14);
  EXPECT_EQ(withFace.textColour, 0u);
  EXPECT_EQ(withFace.currentBackColour, 0x800000u);
  EXPECT_EQ(withFace.checkedSize, 14);
  EXPECT_EQ(withFace.checkedTextColour, 0xFF0000u);
  EXPECT_EQ(withFace.checkedBackColour, kColourNotSet);
  const auto noFace = ParseTextFields("\"Волга\", 100, 18, \"\", 0, ff");
  EXPECT_EQ(noFace.text, "Волга");
  EXPECT_EQ(noFace.size, std::nullopt);
  EXPECT_EQ(noFace.textColour, 0u);  // the 0 after an empty face is the text colour
  EXPECT_EQ(noFace.backColour, 0xFFu);
}

TEST(DescriptionFields, RowStructKeepsTwentyKnownParts) {
  const auto row = ParseRowStruct("260, 18, GROUPCHECKER, TEXT,BITMAP");
  EXPECT_EQ(row.width, 260);
  EXPECT_EQ(row.height, 18);
  EXPECT_EQ(row.parts, (std::vector<PartType>{PartType::kGroupChecker, PartType::kText, PartType::kBitmap}));
  std::string many = "10, 10";
  for (int i = 0; i < 21; ++i) many += ", TEXT";
  EXPECT_EQ(ParseRowStruct(many).parts.size(), kMaxRowParts);
  EXPECT_EQ(ParseRowStruct("10, 10, TEXT, EMPTY, TEXT").parts.size(), 1u);
  EXPECT_EQ(ParseRowStruct("10, 10, TEXT, NONSENSE, TEXT").parts.size(), 1u);
}

TEST(DescriptionFields, BackgroundSpaceAndParts) {
  const auto back = ParseBackground("ffffff, c0c0c0, \"back.bmp\"");
  EXPECT_EQ(back.colour, 0xFFFFFFu);
  EXPECT_EQ(back.currentColour, 0xC0C0C0u);
  EXPECT_EQ(back.picture, "back.bmp");
  EXPECT_EQ(back.currentPicture, std::nullopt);
  const auto space = ParseSpace("2, \"line.bmp\"");
  EXPECT_EQ(space.space, 2);
  EXPECT_EQ(space.picture, "line.bmp");
  const auto checker = ParseCheckerFields("\"plus.bmp\", \"minus.bmp\", 12, 20");
  EXPECT_EQ(checker.onPicture, "minus.bmp");
  EXPECT_EQ(checker.height, 20);
  const auto select = ParseSelectCheckerFields("\"u.bmp\", \"c.bmp\", \"p.bmp\", 16, 16, ffffff, ffffff, 1");
  EXPECT_EQ(select.mode, 1);
  EXPECT_EQ(SplitParts("\"a\"||\"c\""), (std::vector<std::string_view>{"\"a\"", "", "\"c\""}));
}

}  // namespace
}  // namespace kro::lists
