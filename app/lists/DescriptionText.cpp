#include "app/lists/DescriptionText.h"

#include <algorithm>
#include <array>
#include <utility>

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal as the C library scans it: an optional sign, then digits; the value wraps as
// the scan's target type would.
std::optional<int64_t> ScanDecimal(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
  uint64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + static_cast<uint64_t>(text[i] - '0');
  const auto v = static_cast<int64_t>(value & 0xFFFFFFFFu);
  return negative ? -v : v;
}

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

size_t FieldReader::FieldStart() {
  while (pos_ < value_.size() && IsBlank(value_[pos_])) ++pos_;
  return pos_;
}

void FieldReader::NextComma(size_t from) {
  const size_t comma = from < value_.size() ? value_.find(',', from) : std::string_view::npos;
  if (comma == std::string_view::npos) {
    stopped_ = true;
    pos_ = value_.size();
  } else {
    pos_ = comma + 1;
  }
}

std::optional<std::string> FieldReader::String() {
  if (stopped_) return std::nullopt;
  const size_t start = FieldStart();
  const size_t quote = value_.find('"', start);
  const size_t comma = value_.find(',', start);
  if (quote == std::string_view::npos || (comma != std::string_view::npos && comma < quote)) {
    NextComma(start);
    return std::string();
  }
  size_t close = quote + 1;
  while (close < value_.size() && !(value_[close] == '"' && value_[close - 1] != '\\')) ++close;
  if (close >= value_.size()) {
    stopped_ = true;  // the rest of the value belongs to the unterminated string
    pos_ = value_.size();
    return std::string();
  }
  std::string text(value_.substr(quote + 1, std::min(close - quote - 1, kMaxStringField)));
  NextComma(close + 1);
  return text;
}

std::optional<int32_t> FieldReader::Long() {
  if (stopped_) return std::nullopt;
  const size_t start = FieldStart();
  const auto value = ScanDecimal(value_.substr(start));
  NextComma(start);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

std::optional<int16_t> FieldReader::Short() {
  const auto value = Long();
  if (!value) return std::nullopt;
  return static_cast<int16_t>(static_cast<uint16_t>(*value));
}

std::optional<int16_t> FieldReader::Size() {
  const auto value = Short();
  if (!value || *value == -1) return std::nullopt;
  return value;
}

std::optional<uint32_t> FieldReader::Colour() {
  if (stopped_) return std::nullopt;
  const size_t start = FieldStart();
  size_t i = start;
  if (i + 1 < value_.size() && value_[i] == '0' && (value_[i + 1] == 'x' || value_[i + 1] == 'X') &&
      i + 2 < value_.size() && HexValue(value_[i + 2]) >= 0)
    i += 2;
  uint32_t value = 0;
  const size_t digits = i;
  for (; i < value_.size() && HexValue(value_[i]) >= 0; ++i) value = value << 4 | static_cast<uint32_t>(HexValue(value_[i]));
  NextComma(start);
  if (i == digits) return std::nullopt;
  return value;
}

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
