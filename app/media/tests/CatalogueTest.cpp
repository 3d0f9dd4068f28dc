#include "app/media/Catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace kro::media {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Field(const std::string& text, uint32_t offset, uint32_t length) {
  return text.substr(offset, length);
}

TEST(Catalogue, RecordsPointAtTheThreeFields) {
  const std::string text = "Волга;v_volga;topic_volga\r\nОка;v_oka;topic_oka\r\n";
  const auto c = ParseCatalogue(Bytes(text), 600, false);
  ASSERT_TRUE(c) << c.error().ToString();
  ASSERT_EQ(c->records.size(), 2u);
  const auto& r = c->records[1];
  EXPECT_EQ(Field(text, r.titleOffset, r.titleLength), "Ока");
  EXPECT_EQ(Field(text, r.secondOffset, r.secondLength), "v_oka");
  EXPECT_EQ(Field(text, r.thirdOffset, r.thirdLength), "topic_oka");
}

TEST(Catalogue, AShortLastLineWithoutLineEndIsNotRead) {
  const auto cut = ParseCatalogue(Bytes("Аа;b;c\r\nx;y"), 600, false);  // 3 bytes left
  EXPECT_EQ(cut.error().ToString(), "offset 8: truncated: 3 bytes after the last entry hold no whole entry");
  EXPECT_EQ(ParseCatalogue(Bytes("Аа;b;c\r\nx;y"), 600, false).Recovered().records.size(), 1u);
  EXPECT_EQ(ParseCatalogue(Bytes("Аа;b;c\r\nx;y;z"), 600, false)->records.size(), 2u);  // 5 bytes left
  const std::string tail = "Аа;b;c\r\nx;y;zz";
  const auto last = ParseCatalogue(Bytes(tail), 600, false)->records.back();
  EXPECT_EQ(Field(tail, last.thirdOffset, last.thirdLength), "zz");
}

TEST(Catalogue, StopsAtCapacityAndClampsLongFields) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "T" + std::to_string(i) + ";a;b\r\n";
  auto full = ParseCatalogue(Bytes(text), 4, false);
  EXPECT_EQ(full.error().ToString(), "offset 32: out of limits: more than 4 entries");
  EXPECT_EQ(std::move(full).Recovered().records.size(), 4u);
  const std::string longTitle(2000, 'x');
  auto c = ParseCatalogue(Bytes(longTitle + ";a;b\r\nНext;a;b\r\n"), 600, false);
  EXPECT_EQ(c.error().ToString(), "offset 0: out of limits: line 1: field 1 of 2000 bytes, at most 511");
  const Catalogue recovered = std::move(c).Recovered();
  ASSERT_EQ(recovered.records.size(), 2u);
  EXPECT_EQ(recovered.records[0].titleLength, kMaxCatalogueField);
  EXPECT_EQ(recovered.records[1].titleOffset, 2000u + 6);
}

// The first fault is named by its line and offset; the loader's reading stays as it was.
TEST(Catalogue, MalformedLinesNameTheirFault) {
  const struct {
    std::string text;
    const char* error;
    size_t recovered;
  } kCases[] = {
      {"a;b;c\r\nno fields here\r\nd;e;f\r\n", "offset 21: malformed text: line 2 ends before field 2", 2},
      {"a;b\r\nc;d;e\r\n", "offset 3: malformed text: line 1 ends before field 3", 1},
      {"a;b;c\nd;e;f\n", "offset 5: malformed text: line 1 ends before field 4", 1},
      {"a;b;c\rd;e;f\r\n", "offset 5: malformed text: line 1: CR without LF", 2},
      {std::string("a;b\0;c\r\n", 9), "offset 3: malformed text: line 1: NUL byte in field 2", 1},
      {"a;b;c\r\nd;eeee", "offset 13: truncated: line 2 ends inside field 2", 2},
  };
  for (const auto& c : kCases) {
    auto parsed = ParseCatalogue(Bytes(c.text), 600, false);
    ASSERT_FALSE(parsed) << c.error;
    EXPECT_EQ(parsed.error().ToString(), c.error);
    EXPECT_EQ(std::move(parsed).Recovered().records.size(), c.recovered) << c.error;
  }
}

TEST(Catalogue, TruncatedAndHostileTextStaysInBounds) {
  const std::string text = "ab;;\r\n;;;;;\0\0;x";
  for (size_t size = 0; size <= text.size(); ++size) {
    const auto parsed = ParseCatalogue(Bytes(text.substr(0, size)), 600, true);
    if (!parsed) {
      EXPECT_LE(parsed.error().offset, size);
    }
    const Catalogue c = ParseCatalogue(Bytes(text.substr(0, size)), 600, true).Recovered();
    for (const auto& r : c.records) {
      EXPECT_LE(r.titleOffset + r.titleLength, size);
      EXPECT_LE(r.secondOffset + r.secondLength, size);
      EXPECT_LE(r.thirdOffset + r.thirdLength, size);
    }
  }
}

TEST(Catalogue, InitialLetterLooksBehindAnOpeningSign) {
  EXPECT_EQ(InitialLetter("Астрахань"), 0);
  EXPECT_EQ(InitialLetter("«Аврора»"), 0);
  EXPECT_EQ(InitialLetter("Ярославль"), 31);
  EXPECT_EQ(InitialLetter("\"Я"), 31);
  EXPECT_EQ(InitialLetter("ёж"), -1);   // small letters are no initials
  EXPECT_EQ(InitialLetter("12"), -1);
  EXPECT_EQ(InitialLetter(""), -1);
}

TEST(Catalogue, LetterRunsSumToTheRecordsBeforeEachLetter) {
  const std::string text =
      "Азов;a;x\r\nАнапа;a;x\r\n«Аврора»;a;x\r\nВолга;a;x\r\nВятка;a;x\r\nДон;a;x\r\nЯуза;a;x\r\nЯна;a;x\r\n";
  const auto parsed = ParseCatalogue(Bytes(text), 12500, true);
  ASSERT_TRUE(parsed) << parsed.error().ToString();
  const Catalogue& c = *parsed;
  ASSERT_EQ(c.records.size(), 8u);
  const struct { int letter; int first; } kLetters[] = {{0, 0}, {2, 3}, {4, 5}, {31, 6}};
  for (const auto& l : kLetters) {
    EXPECT_EQ(c.letterFirst[l.letter], l.first);
    int before = 0;
    for (int k = 0; k < l.letter; ++k) before += c.letterRuns[k];
    EXPECT_EQ(before, l.first) << "letter " << l.letter;
  }
  EXPECT_EQ(c.letterFirst[1], -1);  // no Б
  EXPECT_EQ(c.letterRuns[31], 2);   // the last run is kept at its own letter
}

TEST(Captions, FirstMatchingLineWins) {
  const std::string file = "volga.jpg\tВолга у Ярославля\r\noka.jpg\tОка\r\nvolga.jpg\tвторая\r\n";
  EXPECT_EQ(FindCaption(Bytes(file), "volga.jpg"), "Волга у Ярославля");
  EXPECT_EQ(FindCaption(Bytes(file), "oka.jpg"), "Ока");
  EXPECT_EQ(FindCaption(Bytes(file), "volga"), std::nullopt);
  EXPECT_EQ(FindCaption(Bytes(""), "x"), std::nullopt);
}

TEST(Captions, NulEndsTheFileAndLinesWithoutTabDoNotSpill) {
  const std::string file = std::string("broken line\r\nkey\tcap\r\n\0after\tno\r\n", 33);
  EXPECT_EQ(FindCaption(Bytes(file), "key"), "cap");
  EXPECT_EQ(FindCaption(Bytes(file), "after"), std::nullopt);
  EXPECT_EQ(FindCaption(Bytes("last\tno line end"), "last"), "no line end");
}

}  // namespace
}  // namespace kro::media
