#pragma once
// The values of the list description language, read into plain fields. Every field is
// optional: an absent or unreadable one keeps the part's current setting. Portable; the
// list windows turn names into pictures and faces into fonts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kro::lists {

constexpr uint32_t kColourNotSet = 0xFFFFFFFF;
constexpr size_t kMaxRowParts = 20;

enum class PartType { kText, kBitmap, kChecker, kGroupChecker, kSelectChecker, kItemPrefix, kGroupPrefix };

using Text = std::optional<std::string>;
using Number = std::optional<int16_t>;
using Colour = std::optional<uint32_t>;

struct TextFields {
  Text text;
  Number width, height;
  Text face;
  Number size;  // pixels; 0 means the part's height. Only read after a non-empty face.
  Colour textColour, backColour, currentTextColour, currentBackColour, hoverTextColour, hoverBackColour;
  Text checkedFace;
  Number checkedSize;
  Colour checkedTextColour, checkedBackColour;
};

// BITMAP, EMPTY, ITEMPREFIX and GROUPPREFIX parts.
struct PictureFields {
  Text picture;
  Number width, height;
  Colour backColour;
  Text checkedPicture;
  Colour checkedBackColour;
};

// CHECKER and GROUPCHECKER parts.
struct CheckerFields {
  Text offPicture, onPicture;
  Number width, height;
  Colour backColour;
  Text checkedRowOffPicture, checkedRowOnPicture;
  Colour checkedBackColour;
};

struct SelectCheckerFields {
  Text uncheckedPicture, checkedPicture, partialPicture;
  Number width, height;
  Colour backColour, checkedBackColour;
  Number mode;  // 1 draws with SRCAND
};

struct RowStructFields {
  Number width, height;
  std::vector<PartType> parts;  // at most kMaxRowParts
};

struct BackgroundFields {
  Colour colour, currentColour;
  Text picture, currentPicture, checkedPicture;
};

struct SpaceFields {
  Number space;
  Text picture;
};

TextFields ParseTextFields(std::string_view value);
PictureFields ParsePictureFields(std::string_view value);
CheckerFields ParseCheckerFields(std::string_view value);
SelectCheckerFields ParseSelectCheckerFields(std::string_view value);
RowStructFields ParseRowStruct(std::string_view value);
BackgroundFields ParseBackground(std::string_view value);
SpaceFields ParseSpace(std::string_view value);
Text ParseStringValue(std::string_view value);

}  // namespace kro::lists
