#include "runtime/mediaview/core/search/RussianStemmer.h"

#include <gtest/gtest.h>
#include <libstemmer.h>

#include <string>
#include <vector>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/search/Tokenizer.h"
#include "tools/corpus/WordForms.h"

namespace kro::search {
namespace {

std::string Fold(std::string_view cp1251) {
  std::string out;
  for (char c : cp1251) out.push_back(static_cast<char>(FoldWordChar(static_cast<uint8_t>(c))));
  return out;
}

TEST(RussianStemmer, KnownStems) {
  const struct {
    const char* word;
    const char* stem;
  } kCases[] = {
      {"книгами", "книг"},           {"красивейший", "красив"},   {"прочитавшись", "прочита"},
      {"бегающими", "бега"},         {"осторожность", "осторожн"}, {"длинный", "длин"},
      {"водой", "вод"},              {"я", "я"},                  {"мгла", "мгла"},
      {"xyzzy", "xyzzy"},            {"2024", "2024"},            {"каменный", "камен"},
  };
  for (const auto& c : kCases) EXPECT_EQ(RussianStem(c.word), std::string_view(c.stem)) << c.word;
}

// Our stemmer must agree with the reference implementation on every form of the Russian
// dictionary.
TEST(RussianStemmer, AgreesWithReferenceOnEveryDictionaryForm) {
  sb_stemmer* reference = sb_stemmer_new("russian", "UTF_8");
  ASSERT_NE(reference, nullptr);
  size_t compared = 0, differing = 0;
  std::string examples;
  std::string error;
  const bool read = corpus::ExpandDictionary("/usr/share/hunspell/ru_RU.aff", "/usr/share/hunspell/ru_RU.dic",
      [&](std::string_view form) {
        const auto text = Utf8ToCp1251(form);
        if (!text) return;
        const std::string word = Fold(*text);
        if (word.empty() || word.find('\0') != std::string::npos) return;  // hyphenated or other signs
        const std::string utf8 = Cp1251ToUtf8(word);
        const sb_symbol* stem = sb_stemmer_stem(reference, reinterpret_cast<const sb_symbol*>(utf8.data()),
                                                static_cast<int>(utf8.size()));
        const std::string expected = Utf8ToCp1251(
            std::string_view(reinterpret_cast<const char*>(stem), static_cast<size_t>(sb_stemmer_length(reference))))
                                         .value_or("?");
        ++compared;
        if (RussianStem(word) != expected) {
          if (++differing <= 10) examples += Cp1251ToUtf8(word) + " -> " + Cp1251ToUtf8(expected) + "; ";
        }
      },
      &error);
  sb_stemmer_delete(reference);
  ASSERT_TRUE(read) << error;
  EXPECT_GT(compared, 1000000u);
  EXPECT_EQ(differing, 0u) << examples;
}

}  // namespace
}  // namespace kro::search
