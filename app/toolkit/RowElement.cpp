#include "app/toolkit/RowElement.h"

#include <algorithm>

namespace kro::toolkit {

RowElement::RowElement(int16_t width, int16_t height) : Element(0, 0, width, height) { SetType(kElementItem); }

RowElement::RowElement(const RowElement& other) : Element(other) {
  parts_.reserve(other.parts_.size());
  for (const auto& part : other.parts_) parts_.push_back(part->Clone());
}

std::unique_ptr<Element> RowElement::Clone() const { return std::make_unique<RowElement>(*this); }

bool RowElement::Draw(HDC dc, int dx, int dy) {
  for (const auto& part : parts_) part->Draw(dc, x + dx, y + dy);
  return true;
}

void RowElement::SetChecked(uint32_t flag) {
  Element::SetChecked(flag);
  for (const auto& part : parts_) part->SetChecked(flag);
}

void RowElement::SetCurrent(uint32_t flag) {
  Element::SetCurrent(flag);
  for (const auto& part : parts_) part->SetCurrent(flag);
}

void RowElement::SetHover(uint32_t flag) {
  Element::SetHover(flag);
  for (const auto& part : parts_) part->SetHover(flag);
}

bool RowElement::Append(std::unique_ptr<Element> part) {
  if (!part || parts_.size() >= kMaxParts) return false;
  height = std::max(height, part->height);
  parts_.push_back(std::move(part));
  return true;
}

bool RowElement::InsertFront(std::unique_ptr<Element> part) {
  if (!part || parts_.size() >= kMaxParts) return false;
  for (const auto& other : parts_) other->x = static_cast<int16_t>(other->x + part->width);
  width = static_cast<int16_t>(width + part->width);
  part->x = 0;
  part->y = 0;
  parts_.insert(parts_.begin(), std::move(part));
  return true;
}

void RowElement::LayOut() {
  int16_t at = 0;
  for (const auto& part : parts_) {
    part->x = at;
    part->y = 0;
    at = static_cast<int16_t>(at + part->width);
  }
}

Element* RowElement::FindPart(int16_t partType) const {
  const auto found = std::find_if(parts_.begin(), parts_.end(), [&](const auto& p) { return p->type == partType; });
  return found == parts_.end() ? nullptr : found->get();
}

int RowElement::HitTest(int px, int py) const {
  if (px < x || py < y || px >= x + width || py >= y + height) return -1;
  const int rx = px - x, ry = py - y;
  for (size_t i = 0; i < parts_.size(); ++i) {
    const Element& p = *parts_[i];
    if (rx >= p.x && ry >= p.y && rx < p.x + p.width && ry < p.y + p.height) return static_cast<int>(i);
  }
  return 0;
}

int RowElement::TextStart() const {
  int start = x;
  for (const auto& part : parts_) {
    if (part->decoration == 0) break;
    start += part->width;
  }
  return start;
}

int RowElement::TextWidth() const {
  if (parts_.empty()) return 0;
  int total = 0;
  for (size_t i = 0; i + 1 < parts_.size(); ++i)
    if (parts_[i]->decoration == 0) total += parts_[i]->width;
  Element& last = *parts_.back();
  if (last.decoration == 0) total += last.GetWidth();
  return total;
}

}  // namespace kro::toolkit
