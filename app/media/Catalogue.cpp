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

// Checks one field of line `line` that the loader took as [pos, pos + length): the first
// fault of the catalogue is kept in `fault`.
void CheckField(std::span<const uint8_t> text, size_t pos, size_t length, size_t line, int field,
                std::optional<ParseError>& fault) {
  if (fault) return;
  // Built only for a fault: a clean catalogue of 12,500 entries checks 37,500 fields.
  const auto where = [line] { return "line " + std::to_string(line); };
  const size_t end = pos + length;
  for (size_t i = pos; i < end; ++i)
    if (text[i] == '\r' || text[i] == '\n') {
      fault = ParseError{i, ParseCause::MalformedText, where() + " ends before field " + std::to_string(field + 1)};
      return;
    }
  if (end < text.size() && text[end] == 0) {
    fault = ParseError{end, ParseCause::MalformedText, where() + ": NUL byte in field " + std::to_string(field)};
  } else if (field < 3 && end >= text.size()) {
    fault = ParseError{text.size(), ParseCause::Truncated, where() + " ends inside field " + std::to_string(field)};
  } else if (field == 3 && end < text.size() && (end + 1 == text.size() || text[end + 1] != '\n')) {
    fault = ParseError{end, ParseCause::MalformedText, where() + ": CR without LF"};
  } else if (length > kMaxCatalogueField) {
    fault = ParseError{pos, ParseCause::OutOfLimits,
                       where() + ": field " + std::to_string(field) + " of " + std::to_string(length) +
                           " bytes, at most " + std::to_string(kMaxCatalogueField)};
  }
}

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

Result<Catalogue> ParseCatalogue(std::span<const uint8_t> text, size_t capacity, bool letterIndex) {
  Catalogue catalogue;
  catalogue.letterFirst.fill(-1);
  LetterState letters;
  std::optional<ParseError> fault;
  size_t pos = 0;
  // Fewer than four bytes left cannot hold an entry (its separators and CR LF).
  while (pos + 3 < text.size()) {
    const size_t line = catalogue.records.size() + 1;
    if (catalogue.records.size() == capacity) {
      if (!fault)
        fault = ParseError{pos, ParseCause::OutOfLimits, "more than " + std::to_string(capacity) + " entries"};
      break;
    }
    CatalogueRecord r{};
    const size_t title = FieldLength(text, pos, ';');
    CheckField(text, pos, title, line, 1, fault);
    r.titleOffset = static_cast<uint32_t>(pos);
    r.titleLength = Clamped(title);
    if (letterIndex)
      IndexLetter(catalogue, letters, {reinterpret_cast<const char*>(text.data() + pos), r.titleLength});
    pos += title + 1;
    const size_t second = pos < text.size() ? FieldLength(text, pos, ';') : 0;
    if (pos <= text.size()) CheckField(text, pos, second, line, 2, fault);
    r.secondOffset = static_cast<uint32_t>(std::min(pos, text.size()));
    r.secondLength = Clamped(second);
    pos += second + 1;
    const size_t third = pos < text.size() ? FieldLength(text, pos, '\r') : 0;
    if (pos <= text.size()) CheckField(text, pos, third, line, 3, fault);
    r.thirdOffset = static_cast<uint32_t>(std::min(pos, text.size()));
    r.thirdLength = Clamped(third);
    pos += third + 2;
    catalogue.records.push_back(r);
  }
  if (letterIndex && letters.run > 1 && letters.current != kNoLetter)
    catalogue.letterRuns[letters.current] = letters.run;
  if (!fault && pos < text.size())
    fault = ParseError{pos, ParseCause::Truncated,
                       std::to_string(text.size() - pos) + " bytes after the last entry hold no whole entry"};
  if (fault) return {*std::move(fault), std::move(catalogue)};
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
