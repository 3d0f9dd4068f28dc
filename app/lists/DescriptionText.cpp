#include "app/lists/DescriptionText.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/toolkit/core/TextUtilities.h"

namespace kro::lists {
namespace {

constexpr std::pair<std::string_view, Keyword> kKeywords[] = {
    {"EMPTY", Keyword::kEmpty},           {"ITEMSTRUCT", Keyword::kItemStruct},
    {"GROUPSTRUCT", Keyword::kGroupStruct}, {"ITEM", Keyword::kItem},
    {"BEGIN", Keyword::kBegin},           {"BACKGROUND", Keyword::kBackground},
    {"GROUPCHECKER", Keyword::kGroupChecker}, {"SELECTCHECKER", Keyword::kSelectChecker},
    {"ITEMPREFIX", Keyword::kItemPrefix}, {"GROUPPREFIX", Keyword::kGroupPrefix},
    {"GROUPITEM", Keyword::kGroupItem},   {"SPACE", Keyword::kSpace},
    {"PALETTE", Keyword::kPalette},       {"SCROLLER", Keyword::kScroller},
    {"DATADIR", Keyword::kDataDir},
};

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '^'; }

std::vector<Line> SplitLines(std::string_view description, SourceKind kind) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < description.size()) {
    size_t end = pos;
    while (end < description.size() && description[end] != '\n' &&
           !(kind == SourceKind::kMemory && description[end] == '^') && description[end] != '\0')
      ++end;
    if (end < description.size() && description[end] == '\0') {
      if (end > pos) lines.push_back({description.substr(pos, end - pos), pos});
      break;  // a NUL ends a description
    }
    std::string_view text = description.substr(pos, end - pos);
    if (kind == SourceKind::kFile && text.ends_with('\r')) text.remove_suffix(1);
    size_t at = pos;
    while (text.size() > kMaxLineChars) {
      lines.push_back({text.substr(0, kMaxLineChars), at});
      text.remove_prefix(kMaxLineChars);
      at += kMaxLineChars;
    }
    lines.push_back({text, at});
    pos = end + 1;
  }
  return lines;
}

template <typename T, typename Reader>
std::optional<T> FieldReader::Number(Reader reader) {
  if (Stopped()) return std::nullopt;
  T value{};
  bool read = false;
  Advance(reader(pos_, &value, &read));
  if (!read) return std::nullopt;
  return value;
}

std::optional<std::string> FieldReader::String() {
  if (Stopped()) return std::nullopt;
  std::array<char, kMaxStringField + 1> text{};
  Advance(toolkit::ReadQuotedField(pos_, text));
  return std::string(text.data());
}

std::optional<int32_t> FieldReader::Long() { return Number<int32_t>(toolkit::ReadLongField); }

std::optional<int16_t> FieldReader::Short() { return Number<int16_t>(toolkit::ReadShortField); }

std::optional<int16_t> FieldReader::Size() {
  const auto value = Short();
  if (!value || *value == -1) return std::nullopt;
  return value;
}

std::optional<uint32_t> FieldReader::Colour() { return Number<uint32_t>(toolkit::ReadHexField); }

std::optional<HeaderLine> ParseHeaderLine(std::string_view line) {
  if (line.empty() || line.front() == ';') return std::nullopt;
  size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  const size_t colon = line.find(':', start);
  if (colon == std::string_view::npos || colon == start) return std::nullopt;
  const std::string_view name = line.substr(start, colon - start);
  const auto* known = std::find_if(std::begin(kKeywords), std::end(kKeywords),
                                   [&](const auto& entry) { return entry.first == name; });
  if (known == std::end(kKeywords)) return std::nullopt;
  size_t value = colon + 1;
  while (value < line.size() && IsBlank(line[value])) ++value;
  return HeaderLine{known->second, line.substr(value)};
}

std::vector<std::string_view> SplitParts(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (true) {
    const size_t bar = text.find('|', pos);
    parts.push_back(text.substr(pos, bar == std::string_view::npos ? std::string_view::npos : bar - pos));
    if (bar == std::string_view::npos) break;
    pos = bar + 1;
  }
  return parts;
}

}  // namespace kro::lists
