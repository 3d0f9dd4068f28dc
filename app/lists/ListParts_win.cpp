#include "app/lists/ListParts_win.h"

#include <algorithm>

#include "app/lists/DescriptionFields.h"

namespace kro::lists {
namespace {

using toolkit::DdbBitmap;
using toolkit::Element;

constexpr size_t kMaxDataDirectory = 511;
// Fonts of text parts: bold as the lists have always been drawn.
constexpr int kTextWeight = 600;

std::string& DataDirectoryStorage() {
  static std::string directory;
  return directory;
}

template <typename T, typename Field>
void Keep(T* target, const std::optional<Field>& value) {
  if (value) *target = static_cast<T>(*value);
}

void KeepSize(Element& e, const Number& width, const Number& height) {
  Keep(&e.width, width);
  Keep(&e.height, height);
}

// A picture named in the data directory, loaded when the file exists; otherwise the
// previous one stays.
void LoadDataPicture(SharedPicture* target, const Text& name) {
  if (!name || name->empty()) return;
  const auto path = DataFile(*name);
  if (!path) return;
  auto picture = std::make_shared<DdbBitmap>();
  if (picture->Load(path->c_str())) *target = std::move(picture);
}

void FillCell(HDC dc, const RECT& cell, COLORREF colour) {
  if (colour == kNoColour) return;
  UniqueBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &cell, brush.Get());
}

// Fills the cell and centres the picture in it; a picture larger than the cell shows its
// middle.
void DrawPictureCell(HDC dc, const Element& part, int dx, int dy, COLORREF background, const DdbBitmap* picture,
                     DWORD rasterOp) {
  const RECT cell{part.x + dx, part.y + dy, part.x + part.width + dx, part.y + part.height + dy};
  FillCell(dc, cell, background);
  if (!picture || !picture->IsLoaded()) return;
  const int offsetX = (part.width - picture->Width()) / 2, offsetY = (part.height - picture->Height()) / 2;
  picture->Draw(dc, cell.left + std::max(0, offsetX), cell.top + std::max(0, offsetY),
                std::min<int>(part.width, picture->Width()), std::min<int>(part.height, picture->Height()),
                std::max(0, -offsetX), std::max(0, -offsetY), rasterOp);
}

std::shared_ptr<const UniqueFont> MakeFont(const std::string& face, int16_t size, int16_t partHeight) {
  const int height = size != 0 ? size : partHeight;
  // The system code page's character set: the texts are cp1251.
  return std::make_shared<const UniqueFont>(CreateFontA(-height, 0, 0, 0, kTextWeight, 0, 0, 0, DEFAULT_CHARSET,
                                                        OUT_RASTER_PRECIS, 0, 0, 0, face.c_str()));
}

}  // namespace

const std::string& DataDirectory() { return DataDirectoryStorage(); }

void SetDataDirectory(std::string_view directory) {
  DataDirectoryStorage().assign(directory.substr(0, kMaxDataDirectory));
}

std::optional<std::string> DataFile(std::string_view name) {
  std::string path = DataDirectory() + std::string(name);
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return path;
}

std::unique_ptr<Element> MakePart(PartType type) {
  switch (type) {
    case PartType::kText: return std::make_unique<TextElement>();
    case PartType::kBitmap: return std::make_unique<BitmapElement>(toolkit::kElementBitmap);
    case PartType::kItemPrefix: return std::make_unique<BitmapElement>(toolkit::kElementItemPrefix);
    case PartType::kGroupPrefix: return std::make_unique<BitmapElement>(toolkit::kElementGroupPrefix);
    case PartType::kChecker: return std::make_unique<CheckerElement>(toolkit::kElementChecker);
    case PartType::kGroupChecker: return std::make_unique<CheckerElement>(toolkit::kElementGroupChecker);
    case PartType::kSelectChecker: return std::make_unique<SelectCheckerElement>();
  }
  return nullptr;
}

TextElement::TextElement() : Element(0, 0, 0, 0) { SetType(toolkit::kElementText); }

std::unique_ptr<Element> TextElement::Clone() const { return std::make_unique<TextElement>(*this); }

bool TextElement::Parse(const char* text) {
  const TextFields f = ParseTextFields(text ? text : "");
  Keep(&text_, f.text);
  KeepSize(*this, f.width, f.height);
  if (f.face && !f.face->empty()) font_ = MakeFont(*f.face, f.size.value_or(0), height);
  if (f.checkedFace && !f.checkedFace->empty()) checkedFont_ = MakeFont(*f.checkedFace, f.checkedSize.value_or(0), height);
  Keep(&textColour_, f.textColour);
  Keep(&backColour_, f.backColour);
  Keep(&currentTextColour_, f.currentTextColour);
  Keep(&currentBackColour_, f.currentBackColour);
  Keep(&hoverTextColour_, f.hoverTextColour);
  Keep(&hoverBackColour_, f.hoverBackColour);
  Keep(&checkedTextColour_, f.checkedTextColour);
  Keep(&checkedBackColour_, f.checkedBackColour);
  return true;
}

HFONT TextElement::Font() const {
  const auto& font = checked && checkedFont_ ? checkedFont_ : font_;
  return font ? font->Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextElement::Extent() {
  SIZE size{};
  WindowDc screen(nullptr);
  SelectGuard select(screen.Get(), Font());
  GetTextExtentPoint32A(screen.Get(), text_.c_str(), static_cast<int>(text_.size()), &size);
  return size;
}

int16_t TextElement::GetWidth() { return static_cast<int16_t>(Extent().cx); }
int16_t TextElement::GetHeight() { return static_cast<int16_t>(Extent().cy); }

bool TextElement::Draw(HDC dc, int dx, int dy) {
  COLORREF text = checked ? checkedTextColour_ : textColour_;
  COLORREF back = checked ? checkedBackColour_ : backColour_;
  if (current) {
    if (currentTextColour_ != kNoColour) text = currentTextColour_;
    if (currentBackColour_ != kNoColour) back = currentBackColour_;
  }
  if (hover) {
    if (hoverTextColour_ != kNoColour) text = hoverTextColour_;
    if (hoverBackColour_ != kNoColour) back = hoverBackColour_;
  }
  RECT cell{x + dx, y + dy, x + width + dx, y + height + dy};
  SetBkMode(dc, TRANSPARENT);
  FillCell(dc, cell, back);
  SetTextColor(dc, text == kNoColour ? GetSysColor(COLOR_WINDOWTEXT) : text);
  SelectGuard select(dc, Font());
  DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  return true;
}

BitmapElement::BitmapElement(toolkit::ElementType type) : Element(0, 0, 0, 0) { SetType(type); }

std::unique_ptr<Element> BitmapElement::Clone() const { return std::make_unique<BitmapElement>(*this); }

bool BitmapElement::Parse(const char* text) {
  const PictureFields f = ParsePictureFields(text ? text : "");
  LoadDataPicture(&picture_, f.picture);
  KeepSize(*this, f.width, f.height);
  Keep(&backColour_, f.backColour);
  // The checked picture is opened under its bare name; an empty name clears it.
  if (f.checkedPicture) {
    auto picture = std::make_shared<DdbBitmap>();
    checkedPicture_ = !f.checkedPicture->empty() && picture->Load(f.checkedPicture->c_str()) ? std::move(picture) : nullptr;
  }
  Keep(&checkedBackColour_, f.checkedBackColour);
  return true;
}

bool BitmapElement::Draw(HDC dc, int dx, int dy) {
  const DdbBitmap* picture = checked && checkedPicture_ ? checkedPicture_.get() : picture_.get();
  DrawPictureCell(dc, *this, dx, dy, checked ? checkedBackColour_ : backColour_, picture, SRCCOPY);
  return true;
}

CheckerElement::CheckerElement(toolkit::ElementType type) : Element(0, 0, 0, 0) { SetType(type); }

std::unique_ptr<Element> CheckerElement::Clone() const { return std::make_unique<CheckerElement>(*this); }

bool CheckerElement::Parse(const char* text) {
  const CheckerFields f = ParseCheckerFields(text ? text : "");
  LoadDataPicture(&offPicture_, f.offPicture);
  LoadDataPicture(&onPicture_, f.onPicture);
  KeepSize(*this, f.width, f.height);
  Keep(&backColour_, f.backColour);
  LoadDataPicture(&checkedRowOffPicture_, f.checkedRowOffPicture);
  LoadDataPicture(&checkedRowOnPicture_, f.checkedRowOnPicture);
  Keep(&checkedBackColour_, f.checkedBackColour);
  return true;
}

bool CheckerElement::Draw(HDC dc, int dx, int dy) {
  const SharedPicture& rowPicture = state_ ? checkedRowOnPicture_ : checkedRowOffPicture_;
  const SharedPicture& picture = state_ && onPicture_ ? onPicture_ : offPicture_;
  const DdbBitmap* chosen = checked && rowPicture ? rowPicture.get() : picture.get();
  DrawPictureCell(dc, *this, dx, dy, checked ? checkedBackColour_ : backColour_, chosen, SRCCOPY);
  return true;
}

SelectCheckerElement::SelectCheckerElement() : Element(0, 0, 0, 0) { SetType(toolkit::kElementSelectChecker); }

std::unique_ptr<Element> SelectCheckerElement::Clone() const { return std::make_unique<SelectCheckerElement>(*this); }

bool SelectCheckerElement::Parse(const char* text) {
  const SelectCheckerFields f = ParseSelectCheckerFields(text ? text : "");
  LoadDataPicture(&uncheckedPicture_, f.uncheckedPicture);
  LoadDataPicture(&checkedPicture_, f.checkedPicture);
  LoadDataPicture(&partialPicture_, f.partialPicture);
  KeepSize(*this, f.width, f.height);
  Keep(&backColour_, f.backColour);
  Keep(&checkedBackColour_, f.checkedBackColour);
  if (f.mode) rasterOp_ = *f.mode == 1 ? SRCAND : SRCCOPY;
  return true;
}

void SelectCheckerElement::SetChecked(uint32_t flag) {
  Element::SetChecked(flag);
  if (flag) partial_ = false;
}

bool SelectCheckerElement::Draw(HDC dc, int dx, int dy) {
  const DdbBitmap* picture = uncheckedPicture_.get();
  if (checked && checkedPicture_) {
    picture = checkedPicture_.get();
  } else if (partial_ && partialPicture_) {
    picture = partialPicture_.get();
  }
  DrawPictureCell(dc, *this, dx, dy, checked ? checkedBackColour_ : backColour_, picture, rasterOp_);
  return true;
}

}  // namespace kro::lists
