#include "app/toolkit/core/TextUtilities.h"

#include <cstdlib>
#include <cstring>

#include "runtime/base/Cp1251.h"

namespace kro::toolkit {
namespace {

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

// Every letter of the code page above ASCII is Cyrillic (А-я, Ё, Ђ, Ї and the rest).
bool IsCyrillicLetter(uint8_t b) { return b >= 0x80 && Cp1251IsLetter(b); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Copies [begin, end) into out, cut to fit, and terminates it.
void CopyCut(const char* begin, size_t length, std::span<char> out) {
  if (out.empty()) return;
  const size_t n = length < out.size() - 1 ? length : out.size() - 1;
  std::memcpy(out.data(), begin, n);
  out[n] = '\0';
}

// Shared shape of the number readers: blanks, one strtoll-style parse, the next comma.
template <typename T, typename Parse>
const char* ReadNumberField(const char* text, T* value, bool* read, Parse parse) {
  if (read) *read = false;
  const char* start = SkipBlanks(text);
  if (start == nullptr) return nullptr;
  char* end = nullptr;
  const auto parsed = parse(start, &end);
  if (end != start) {
    *value = static_cast<T>(parsed);
    if (read) *read = true;
  }
  return std::strchr(start, ',');
}

}  // namespace

bool PrefixMatch(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (*a != *b) return false;
  return true;
}

int PrefixFind(const char* text, const char* pattern) {
  for (int i = 0; text[i] != '\0'; ++i)
    if (PrefixMatch(text + i, pattern)) return i;
  return -1;
}

const char* CopyToDelimiter(const char* source, char delimiter, std::span<char> out) {
  const char* end = source;
  while (*end != '\0' && *end != delimiter) ++end;
  CopyCut(source, static_cast<size_t>(end - source), out);
  return end;
}

const char* FileNameOfPath(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

bool DirectoryOfPath(const char* path, std::span<char> out) {
  if (out.empty()) return false;
  out[0] = '\0';
  const char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return true;
  const size_t length = static_cast<size_t>(slash - path) + 1;  // with the backslash
  // A cut directory would name another folder, so it is refused rather than shortened.
  if (length >= out.size()) return false;
  CopyCut(path, length, out);
  return true;
}

void CapitaliseCyrillic(char* word) {
  if (!IsCyrillicLetter(Byte(word[0]))) return;
  word[0] = static_cast<char>(Cp1251Upper(Byte(word[0])));
  for (char* p = word + 1; *p != '\0'; ++p)
    if (IsCyrillicLetter(Byte(*p))) *p = static_cast<char>(Cp1251Lower(Byte(*p)));
}

int CompareFolded(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (*b == '\0') return 0;
    const uint8_t fa = Cp1251Upper(Byte(*a));
    const uint8_t fb = Cp1251Upper(Byte(*b));
    if (fa != fb) return fb > fa ? -1 : 1;
  }
}

void StripBlanks(const char* source, std::span<char> out) {
  if (out.empty()) return;
  size_t n = 0;
  for (; *source != '\0' && n + 1 < out.size(); ++source)
    if (!IsBlank(*source)) out[n++] = *source;
  out[n] = '\0';
}

const char* SkipBlanks(const char* text) {
  while (IsBlank(*text) || *text == '^') ++text;
  return *text != '\0' ? text : nullptr;
}

int SkipBlanks(std::FILE* file) {
  int c;
  do c = std::fgetc(file);
  while (c == ' ' || c == '\t' || c == '\n');
  if (c != EOF) std::ungetc(c, file);
  return c;
}

// Numbers wrap to the field's width as the C library's "%hd", "%ld" and "%lx" do on a
// 32-bit target, so the same description reads the same on every build.
const char* ReadShortField(const char* text, int16_t* value, bool* read) {
  return ReadNumberField(text, value, read, [](const char* s, char** end) {
    return static_cast<uint16_t>(std::strtoll(s, end, 10));
  });
}

const char* ReadLongField(const char* text, int32_t* value, bool* read) {
  return ReadNumberField(text, value, read, [](const char* s, char** end) {
    return static_cast<uint32_t>(std::strtoll(s, end, 10));
  });
}

const char* ReadHexField(const char* text, uint32_t* value, bool* read) {
  return ReadNumberField(text, value, read, [](const char* s, char** end) {
    return static_cast<uint32_t>(std::strtoull(s, end, 16));
  });
}

const char* ReadQuotedField(const char* text, std::span<char> out) {
  if (!out.empty()) out[0] = '\0';
  const char* start = SkipBlanks(text);
  if (start == nullptr) return nullptr;
  const char* comma = std::strchr(start, ',');
  const char* open = std::strchr(start, '"');
  if (open == nullptr || (comma != nullptr && comma < open)) return comma;
  const char* close = open + 1;
  while (*close != '\0' && !(*close == '"' && close[-1] != '\\')) ++close;
  if (*close == '\0') return nullptr;  // unterminated: the rest of the line was the string
  CopyCut(open + 1, static_cast<size_t>(close - open - 1), out);
  return std::strchr(close + 1, ',');
}

}  // namespace kro::toolkit
