#pragma once
// The text layer of the list description language: lines of a description, header lines
// "KEYWORD: value", and the comma-separated fields of a value. Portable.
//
// Lines: a file's lines end at LF (a CR before it is dropped); an in-memory
// description's lines end at LF or '^'. A line is seen at most 511 characters at a time:
// the rest of a longer line comes as the next line.
// Fields: blanks (space, TAB, LF, '^') before a field are skipped. A string is a
// double-quoted run taken as it stands up to the next quote not preceded by a backslash
// (at most 255 characters); no quote, a comma before the first quote, or an unterminated
// string give the empty string. Numbers are decimal, colours hexadecimal (an optional
// 0x). Each field but the last is followed by a comma: reading stops after the first
// field without one, and later fields keep their values.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kro::lists {

constexpr size_t kMaxLineChars = 511;
constexpr size_t kMaxStringField = 255;

enum class SourceKind { kFile, kMemory };

struct Line {
  std::string_view text;  // without its terminator
  size_t offset;          // of its first byte in the description
};

// Splits a description into the lines the reader sees.
std::vector<Line> SplitLines(std::string_view description, SourceKind kind);
bool IsBlank(char c);

// Reads the fields of one value in order, through the toolkit's field readers.
class FieldReader {
public:
  explicit FieldReader(std::string_view value) : value_(value), pos_(value_.c_str()) {}
  FieldReader(const FieldReader&) = delete;
  FieldReader& operator=(const FieldReader&) = delete;

  // Each read answers the field, or nullopt when reading has already stopped (the field
  // is absent) or the number there cannot be read.
  std::optional<std::string> String();
  std::optional<int32_t> Long();
  // A short number; -1 (or 65535) is "keep", as for sizes.
  std::optional<int16_t> Size();
  std::optional<int16_t> Short();
  std::optional<uint32_t> Colour();
  bool Stopped() const { return pos_ == nullptr; }

private:
  template <typename T, typename Reader>
  std::optional<T> Number(Reader reader);
  // Continues after the comma a reader found, or stops when it found none.
  void Advance(const char* comma) { pos_ = comma ? comma + 1 : nullptr; }

  std::string value_;  // a zero-terminated copy for the readers
  const char* pos_;
};

enum class Keyword {
  kEmpty, kItemStruct, kGroupStruct, kItem, kBegin, kBackground, kGroupChecker, kSelectChecker,
  kItemPrefix, kGroupPrefix, kGroupItem, kSpace, kPalette, kScroller, kDataDir,
};

struct HeaderLine {
  Keyword keyword;
  std::string_view value;
};

// A header line, or nullopt for comments, empty lines, lines without ':' and unknown
// keywords (compared exactly: "ITEM :" and "item:" are not keywords).
std::optional<HeaderLine> ParseHeaderLine(std::string_view line);

// "|"-separated fields of ITEM, GROUPITEM and entry texts; an empty field leaves its part
// unchanged and is kept as an empty view.
std::vector<std::string_view> SplitParts(std::string_view text);

}  // namespace kro::lists
