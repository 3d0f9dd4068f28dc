#include "runtime/mediaview/core/Collation.h"

#include <array>

#include "runtime/base/Cp1251.h"

namespace kro::mv {
namespace {

constexpr uint8_t kCyrillicBase = 20;
constexpr uint8_t kOtherCyrillicBase = 60;
constexpr uint8_t kLatinBase = 100;
constexpr uint8_t kCapitalYo = 0xA8;
constexpr uint8_t kSmallYo = 0xB8;

// Cyrillic capitals of the code page outside А..Я, in the order they sort after Я.
constexpr std::array<uint8_t, 14> kOtherCyrillic = {0x80, 0x81, 0xAA, 0xBD, 0xB2, 0xAF, 0xA3,
                                                   0x8A, 0x8C, 0x8E, 0x8D, 0xA1, 0x8F, 0xA5};

std::array<uint8_t, 256> BuildWeights() {
  std::array<uint8_t, 256> w{};
  for (int d = 0; d < 10; ++d) w['0' + d] = static_cast<uint8_t>(1 + d);
  for (int i = 0; i < 32; ++i) {
    // Е is the sixth letter; letters after it move up one so Ё can share Е's weight.
    const auto weight = static_cast<uint8_t>(kCyrillicBase + i + (i > 5 ? 1 : 0));
    w[0xC0 + i] = weight;
    w[0xE0 + i] = weight;
  }
  w[kCapitalYo] = w[0xC5];
  w[kSmallYo] = w[0xC5];
  for (size_t i = 0; i < kOtherCyrillic.size(); ++i) {
    w[kOtherCyrillic[i]] = static_cast<uint8_t>(kOtherCyrillicBase + i);
    w[Cp1251Lower(kOtherCyrillic[i])] = static_cast<uint8_t>(kOtherCyrillicBase + i);
  }
  for (int i = 0; i < 26; ++i) {
    w['A' + i] = static_cast<uint8_t>(kLatinBase + i);
    w['a' + i] = static_cast<uint8_t>(kLatinBase + i);
  }
  return w;
}

const std::array<uint8_t, 256> kWeights = BuildWeights();

// A rank unique to each byte, used only when primary weights tie.
int TieRank(uint8_t byte) {
  const uint8_t primary = kWeights[byte];
  if (primary == 0) return byte;
  const bool yo = byte == kCapitalYo || byte == kSmallYo;
  const bool upper = Cp1251Upper(byte) == byte && Cp1251Lower(byte) != byte;
  return 256 + primary * 4 + (yo ? 2 : 0) + (upper ? 1 : 0);
}

}  // namespace

uint8_t PrimaryWeight(uint8_t byte) { return kWeights[byte]; }

std::string PrimaryKey(std::string_view key) {
  std::string out;
  out.reserve(key.size());
  for (const char c : key)
    if (const uint8_t w = kWeights[static_cast<uint8_t>(c)]; w != 0) out.push_back(static_cast<char>(w));
  return out;
}

namespace {

// Walks the non-ignorable bytes of two keys in step; returns the first difference, or 0
// with *aDone/*bDone telling which key ran out.
int ComparePrimary(std::string_view a, std::string_view b, bool* aDone, bool* bDone) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && kWeights[static_cast<uint8_t>(a[i])] == 0) ++i;
    while (j < b.size() && kWeights[static_cast<uint8_t>(b[j])] == 0) ++j;
    *aDone = i == a.size();
    *bDone = j == b.size();
    if (*aDone || *bDone) return 0;
    const int wa = kWeights[static_cast<uint8_t>(a[i++])];
    const int wb = kWeights[static_cast<uint8_t>(b[j++])];
    if (wa != wb) return wa - wb;
  }
}

}  // namespace

int CompareKeys(std::string_view a, std::string_view b) {
  bool aDone, bDone;
  if (const int c = ComparePrimary(a, b, &aDone, &bDone); c != 0) return c;
  if (aDone != bDone) return aDone ? -1 : 1;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (const int c = TieRank(static_cast<uint8_t>(a[i])) - TieRank(static_cast<uint8_t>(b[i])); c != 0) return c;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int ComparePrefix(std::string_view key, std::string_view prefix) {
  bool keyDone, prefixDone;
  if (const int c = ComparePrimary(key, prefix, &keyDone, &prefixDone); c != 0) return c;
  if (prefixDone) return 0;
  return -1;  // the key is a proper prefix of the prefix: it sorts before
}

}  // namespace kro::mv
