// Description values and paths as they come from list description files: every field
// reader and text helper must stay inside its input and inside the buffers it is given.
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/toolkit/core/TextUtilities.h"

namespace {

using namespace kro::toolkit;

// Fails when a helper left a buffer unterminated or wrote past the span it was given.
template <size_t N>
void CheckBuffer(const char (&buffer)[N], size_t spanBytes) {
  if (std::memchr(buffer, '\0', spanBytes) == nullptr) std::abort();
  for (size_t i = spanBytes; i < N; ++i)
    if (buffer[i] != '#') std::abort();
}

// Reads fields as a part's field list would: the field kinds cycle with the input's bytes.
void ReadFields(const char* value) {
  char text[40];
  int16_t shortValue = 0;
  int32_t longValue = 0;
  uint32_t colour = 0;
  const char* at = value;
  for (int field = 0; at != nullptr && field < 64; ++field) {
    std::memset(text, '#', sizeof text);
    switch (static_cast<unsigned char>(*at) % 4) {
      case 0: at = ReadQuotedField(at, std::span(text, 16)); CheckBuffer(text, 16); break;
      case 1: at = ReadShortField(at, &shortValue); break;
      case 2: at = ReadLongField(at, &longValue); break;
      default: at = ReadHexField(at, &colour); break;
    }
    if (at != nullptr) ++at;  // past the comma
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);  // ends at a zero byte
  const char* text = input.c_str();
  ReadFields(text);

  char buffer[24];
  std::memset(buffer, '#', sizeof buffer);
  CopyToDelimiter(text, '|', std::span(buffer, 8));
  CheckBuffer(buffer, 8);
  std::memset(buffer, '#', sizeof buffer);
  DirectoryOfPath(text, std::span(buffer, 12));
  CheckBuffer(buffer, 12);
  std::memset(buffer, '#', sizeof buffer);
  StripBlanks(text, std::span(buffer, 5));
  CheckBuffer(buffer, 5);
  if (FileNameOfPath(text) < text || FileNameOfPath(text) > text + std::strlen(text)) std::abort();

  std::string word = input;
  CapitaliseCyrillic(word.data());
  const size_t half = std::strlen(text) / 2;
  CompareFolded(text, text + half);
  PrefixFind(text, text + half);
  return 0;
}
