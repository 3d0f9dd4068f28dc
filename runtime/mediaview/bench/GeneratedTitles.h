#pragma once
// Names for the titles the benchmarks generate: a topic's title spells a number unique to it
// in Russian syllables.
#include <cstdint>
#include <string>
#include <string_view>

namespace kro::bench {

// Authoring sources are UTF-8, while plain literals here are cp1251.
inline std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

inline std::string Word(uint32_t n) {
  static const char8_t* const kSyllables[] = {u8"ба", u8"ве", u8"го", u8"ду", u8"жи", u8"за", u8"ки", u8"ло", u8"ме",
                                              u8"ны", u8"ор", u8"пе", u8"ру", u8"са", u8"ти", u8"уф", u8"хо", u8"це",
                                              u8"чу", u8"ша", u8"щи", u8"эн", u8"юр", u8"ял", u8"ёж", u8"ар"};
  constexpr uint32_t kCount = sizeof kSyllables / sizeof kSyllables[0];
  std::string w;
  do {
    w += U8(kSyllables[n % kCount]);
    n /= kCount;
  } while (n > 0);
  return w;
}

// 7919 is prime to 1000003, so distinct topics get distinct words.
inline std::string TitleOf(uint32_t i) { return U8(u8"Статья ") + Word(i * 7919u % 1000003u); }

}  // namespace kro::bench
