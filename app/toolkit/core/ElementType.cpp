#include "app/toolkit/core/ElementType.h"

#include <array>

namespace kro::toolkit {
namespace {

// Position (type - 1) holds the keyword of each type.
constexpr std::array<std::string_view, 9> kKeywords = {
    "TEXT", "EMPTY", "BITMAP", "CHECKER", "GROUPCHECKER", "SELECTCHECKER", "ITEMPREFIX", "GROUPPREFIX", "ITEM",
};

}  // namespace

ElementType ElementTypeFromKeyword(std::string_view keyword) {
  for (size_t i = 0; i < kKeywords.size(); ++i)
    if (kKeywords[i] == keyword) return static_cast<ElementType>(i + 1);
  return kElementNone;
}

std::string_view ElementTypeKeyword(int16_t type) {
  if (type < 1 || type > static_cast<int16_t>(kKeywords.size())) return {};
  return kKeywords[static_cast<size_t>(type - 1)];
}

bool IsDecorationType(int16_t type) {
  switch (type) {
    case kElementBitmap:
    case kElementEmpty:
    case kElementItemPrefix:
    case kElementGroupPrefix:
    case kElementGroupChecker:
    case kElementSelectChecker:
      return true;
    default:
      return false;
  }
}

}  // namespace kro::toolkit
