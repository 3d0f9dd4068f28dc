#include "runtime/mediaview/core/search/Query.h"

#include <gtest/gtest.h>

#include <string>

namespace kro::search {
namespace {

// The canonical form of a parsed query, or "error N".
std::string Parsed(std::string_view text) {
  const ParseResult r = ParseQuery(text, kMatchExactWords);
  return r.error == SearchError::None ? ToString(r.query.root) : "error " + std::to_string(static_cast<int>(r.error));
}

TEST(Query, ParsesTheLanguage) {
  const struct {
    std::string query;
    std::string parsed;
  } kCases[] = {
      {"волга", "волга"},
      {"Волга Ока", "(AND волга ока)"},
      {"волга AND ока И кама", "(AND волга ока кама)"},
      {"волга OR ока ИЛИ кама", "(OR волга ока кама)"},
      {"волга ока OR кама", "(OR (AND волга ока) кама)"},
      {"волга NOT ока", "(NOT волга ока)"},
      {"волга AND NOT ока", "(NOT волга ока)"},
      {"волга НЕ ока кама", "(AND (NOT волга ока) кама)"},
      {"волга NEAR ока", "(NEAR волга ока)"},
      {"волга РЯДОМ ока OR кама", "(OR (NEAR волга ока) кама)"},
      {"\"великая русская река\"", "\"великая русская река\""},
      {"«Великая река» Волга", "(AND \"великая река\" волга)"},
      {"\"волга OR ока\"", "\"волга or ока\""},
      {"северо-запад", "\"северо запад\""},
      {"(волга OR ока) кама", "(AND (OR волга ока) кама)"},
      {"вол* о?а", "(AND вол* о?а)"},
      {"волга and ока", "(AND волга and ока)"},  // operators are words in capitals only
      {"Ёлка", "елка"},
      {"((((( волга )))))", "волга"},
      {"волга ()", "(AND волга ())"},
      {"\"\" волга", "(AND () волга)"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Parsed(c.query), c.parsed) << c.query;
}

TEST(Query, AnswersTheErrorNumbers) {
  const std::string tooMany = [] {
    std::string q;
    for (size_t i = 0; i <= kMaxQueryTerms; ++i) q += "слово ";
    return q;
  }();
  const struct {
    std::string query;
    int error;
  } kCases[] = {
      {"", 2200},         {"   ,;  ", 2200},          {"()", 2200},
      {"AND волга", 2201}, {"волга OR", 2201},        {"NOT волга", 2201},
      {"волга AND OR ока", 2201}, {"(волга NEAR) ока", 2201}, {"волга NEAR", 2201},
      {"\"волга", 2203},  {"«волга", 2203},
      {"волга)", 2204},   {"(волга", 2205},          {"((волга) ока", 2205},
      {"(((((( волга ))))))", 2206},
      {tooMany, 2207},
      {"*", 2213},        {"волга ??", 2213},        {"северо-*", 2213},
  };
  for (const auto& c : kCases) EXPECT_EQ(Parsed(c.query), "error " + std::to_string(c.error)) << c.query;
}

TEST(Query, OptionZeroAsksForWordForms) {
  EXPECT_TRUE(ParseQuery("волга", kMatchWordForms).query.wordForms);
  EXPECT_FALSE(ParseQuery("волга", kMatchExactWords).query.wordForms);
}

TEST(Query, LongWordsAreCutLikeIndexedOnes) {
  const std::string word(100, 'x');
  EXPECT_EQ(Parsed(word), std::string(kMaxTermBytes, 'x'));
}

}  // namespace
}  // namespace kro::search
