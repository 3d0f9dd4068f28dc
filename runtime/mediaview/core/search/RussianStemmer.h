#pragma once
// Russian stemmer following the published Snowball algorithm for Russian, working on
// folded cp1251 words (lower case, ё already written as е). Every step of the algorithm
// removes an ending, so the stem is always a prefix of the word: the function answers its
// length.
#include <cstddef>
#include <string_view>

namespace kro::search {

size_t RussianStemLength(std::string_view foldedWord);

inline std::string_view RussianStem(std::string_view foldedWord) {
  return foldedWord.substr(0, RussianStemLength(foldedWord));
}

}  // namespace kro::search
