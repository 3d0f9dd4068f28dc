#pragma once
// Word-wheel order for Russian readers. Each cp1251 byte has a primary weight:
//   0              ignorable: spaces, punctuation, signs, control bytes
//   1..10          digits 0..9
//   20..52         Cyrillic А..Я in alphabet order, Ё sharing Е's weight, case folded
//   60..          other Cyrillic letters of the code page (Ђ, Ѓ, Є, Ѕ, І, Ї, Ј, Љ, Њ, Ћ, Ќ, Ў, Џ, Ґ)
//   100..125       Latin A..Z, case folded
// Keys compare by the sequence of non-zero primary weights; equal sequences are ordered by a
// tie-break that ranks every byte uniquely (ignorables by byte value, then Е before Ё and
// lower case before upper case), so the order is total and equal only for equal bytes.
// A prefix matches a key when the key's weight sequence starts with the prefix's.
#include <cstdint>
#include <string>
#include <string_view>

namespace kro::mv {

uint8_t PrimaryWeight(uint8_t byte);
// The non-zero primary weights of `key`.
std::string PrimaryKey(std::string_view key);
// <0, 0, >0 in word-wheel order.
int CompareKeys(std::string_view a, std::string_view b);
// Compares only the first |prefix weights| weights of `key` with `prefix`: 0 when it matches.
int ComparePrefix(std::string_view key, std::string_view prefix);

}  // namespace kro::mv
