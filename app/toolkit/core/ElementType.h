#pragma once
// The kinds of drawable element a list row is made of, by their description keywords.
#include <cstdint>
#include <string_view>

namespace kro::toolkit {

enum ElementType : int16_t {
  kElementNone = 0,  // a window's own element
  kElementText = 1,
  kElementEmpty = 2,
  kElementBitmap = 3,
  kElementChecker = 4,
  kElementGroupChecker = 5,
  kElementSelectChecker = 6,
  kElementItemPrefix = 7,
  kElementGroupPrefix = 8,
  kElementItem = 9,
};

// Keywords hold at most this many characters plus the terminating zero.
inline constexpr size_t kElementTypeNameBytes = 20;

// Exact, case-sensitive match against the nine keywords; kElementNone when none matches.
ElementType ElementTypeFromKeyword(std::string_view keyword);
// The keyword of a type, or "" for kElementNone and out-of-range values.
std::string_view ElementTypeKeyword(int16_t type);
// The picture parts of a row: BITMAP, EMPTY, the prefixes and the two non-row checkers.
bool IsDecorationType(int16_t type);

}  // namespace kro::toolkit
