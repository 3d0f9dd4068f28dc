#include "app/lists/DescriptionLoader.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

namespace kro::lists {
namespace {

using toolkit::TreeNode;

std::string Num(int64_t value) { return std::to_string(value); }

// The first fault of a description: the loader reads on past it as the language says.
struct FirstFault {
  std::optional<ParseError> error;
  void Note(size_t at, ParseCause cause, std::string message) {
    if (!error) error = ParseError{at, cause, std::move(message)};
  }
};

// A cursor over the description; a NUL ends it, as the end of a string would.
class Cursor {
public:
  Cursor(std::string_view text, SourceKind kind) : text_(text.substr(0, text.find('\0'))), kind_(kind) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  size_t Pos() const { return pos_; }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  size_t Remaining() const { return text_.size() - std::min(pos_, text_.size()); }

  bool IsLineEnd(char c) const { return c == '\n' || (kind_ == SourceKind::kMemory && c == '^'); }
  // A file in text mode has no CR before its LF; in memory '^' separates lines too.
  bool IsSkippable(char c) const {
    return c == ' ' || c == '\t' || c == '\n' || (kind_ == SourceKind::kFile ? c == '\r' : c == '^');
  }

  // The next line (or the next kMaxLineChars of a longer one), without its terminator.
  std::optional<std::string_view> NextLine() {
    if (AtEnd()) return std::nullopt;
    size_t end = pos_;
    while (end < text_.size() && !IsLineEnd(text_[end]) && end - pos_ < kMaxLineChars) ++end;
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end < text_.size() && IsLineEnd(text_[end]) ? end + 1 : end;
    if (kind_ == SourceKind::kFile && line.ends_with('\r')) line.remove_suffix(1);
    return line;
  }
  void SkipRestOfLine() {
    while (!AtEnd() && !IsLineEnd(text_[pos_])) ++pos_;
    if (!AtEnd()) ++pos_;
  }
  void SkipBlanks() {
    while (!AtEnd() && IsSkippable(text_[pos_])) ++pos_;
  }
  // A decimal number as "%ld" reads it (sign allowed, saturated to 32 bits).
  std::optional<int32_t> Long() {
    size_t at = pos_;
    bool negative = false;
    if (at < text_.size() && (text_[at] == '-' || text_[at] == '+')) negative = text_[at++] == '-';
    const size_t digits = at;
    int64_t value = 0;
    for (; at < text_.size() && text_[at] >= '0' && text_[at] <= '9'; ++at)
      value = std::min<int64_t>(value * 10 + (text_[at] - '0'), int64_t{1} << 32);
    if (at == digits) return std::nullopt;
    pos_ = at;
    value = negative ? -value : value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }

private:
  std::string_view text_;
  SourceKind kind_;
  size_t pos_ = 0;
};

std::optional<int32_t> ReadLong(std::string_view text) {
  Cursor c(text, SourceKind::kFile);
  return c.Long();
}

// False when the description ends before its BEGIN line.
bool ReadHeader(Cursor& c, HeaderSink& sink) {
  while (auto line = c.NextLine()) {
    const auto header = ParseHeaderLine(*line);
    if (!header) continue;
    sink.Apply(header->keyword, header->value);
    if (header->keyword == Keyword::kBegin) return true;
  }
  return false;
}

struct BlockHead {
  TreeNode* node;
  std::optional<int32_t> count;
};

// The next line holding "{"; comment lines end the body in a file and are passed over in
// memory.
std::optional<std::string_view> FindHeadLine(Cursor& c, SourceKind kind) {
  c.SkipBlanks();
  while (auto line = c.NextLine()) {
    if (line->starts_with(';')) {
      if (kind == SourceKind::kFile) return std::nullopt;
      continue;
    }
    if (line->find('{') != std::string_view::npos) return line;
  }
  return std::nullopt;
}

// `at` is the head line's offset, for the fault of a head that ends the body.
Result<BlockHead> ParseHead(std::string_view line, size_t at, TreeNode& root) {
  std::string stripped;
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') stripped += c;
  const size_t brace = stripped.find('{');
  TreeNode* node = &root;
  if (brace != 0) {
    const auto id = ReadLong(stripped);
    if (!id || *id == 0) return ParseError{at, ParseCause::MalformedText, "block head without a node id"};
    node = root.FindById(static_cast<uint32_t>(*id));
    if (!node)
      return ParseError{at, ParseCause::Missing, "block head names node " + Num(*id) + ", which no entry declared"};
  }
  return BlockHead{node, ReadLong(std::string_view(stripped).substr(brace + 1))};
}

// Child slots beyond the lines still to come could never be filled, and the whole tree
// stays within kMaxEntries.
uint32_t AllowedChildren(int32_t declared, const Cursor& c, uint32_t created) {
  const uint64_t byLines = c.Remaining() / 2 + 1;
  const uint64_t budget = kMaxEntries - std::min(created, kMaxEntries);
  return static_cast<uint32_t>(std::min<uint64_t>({static_cast<uint64_t>(declared), byLines, budget}));
}

// Reads the entries of one block (whose head is at `headAt`); false when the description
// ended.
bool ReadEntries(Cursor& c, TreeNode& node, size_t headAt, uint32_t* entryCount, FirstFault& fault) {
  for (int32_t i = 0; i < node.ChildCount(); ++i) {
    c.SkipBlanks();
    if (c.AtEnd()) {
      fault.Note(
          c.Pos(), ParseCause::Truncated,
          "the block at " + Num(headAt) + " ends after " + Num(i) + " of its " + Num(node.ChildCount()) + " entries");
      return false;
    }
    if (c.Peek() == ';') {
      c.SkipRestOfLine();
      continue;
    }
    const size_t at = c.Pos();
    const auto id = c.Long();
    if (!id || *id == 0) {
      fault.Note(at, ParseCause::MalformedText,
                 "entry " + Num(i + 1) + " of the block at " + Num(headAt) + " without an id");
      return true;
    }
    c.SkipBlanks();
    TreeNode& child = *node.Child(i);
    child.id = static_cast<uint32_t>(*id);
    child.textOffset = static_cast<uint32_t>(c.Pos());
    ++*entryCount;
    c.SkipRestOfLine();
  }
  return true;
}

}  // namespace

Result<uint32_t> LoadDescription(std::string_view description, SourceKind kind, TreeNode& root, HeaderSink& sink) {
  root.id = 0;
  root.shown = 1;
  Cursor c(description, kind);
  FirstFault fault;
  if (!ReadHeader(c, sink)) fault.Note(c.Pos(), ParseCause::Missing, "no BEGIN: line ends the header");
  uint32_t entryCount = 0;
  uint32_t created = 0;
  while (const auto line = FindHeadLine(c, kind)) {
    const size_t at = static_cast<size_t>(line->data() - description.data());
    const auto head = ParseHead(*line, at, root);
    if (!head) {
      fault.Note(head.error().offset, head.error().cause, head.error().message);
      break;
    }
    if (head->node->ChildCount() == 0 && head->count && *head->count > 0) {
      const uint32_t budget = kMaxEntries - std::min(created, kMaxEntries);
      if (static_cast<uint32_t>(*head->count) > budget)
        fault.Note(at, ParseCause::OutOfLimits,
                   "the block declares " + Num(*head->count) + " entries, " + Num(budget) + " more allowed");
      const uint32_t n = AllowedChildren(*head->count, c, created);
      if (n > 0 && head->node->CreateChildren(n)) created += n;
    }
    if (!ReadEntries(c, *head->node, at, &entryCount, fault)) break;
  }
  for (int32_t i = 0; i < root.ChildCount(); ++i) {
    root.Child(i)->shown = 1;
    root.Child(i)->row = static_cast<uint32_t>(i);
  }
  if (fault.error) return {*std::move(fault.error), entryCount};
  return entryCount;
}

std::string_view EntryText(std::string_view description, size_t offset, SourceKind kind) {
  if (offset >= description.size()) return {};
  std::string_view rest = description.substr(offset);
  size_t end = 0;
  while (end < rest.size() && end < kMaxLineChars && rest[end] != '\n' && rest[end] != '\0' &&
         !(kind == SourceKind::kMemory && rest[end] == '^'))
    ++end;
  rest = rest.substr(0, end);
  if (kind == SourceKind::kFile && rest.ends_with('\r')) rest.remove_suffix(1);
  return rest;
}

}  // namespace kro::lists
