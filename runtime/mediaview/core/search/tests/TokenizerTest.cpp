#include "runtime/mediaview/core/search/Tokenizer.h"

#include <gtest/gtest.h>

#include <string>

namespace kro::search {
namespace {

// Words of a text as "term@offset+length" separated by spaces.
std::string Words(std::string_view text) {
  std::string out;
  Tokenizer tokens(text);
  while (tokens.Next()) {
    if (!out.empty()) out += ' ';
    out += std::string(tokens.term()) + "@" + std::to_string(tokens.offset()) + "+" + std::to_string(tokens.length());
  }
  return out;
}

TEST(Tokenizer, SplitsFoldsAndPlacesWords) {
  const struct {
    std::string text;
    std::string words;
  } kCases[] = {
      {"", ""},
      {"  ,.;  ", ""},
      {"Волга", "волга@0+5"},
      {"ЁЛКА ёлка Ещё", "елка@0+4 елка@5+4 еще@10+3"},
      {"северо-западный", "северо@0+6 западный@7+8"},
      {"XVII век, 1997 г.", "xvii@0+4 век@5+3 1997@10+4 г@15+1"},
      {"Ф1 и 2Б", "ф1@0+2 и@3+1 2б@5+2"},
      {"пере\xADнос", "перенос@0+8"},         // a soft hyphen inside a word is skipped
      {"конец\xAD дальше", "конец@0+5 дальше@7+6"},  // and ends it when nothing follows
      {"«Слово» — (текст)", "слово@1+5 текст@11+5"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Words(c.text), c.words) << c.text;
}

TEST(Tokenizer, CutsLongWordsButKeepsTheirWholeLength) {
  const std::string text = std::string(100, 'a') + " b";
  Tokenizer tokens(text);
  ASSERT_TRUE(tokens.Next());
  EXPECT_EQ(tokens.term(), std::string(kMaxTermBytes, 'a'));
  EXPECT_EQ(tokens.length(), 100u);
  ASSERT_TRUE(tokens.Next());
  EXPECT_EQ(tokens.term(), "b");
  EXPECT_FALSE(tokens.Next());
}

}  // namespace
}  // namespace kro::search
