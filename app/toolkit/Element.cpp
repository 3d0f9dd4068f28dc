#include "app/toolkit/Element.h"

#include <algorithm>

namespace kro::toolkit {

std::unique_ptr<Element> Element::Clone() const { return std::make_unique<Element>(*this); }
bool Element::Draw(HDC, int, int) { return true; }
bool Element::Parse(const char*) { return true; }
int16_t Element::GetWidth() { return width; }
int16_t Element::GetHeight() { return height; }
void Element::SetDecoration(uint32_t flag) { decoration = flag; }
uint32_t Element::IsHover() { return hover; }
uint32_t Element::IsChecked() { return checked; }
uint32_t Element::IsCurrent() { return current; }
void Element::SetChecked(uint32_t flag) { checked = flag; }
void Element::SetCurrent(uint32_t flag) { current = flag; }
void Element::SetHover(uint32_t flag) { hover = flag; }
void Element::SetState(uint32_t) {}
uint32_t Element::GetState() { return 0; }

void Element::SetType(ElementType newType) {
  type = newType;
  const std::string_view keyword = ElementTypeKeyword(newType);
  std::fill(std::begin(typeName), std::end(typeName), '\0');
  std::copy_n(keyword.begin(), std::min(keyword.size(), sizeof typeName - 1), typeName);
  decoration = IsDecorationType(newType) ? 1 : 0;
}

}  // namespace kro::toolkit
