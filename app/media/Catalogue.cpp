#include "app/media/Catalogue.h"

#include <algorithm>

namespace kro::media {
namespace {

constexpr uint8_t kFirstCapital = 0xC0;
constexpr uint8_t kLastCapital = 0xDF;
constexpr int kNoLetter = -1;

// Length of the field at `pos` up to the first of `stops`, NUL, or the end of the text.
size_t FieldLength(std::span<const uint8_t> text, size_t pos, uint8_t stop) {
  size_t end = pos;
  while (end < text.size() && text[end] != stop && text[end] != 0) ++end;
  return end - pos;
}

uint32_t Clamped(size_t length) {
  return static_cast<uint32_t>(std::min<size_t>(length, kMaxCatalogueField));
}

bool IsCapital(uint8_t byte) { return byte >= kFirstCapital && byte <= kLastCapital; }

struct LetterState {
  int current = kNoLetter;
  int32_t run = 0;
};

void IndexLetter(Catalogue& catalogue, LetterState& state, std::string_view title) {
  const int letter = InitialLetter(title);
  // A title without a capital stays in the current letter's run.
  if (letter == kNoLetter || letter == state.current) {
    ++state.run;
    return;
  }
  state.current = letter;
  catalogue.letterFirst[letter] = static_cast<int32_t>(catalogue.records.size());
  if (letter != 0) catalogue.letterRuns[letter - 1] = state.run;
  state.run = 1;
}

}  // namespace

int InitialLetter(std::string_view title) {
  for (size_t i = 0; i < 2 && i < title.size(); ++i) {
    const auto byte = static_cast<uint8_t>(title[i]);
    if (IsCapital(byte)) return byte - kFirstCapital;
  }
  return kNoLetter;
}

Catalogue ParseCatalogue(std::span<const uint8_t> text, size_t capacity, bool letterIndex) {
  Catalogue catalogue;
  catalogue.letterFirst.fill(-1);
  LetterState letters;
  size_t pos = 0;
  // Fewer than four bytes left cannot hold an entry (its separators and CR LF).
  while (pos + 3 < text.size() && catalogue.records.size() < capacity) {
    CatalogueRecord r{};
    const size_t title = FieldLength(text, pos, ';');
    r.titleOffset = static_cast<uint32_t>(pos);
    r.titleLength = Clamped(title);
    if (letterIndex)
      IndexLetter(catalogue, letters, {reinterpret_cast<const char*>(text.data() + pos), r.titleLength});
    pos += title + 1;
    const size_t second = pos < text.size() ? FieldLength(text, pos, ';') : 0;
    r.secondOffset = static_cast<uint32_t>(std::min(pos, text.size()));
    r.secondLength = Clamped(second);
    pos += second + 1;
    const size_t third = pos < text.size() ? FieldLength(text, pos, '\r') : 0;
    r.thirdOffset = static_cast<uint32_t>(std::min(pos, text.size()));
    r.thirdLength = Clamped(third);
    pos += third + 2;
    catalogue.records.push_back(r);
  }
  if (letterIndex && letters.run > 1 && letters.current != kNoLetter)
    catalogue.letterRuns[letters.current] = letters.run;
  return catalogue;
}

std::optional<std::string_view> FindCaption(std::span<const uint8_t> file, std::string_view key) {
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  const std::string_view content = text.substr(0, text.find('\0'));
  size_t pos = 0;
  while (pos < content.size()) {
    const size_t lineEnd = std::min(content.find('\r', pos), content.size());
    const std::string_view line = content.substr(pos, lineEnd - pos);
    // A line without a TAB has no caption; it never runs into the next line.
    const size_t tab = line.find('\t');
    if (tab != std::string_view::npos && line.substr(0, tab) == key) return line.substr(tab + 1);
    pos = lineEnd + 2;  // CR LF
  }
  return std::nullopt;
}

}  // namespace kro::media
