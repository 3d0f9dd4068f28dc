#pragma once
// Windows-1251, the code page of every text the programs show and every title they read.
// Portable: conversion to and from UTF-8, and case mapping by the code page.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kro {

// Unicode code point of each byte 0x80..0xFF (0 where the byte is unassigned: 0x98).
extern const std::array<char16_t, 128> kCp1251High;

// The cp1251 byte of a code point, or nullopt where the code page has none.
std::optional<uint8_t> Cp1251FromCodePoint(char32_t cp);
char32_t Cp1251ToCodePoint(uint8_t byte);

// Converts UTF-8 text; on a character cp1251 cannot hold (or malformed UTF-8) returns
// nullopt and stores the byte offset of the offending character in *badOffset.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8, size_t* badOffset = nullptr);
std::string Cp1251ToUtf8(std::string_view text);

// Case mapping of letters by the code page: A-Z, А-Я, Ё and the other Cyrillic pairs.
uint8_t Cp1251Upper(uint8_t byte);
uint8_t Cp1251Lower(uint8_t byte);
bool Cp1251IsLetter(uint8_t byte);

namespace detail {
constexpr size_t Utf8Length(std::u8string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i)
    if ((static_cast<uint8_t>(s[i]) & 0xC0) != 0x80) ++n;
  return n;
}
consteval uint8_t ConstCp1251(char32_t cp) {
  if (cp < 0x80) return static_cast<uint8_t>(cp);
  if (cp >= 0x410 && cp <= 0x44F) return static_cast<uint8_t>(cp - 0x410 + 0xC0);
  if (cp == 0x401) return 0xA8;  // Ё
  if (cp == 0x451) return 0xB8;  // ё
  if (cp == 0xAB) return 0xAB;   // «
  if (cp == 0xBB) return 0xBB;   // »
  if (cp == 0x2014) return 0x97; // —
  if (cp == 0x2013) return 0x96; // –
  if (cp == 0x2116) return 0xB9; // №
  throw "character outside the literal subset of cp1251";
}
}  // namespace detail

// A cp1251 string built at compile time from a UTF-8 literal. Portable code uses it for
// Russian text because clang (the fuzz build) cannot re-encode narrow literals.
template <size_t N>
struct Cp1251Literal {
  std::array<char, N + 1> bytes{};
  consteval Cp1251Literal(const char8_t* utf8) {
    size_t out = 0;
    for (size_t i = 0; utf8[i] != 0;) {
      const auto b = static_cast<uint8_t>(utf8[i]);
      char32_t cp;
      if (b < 0x80) { cp = b; i += 1; }
      else if ((b & 0xE0) == 0xC0) { cp = (b & 0x1F) << 6 | (utf8[i + 1] & 0x3F); i += 2; }
      else { cp = (b & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F); i += 3; }
      bytes[out++] = static_cast<char>(detail::ConstCp1251(cp));
    }
  }
  constexpr std::string_view view() const { return {bytes.data(), N}; }
  constexpr operator std::string_view() const { return view(); }
};

}  // namespace kro

// KRO_CP1251(u8"ИЛИ") -> a constexpr kro::Cp1251Literal usable as std::string_view.
#define KRO_CP1251(literal) (::kro::Cp1251Literal<::kro::detail::Utf8Length(literal)>(literal))
