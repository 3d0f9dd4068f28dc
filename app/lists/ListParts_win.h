#pragma once
// The parts a described list's rows are made of: text, pictures (blank indentation,
// bitmaps and the two prefixes), checkers (CHECKER and the group open/closed switch) and
// the select checker of every row. Each reads its settings from a description field
// (Parse) and draws itself in its cell. Copies share pictures and fonts with the template
// they come from; a copy that reads a new picture or face gets its own.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/lists/DescriptionFields.h"
#include "app/toolkit/DdbBitmap.h"
#include "app/toolkit/Element.h"
#include "app/toolkit/ListWindow.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::lists {

using toolkit::kNoColour;
using SharedPicture = std::shared_ptr<const toolkit::DdbBitmap>;

// The process-wide directory picture and palette names are resolved in: ends with a
// backslash, or is empty. At most 511 characters.
const std::string& DataDirectory();
void SetDataDirectory(std::string_view directory);
// The data directory plus `name` when that file exists.
std::optional<std::string> DataFile(std::string_view name);

class TextElement : public toolkit::Element {
public:
  TextElement();
  std::unique_ptr<Element> Clone() const override;
  bool Draw(HDC dc, int dx, int dy) override;
  // "text", width, height, "face" [, size, spare], six colours, "checked face" [, size,
  // spare], checked text and background colours.
  bool Parse(const char* text) override;
  // The extent of the text in the font it is drawn with.
  int16_t GetWidth() override;
  int16_t GetHeight() override;

  const std::string& Text() const { return text_; }

private:
  HFONT Font() const;
  SIZE Extent();

  std::string text_;
  std::shared_ptr<const UniqueFont> font_, checkedFont_;
  COLORREF textColour_ = kNoColour, checkedTextColour_ = kNoColour;
  COLORREF backColour_ = kNoColour, checkedBackColour_ = kNoColour;
  COLORREF currentTextColour_ = kNoColour, currentBackColour_ = kNoColour;
  COLORREF hoverTextColour_ = kNoColour, hoverBackColour_ = kNoColour;
};

// EMPTY, BITMAP, ITEMPREFIX and GROUPPREFIX parts.
class BitmapElement : public toolkit::Element {
public:
  explicit BitmapElement(toolkit::ElementType type);
  std::unique_ptr<Element> Clone() const override;
  bool Draw(HDC dc, int dx, int dy) override;
  // "picture", width, height, background colour, "checked picture", checked background.
  bool Parse(const char* text) override;

private:
  SharedPicture picture_, checkedPicture_;
  COLORREF backColour_ = kNoColour, checkedBackColour_ = kNoColour;
};

// CHECKER and GROUPCHECKER parts: an on/off switch with its own state.
class CheckerElement : public toolkit::Element {
public:
  explicit CheckerElement(toolkit::ElementType type);
  std::unique_ptr<Element> Clone() const override;
  bool Draw(HDC dc, int dx, int dy) override;
  // "off", "on", width, height, background, "checked-row off", "checked-row on", checked
  // background.
  bool Parse(const char* text) override;
  void SetState(uint32_t value) override { state_ = value ? 1 : 0; }
  uint32_t GetState() override { return state_; }

private:
  SharedPicture offPicture_, onPicture_, checkedRowOffPicture_, checkedRowOnPicture_;
  COLORREF backColour_ = kNoColour, checkedBackColour_ = kNoColour;
  uint32_t state_ = 0;
};

// The check box of a row: unchecked, checked, or partial for a group some of whose
// descendants are checked.
class SelectCheckerElement : public toolkit::Element {
public:
  SelectCheckerElement();
  std::unique_ptr<Element> Clone() const override;
  bool Draw(HDC dc, int dx, int dy) override;
  // "unchecked", "checked", "partial", width, height, background, checked background,
  // mode (1 draws with SRCAND).
  bool Parse(const char* text) override;
  void SetChecked(uint32_t flag) override;
  void SetPartial(bool partial) { partial_ = partial; }
  bool IsPartial() const { return partial_; }

private:
  SharedPicture uncheckedPicture_, checkedPicture_, partialPicture_;
  COLORREF backColour_ = kNoColour, checkedBackColour_ = kNoColour;
  bool partial_ = false;
  DWORD rasterOp_ = SRCCOPY;
};

// A new part of a row template, with default settings.
std::unique_ptr<toolkit::Element> MakePart(PartType type);

}  // namespace kro::lists
