#pragma once
// One row of a described list: up to 20 parts (text, pictures, checkers) laid out left to
// right at the row's own y. The row container draws, measures and hit-tests rows; the
// list builds them from template copies.
#include <windows.h>

#include <memory>
#include <vector>

#include "app/toolkit/Element.h"

namespace kro::toolkit {

class RowElement : public Element {
public:
  static constexpr size_t kMaxParts = 20;

  RowElement(int16_t width, int16_t height);
  // A deep copy: every part is cloned.
  RowElement(const RowElement& other);
  RowElement& operator=(const RowElement&) = delete;

  std::unique_ptr<Element> Clone() const override;
  // The parts at the row's position plus (dx, dy).
  bool Draw(HDC dc, int dx, int dy) override;
  // The row and every part take the flag: parts draw by their own flags.
  void SetChecked(uint32_t flag) override;
  void SetCurrent(uint32_t flag) override;
  void SetHover(uint32_t flag) override;

  // Adds a part at the right end; refused when the row is full. The row grows to the
  // part's height when that is larger.
  bool Append(std::unique_ptr<Element> part);
  // Puts a part in front, shifting the others right by its width and widening the row
  // by it; refused when the row is full.
  bool InsertFront(std::unique_ptr<Element> part);
  // Sets each part's x to the sum of the widths before it, all at y 0.
  void LayOut();

  size_t Count() const { return parts_.size(); }
  Element* Part(size_t index) const { return index < parts_.size() ? parts_[index].get() : nullptr; }
  // The first part of the given type, or null.
  Element* FindPart(int16_t partType) const;

  // The part under a point given in the row's parent coordinates: -1 outside the row,
  // the first part whose rectangle holds it, 0 for a point inside the row on no part.
  int HitTest(int px, int py) const;
  // Where the row's text begins: x plus the widths of the leading picture parts.
  int TextStart() const;
  // The widths of the text parts before the last part, plus the last one's own width
  // when it is a text part (for text, the extent of the text).
  int TextWidth() const;

private:
  std::vector<std::unique_ptr<Element>> parts_;
};

}  // namespace kro::toolkit
