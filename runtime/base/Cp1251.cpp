#include "runtime/base/Cp1251.h"

namespace kro {

const std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

std::optional<uint8_t> Cp1251FromCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<uint8_t>(cp);
  if (cp >= 0x410 && cp <= 0x44F) return static_cast<uint8_t>(cp - 0x410 + 0xC0);
  for (size_t i = 0; i < kCp1251High.size(); ++i)
    if (kCp1251High[i] != 0 && kCp1251High[i] == cp) return static_cast<uint8_t>(0x80 + i);
  return std::nullopt;
}

char32_t Cp1251ToCodePoint(uint8_t byte) {
  return byte < 0x80 ? byte : kCp1251High[byte - 0x80];
}

namespace {

// Decodes one UTF-8 sequence at s[i]; returns its length or 0 when malformed.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t* cp) {
  const auto b0 = static_cast<uint8_t>(s[i]);
  size_t len = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  char32_t value = len == 1 ? b0 : b0 & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = value << 6 | (b & 0x3F);
  }
  static constexpr char32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kMinForLength[len] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::optional<std::string> Utf8ToCp1251(std::string_view utf8, size_t* badOffset) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const size_t len = DecodeUtf8(utf8, i, &cp);
    const auto byte = len ? Cp1251FromCodePoint(cp) : std::nullopt;
    if (!byte) {
      if (badOffset) *badOffset = i;
      return std::nullopt;
    }
    out += static_cast<char>(*byte);
    i += len;
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    const char32_t cp = Cp1251ToCodePoint(static_cast<uint8_t>(c));
    AppendUtf8(out, cp == 0 && c != 0 ? 0xFFFD : cp);
  }
  return out;
}

uint8_t Cp1251Upper(uint8_t b) {
  if (b >= 'a' && b <= 'z') return b - 32;
  if (b >= 0xE0) return b - 32;  // а-я
  switch (b) {
    case 0xB8: return 0xA8;  // ё
    case 0x90: return 0x80;  // ђ
    case 0x83: return 0x81;  // ѓ
    case 0x9A: return 0x8A;  // љ
    case 0x9C: return 0x8C;  // њ
    case 0x9D: return 0x8D;  // ќ
    case 0x9E: return 0x8E;  // ћ
    case 0x9F: return 0x8F;  // џ
    case 0xA2: return 0xA1;  // ў
    case 0xBC: return 0xA3;  // ј
    case 0xB4: return 0xA5;  // ґ
    case 0xBA: return 0xAA;  // є
    case 0xBF: return 0xAF;  // ї
    case 0xB3: return 0xB2;  // і
    case 0xBE: return 0xBD;  // ѕ
    default: return b;
  }
}

uint8_t Cp1251Lower(uint8_t b) {
  // The inverse of Cp1251Upper, built once.
  static const std::array<uint8_t, 256> kLower = [] {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
    for (int i = 0; i < 256; ++i) {
      const uint8_t upper = Cp1251Upper(static_cast<uint8_t>(i));
      if (upper != i) table[upper] = static_cast<uint8_t>(i);
    }
    return table;
  }();
  return kLower[b];
}

bool Cp1251IsLetter(uint8_t b) {
  return Cp1251Upper(b) != Cp1251Lower(b);
}

}  // namespace kro
