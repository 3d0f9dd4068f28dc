#include "app/article/LetterTable.h"

#include <cstdint>

namespace kro::article {
namespace {

// In bar order; entry k has index 9 + k.
constexpr Letter kLetters[kLetterCount] = {
    {9, "a"},   {10, "b"},  {11, "v"},  {12, "g"},  {13, "d"},   {14, "e"},  {15, "zh"}, {16, "z"},
    {17, "i"},  {18, "ii"}, {19, "k"},  {20, "l"},  {21, "m"},   {22, "n"},  {23, "o"},  {24, "p"},
    {25, "r"},  {26, "s"},  {27, "t"},  {28, "u"},  {29, "f"},   {30, "h"},  {31, "c"},  {32, "ch"},
    {33, "sh"}, {34, "she"}, {35, "y"}, {36, "ie"}, {37, "iu"},  {38, "ja"},
};

constexpr uint8_t kCapitalA = 0xC0;  // А; the small letters follow 32 codes above
constexpr int kHardSign = 26;        // Ъ, Ы, Ь (positions 26..28 from А) share one entry

// Bar position of the letter at `position` (0 = А .. 31 = Я) of the alphabet.
int BarPosition(int position) {
  if (position < kHardSign) return position;
  if (position <= kHardSign + 2) return kHardSign;
  return position - 2;
}

}  // namespace

Letter LetterForCommand(int k) {
  if (k < 0 || k >= kLetterCount) return {-1, ""};
  return kLetters[k];
}

std::optional<Letter> LetterOfTitle(std::string_view cp1251Title) {
  for (char c : cp1251Title) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte >= kCapitalA) return kLetters[BarPosition((byte - kCapitalA) % 32)];
  }
  return std::nullopt;
}

}  // namespace kro::article
