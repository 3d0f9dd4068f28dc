#include "app/lists/DescriptionFields.h"

#include <algorithm>
#include <utility>

#include "app/lists/DescriptionText.h"

namespace kro::lists {
namespace {

constexpr std::pair<std::string_view, PartType> kPartTypes[] = {
    {"TEXT", PartType::kText},
    {"BITMAP", PartType::kBitmap},
    {"CHECKER", PartType::kChecker},
    {"GROUPCHECKER", PartType::kGroupChecker},
    {"SELECTCHECKER", PartType::kSelectChecker},
    {"ITEMPREFIX", PartType::kItemPrefix},
    {"GROUPPREFIX", PartType::kGroupPrefix},
};

// A face is followed by its size and a spare number only when it is not empty.
void ReadFace(FieldReader& r, Text* face, Number* size) {
  *face = r.String();
  if (*face && !(*face)->empty()) {
    *size = r.Short();
    r.Short();  // spare
  }
}

bool IsTypeNameChar(char c) { return c != ',' && c != ' ' && c != ';' && c != '|' && c != '\n'; }

}  // namespace

TextFields ParseTextFields(std::string_view value) {
  FieldReader r(value);
  TextFields f;
  f.text = r.String();
  f.width = r.Size();
  f.height = r.Size();
  ReadFace(r, &f.face, &f.size);
  f.textColour = r.Colour();
  f.backColour = r.Colour();
  f.currentTextColour = r.Colour();
  f.currentBackColour = r.Colour();
  f.hoverTextColour = r.Colour();
  f.hoverBackColour = r.Colour();
  ReadFace(r, &f.checkedFace, &f.checkedSize);
  f.checkedTextColour = r.Colour();
  f.checkedBackColour = r.Colour();
  return f;
}

PictureFields ParsePictureFields(std::string_view value) {
  FieldReader r(value);
  PictureFields f;
  f.picture = r.String();
  f.width = r.Size();
  f.height = r.Size();
  f.backColour = r.Colour();
  f.checkedPicture = r.String();
  f.checkedBackColour = r.Colour();
  return f;
}

CheckerFields ParseCheckerFields(std::string_view value) {
  FieldReader r(value);
  CheckerFields f;
  f.offPicture = r.String();
  f.onPicture = r.String();
  f.width = r.Size();
  f.height = r.Size();
  f.backColour = r.Colour();
  f.checkedRowOffPicture = r.String();
  f.checkedRowOnPicture = r.String();
  f.checkedBackColour = r.Colour();
  return f;
}

SelectCheckerFields ParseSelectCheckerFields(std::string_view value) {
  FieldReader r(value);
  SelectCheckerFields f;
  f.uncheckedPicture = r.String();
  f.checkedPicture = r.String();
  f.partialPicture = r.String();
  f.width = r.Size();
  f.height = r.Size();
  f.backColour = r.Colour();
  f.checkedBackColour = r.Colour();
  f.mode = r.Short();
  return f;
}

RowStructFields ParseRowStruct(std::string_view value) {
  FieldReader r(value);
  RowStructFields f;
  f.width = r.Size();
  f.height = r.Size();
  // The type names follow the two numbers, separated by commas.
  size_t pos = 0;
  for (int commas = 0; commas < 2 && pos < value.size(); ++pos)
    if (value[pos] == ',') ++commas;
  while (pos < value.size() && f.parts.size() < kMaxRowParts) {
    while (pos < value.size() && (IsBlank(value[pos]) || value[pos] == ',')) ++pos;
    size_t end = pos;
    while (end < value.size() && IsTypeNameChar(value[end])) ++end;
    const std::string_view name = value.substr(pos, end - pos);
    const auto* type = std::find_if(std::begin(kPartTypes), std::end(kPartTypes),
                                    [&](const auto& entry) { return entry.first == name; });
    // EMPTY, ITEM or any unknown name ends the list.
    if (type == std::end(kPartTypes)) break;
    f.parts.push_back(type->second);
    pos = end;
  }
  return f;
}

BackgroundFields ParseBackground(std::string_view value) {
  FieldReader r(value);
  BackgroundFields f;
  f.colour = r.Colour();
  f.currentColour = r.Colour();
  f.picture = r.String();
  f.currentPicture = r.String();
  f.checkedPicture = r.String();
  return f;
}

SpaceFields ParseSpace(std::string_view value) {
  FieldReader r(value);
  SpaceFields f;
  f.space = r.Short();
  f.picture = r.String();
  return f;
}

Text ParseStringValue(std::string_view value) {
  FieldReader r(value);
  return r.String();
}

}  // namespace kro::lists
