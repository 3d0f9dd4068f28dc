#pragma once
// The letter table: the first Cyrillic letter of an article's title gives its letter index
// (the letter bar's button, 9..38) and its letter folder (where its pictures live, and the
// name of the stored topic list of the letter's articles). Portable.
#include <optional>
#include <string_view>

namespace kro::article {

struct Letter {
  int index;           // 9 (А) .. 38 (Я); Ъ, Ы and Ь share 35
  const char* folder;  // "a" .. "ja"
};

constexpr int kLetterCount = 30;     // letter-bar buttons, commands 2600 + 10 * k
constexpr int kFirstLetterIndex = 9;

// The k-th letter of the bar (k = 0..29); {-1, ""} outside that range.
Letter LetterForCommand(int k);

// The letter of the first byte at or above 0xC0 (А..я in cp1251, either case); nullopt
// when the title has none (Latin titles, digits only).
std::optional<Letter> LetterOfTitle(std::string_view cp1251Title);

}  // namespace kro::article
