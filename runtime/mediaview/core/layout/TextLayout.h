#pragma once
// Lays a decoded region out at a given width: lines broken at spaces, hyphens and soft
// hyphens (a word wider than the line breaks between letters, so nothing is ever clipped),
// paragraphs with indents, spacing and alignment, inline pictures scaled to fit, and the
// geometry built on it: hit testing, rectangles of text ranges (selection, highlights),
// hotspot rectangles, caret motion and pages for printing.
//
// Coordinates are device pixels with (0, 0) at the top-left of the laid-out area; the
// caller adds its origin and scroll offset. Text positions are the plain-text offsets of
// RichText.h.
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/layout/Measurer.h"

namespace kro::mv::layout {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

struct LayoutOptions {
  int width = 0;         // the whole laid-out width, margins included
  int marginX = 0;       // left and right
  int marginTop = 0;
  int marginBottom = 0;
  int maxPictureHeight = 0;  // 0: no limit (printing limits pictures to a page)
  bool hyphenate = true;     // break Russian words at their syllables when it helps
};

// A piece of one run on one line.
struct Fragment {
  uint32_t run = 0;
  uint32_t textBegin = 0;  // plain-text range; a picture covers none
  uint32_t textEnd = 0;
  int x = 0;
  int width = 0;
  int height = 0;           // pictures: drawn height (bottom on the baseline)
  int32_t hotspot = -1;
  bool hyphen = false;      // the line breaks at a soft hyphen here: draw a hyphen at the end
};

struct Line {
  int top = 0;
  int height = 0;
  int baseline = 0;  // from top
  uint32_t paragraph = 0;
  uint32_t firstFragment = 0;
  uint32_t fragmentCount = 0;
  uint32_t textBegin = 0;  // first offset on the line
  uint32_t textEnd = 0;    // one past the last, trailing spaces included
  int left = 0;            // where the line's content starts and ends
  int right = 0;
  bool hasPicture = false;
  int bottom() const { return top + height; }
};

struct HotspotRect {
  int32_t hotspot = 0;
  Rect rect;
};

struct Hit {
  uint32_t offset = 0;     // the nearest caret position
  uint32_t character = 0;  // the character under the point, or the nearest one
  int32_t hotspot = -1;
  bool onText = false;   // over a character (not blank space or a picture)
  bool onPicture = false;
};

// Caret motions of the selection keys.
enum class CaretMove { LineUp, LineDown, Left, Right, LineStart, LineEnd };

struct Page {
  uint32_t firstLine = 0;
  uint32_t lineCount = 0;
  int top = 0;  // layout y drawn at the top of the page's free area
};

class TextLayout {
public:
  // `region` must outlive the layout.
  TextLayout(const Region& region, Measurer& measurer, const LayoutOptions& options);

  const Region& region() const { return *region_; }
  const LayoutOptions& options() const { return options_; }
  int height() const { return height_; }
  // The size the content needs: its widest line plus margins, and its height.
  Size NaturalSize() const;
  std::span<const Line> lines() const { return lines_; }
  std::span<const Fragment> fragments() const { return fragments_; }
  std::span<const Fragment> FragmentsOf(const Line& line) const;
  std::span<const HotspotRect> hotspotRects() const { return hotspotRects_; }

  // Left edge of the character at `offset`; the line end for a break or the text end.
  int CharLeft(uint32_t offset) const;
  // Right edge of the character at `offset` (its fragment's last character ends there).
  int CharRight(const Fragment& fragment, uint32_t offset) const;
  uint32_t LineAt(int y) const;            // the line at or nearest to y
  uint32_t LineOf(uint32_t offset) const;  // the line holding the caret at `offset`
  Hit HitTest(int x, int y) const;
  // One rectangle per line the range touches, as tall as the line.
  std::vector<Rect> RangeRects(uint32_t begin, uint32_t end) const;
  // The first rectangle of a hotspot (its first line); empty when it has none.
  Rect HotspotBounds(int32_t hotspot) const;
  uint32_t MoveCaret(uint32_t offset, CaretMove move) const;

  // Splits the lines into pages: the first page has `firstHeight` pixels, the rest
  // `pageHeight`. A line never splits; a line taller than a page gets a page of its own.
  std::vector<Page> Paginate(int firstHeight, int pageHeight) const;

private:
  struct Item {
    enum Kind : uint8_t { Char, Space, SoftHyphen, Picture, Break };
    Kind kind = Char;
    bool breakBefore = false;  // a line may start at this item
    uint32_t run = 0;
    uint32_t offset = 0;  // plain-text offset (pictures: where they stand)
    int width = 0;
    int height = 0;  // pictures
    const FontMetrics* metrics = nullptr;
    bool hyphenBefore = false;  // breaking here draws a hyphen at the end of the line before
  };
  void LayParagraph(uint32_t index, Measurer& measurer, int* y);
  void BuildItems(const Paragraph& paragraph, Measurer& measurer, int lineWidth);
  void Hyphenate(size_t begin, size_t end);
  uint8_t ByteOf(const Item& item) const;
  size_t FindLineEnd(size_t begin, int avail, bool* hyphen) const;
  void PlaceLine(uint32_t paragraph, size_t begin, size_t end, int left, int avail, bool lastLine, bool hyphen,
                 Measurer& measurer, int* y);
  void AddHotspotRects();

  const Region* region_;
  LayoutOptions options_;
  std::vector<Item> items_;  // scratch of the paragraph being laid out
  std::vector<Line> lines_;
  std::vector<Fragment> fragments_;
  std::vector<int32_t> charX_;  // left edge of each plain-text character
  std::vector<HotspotRect> hotspotRects_;
  int height_ = 0;
  int contentRight_ = 0;
};

// The word around `offset` in a region's plain text: letters and digits of cp1251 (a
// hyphen between letters joins a compound word); a non-word character selects itself.
struct TextRange {
  uint32_t begin = 0;
  uint32_t end = 0;
};
TextRange WordAt(std::string_view text, uint32_t offset);

// Where a Russian word (cp1251 letters) may be hyphenated: true at i when a break may come
// before letter i. Syllable rules of Russian orthography; at least two letters stay on
// each side.
std::vector<bool> HyphenPoints(std::string_view word);

}  // namespace kro::mv::layout
