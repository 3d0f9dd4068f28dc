#include "runtime/mediaview/core/layout/TextLayout.h"

#include <algorithm>

#include "runtime/base/Cp1251.h"

namespace kro::mv::layout {
namespace {

constexpr uint8_t kSoftHyphen = 0xAD;
constexpr uint8_t kNoBreakSpace = 0xA0;
constexpr uint8_t kEnDash = 0x96;
constexpr uint8_t kEmDash = 0x97;
constexpr int kTabSpaces = 4;
// The part of a selection that covers a line break shows as this much past the line end.
constexpr int kBreakMarkWidth = 4;
// Words are hyphenated only when the line would otherwise keep more than this part of
// its width (1/12) empty: stretched spaces up to there read better than a hyphen.
constexpr int kHyphenSlackDivisor = 12;

bool IsWordByte(uint8_t c) { return Cp1251IsLetter(c) || (c >= '0' && c <= '9'); }
bool IsCyrillic(uint8_t c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; }

enum class Letter { Vowel, Consonant, Sign };  // sign: й, ъ, ь

Letter Classify(uint8_t c) {
  c = Cp1251Lower(c);
  // а е ё и о у ы э ю я
  if (c == 0xE0 || c == 0xE5 || c == 0xB8 || c == 0xE8 || c == 0xEE || c == 0xF3 || c == 0xFB || c == 0xFD ||
      c == 0xFE || c == 0xFF)
    return Letter::Vowel;
  if (c == 0xE9 || c == 0xFA || c == 0xFC) return Letter::Sign;
  return Letter::Consonant;
}
bool IsDash(uint8_t c) { return c == '-' || c == kEnDash || c == kEmDash; }

}  // namespace

int FontMetrics::Kern(uint8_t first, uint8_t second) const {
  const uint16_t key = static_cast<uint16_t>(first << 8 | second);
  const auto it = std::lower_bound(kerning.begin(), kerning.end(), std::pair<uint16_t, int16_t>(key, INT16_MIN));
  return it != kerning.end() && it->first == key ? it->second : 0;
}

TextLayout::TextLayout(const Region& region, Measurer& measurer, const LayoutOptions& options)
    : region_(&region), options_(options) {
  charX_.assign(region.textLength, 0);
  int y = options_.marginTop;
  for (uint32_t p = 0; p < region.paragraphs.size(); ++p) LayParagraph(p, measurer, &y);
  height_ = y + options_.marginBottom;
  items_.clear();
  items_.shrink_to_fit();
  AddHotspotRects();
}

// Twips (1/1440 inch) of the paragraph formats to device pixels.
static int Pixels(int twips, int dpi) { return (twips * dpi + (twips >= 0 ? 720 : -720)) / 1440; }

void TextLayout::LayParagraph(uint32_t index, Measurer& measurer, int* y) {
  const Paragraph& para = region_->paragraphs[index];
  const ParagraphFormat& f = para.format;
  const int dpi = measurer.DotsPerInch();
  const int content = std::max(1, options_.width - 2 * options_.marginX);
  // Indents shrink on narrow windows so that text always keeps most of the width.
  const int maxIndent = content / 3;
  const int left = std::clamp(Pixels(f.leftIndent, dpi), 0, maxIndent);
  const int right = std::clamp(Pixels(f.rightIndent, dpi), 0, maxIndent / 2);
  const int firstLeft = std::clamp(left + Pixels(f.firstIndent, dpi), 0, maxIndent);
  const int lineWidth = std::max(1, content - left - right);

  *y += Pixels(f.spaceBefore, dpi);
  BuildItems(para, measurer, lineWidth);
  const uint32_t firstLine = static_cast<uint32_t>(lines_.size());
  size_t begin = 0;
  do {
    const bool first = lines_.size() == firstLine;
    const int lineLeft = options_.marginX + (first ? firstLeft : left);
    const int avail = std::max(1, content - right - (first ? firstLeft : left));
    bool hyphen = false;
    const size_t end = begin < items_.size() ? FindLineEnd(begin, avail, &hyphen) : begin;
    PlaceLine(index, begin, end, lineLeft, avail, end >= items_.size(), hyphen, measurer, y);
    begin = end;
  } while (begin < items_.size());
  if (!items_.empty() && items_.back().kind == Item::Break)  // a break at the end opens an empty line
    PlaceLine(index, begin, begin, options_.marginX + left, content - right - left, true, false, measurer, y);

  // The paragraph break belongs to the paragraph's last line.
  Line& last = lines_.back();
  if (index + 1 < region_->paragraphs.size()) {
    last.textEnd = region_->paragraphs[index + 1].textOffset;
    if (last.textEnd > 0) charX_[last.textEnd - 1] = last.right;
  }
  *y += Pixels(f.spaceAfter, dpi);
}

void TextLayout::BuildItems(const Paragraph& para, Measurer& measurer, int lineWidth) {
  items_.clear();
  for (uint32_t r = para.firstRun; r < para.firstRun + para.runCount; ++r) {
    const Run& run = region_->runs[r];
    const FontMetrics& m = measurer.Metrics(run.format);
    if (run.kind == RunKind::LineBreak) {
      items_.push_back({Item::Break, false, r, run.textOffset, 0, 0, &m});
      continue;
    }
    if (run.kind == RunKind::Window) {
      // A window keeps its height (a controller bar does not scale); only its width gives way.
      const int height = options_.maxPictureHeight > 0 ? std::min<int>(run.boxHeight, options_.maxPictureHeight) : run.boxHeight;
      items_.push_back({Item::Picture, true, r, run.textOffset, std::min<int>(run.boxWidth, lineWidth), height, &m});
      continue;
    }
    if (run.kind == RunKind::Picture) {
      Size s = measurer.PictureSize(run.text);
      if (s.width <= 0 || s.height <= 0) continue;
      // Scale down, keeping the proportions, to the line and (when printing) the page.
      if (s.width > lineWidth) s = {lineWidth, std::max(1, static_cast<int>(int64_t{s.height} * lineWidth / s.width))};
      if (options_.maxPictureHeight > 0 && s.height > options_.maxPictureHeight)
        s = {std::max(1, static_cast<int>(int64_t{s.width} * options_.maxPictureHeight / s.height)),
             options_.maxPictureHeight};
      items_.push_back({Item::Picture, true, r, run.textOffset, s.width, s.height, &m});
      continue;
    }
    for (uint32_t k = 0; k < run.text.size(); ++k) {
      const auto c = static_cast<uint8_t>(run.text[k]);
      Item it{Item::Char, false, r, run.textOffset + k, m.advance[c], 0, &m};
      if (c == ' ' || c == '\t') {
        it.kind = Item::Space;
        if (c == '\t') it.width = kTabSpaces * m.advance[' '];
      } else if (c == kSoftHyphen) {
        it.kind = Item::SoftHyphen;
        it.width = 0;
      } else if (c == kNoBreakSpace && it.width == 0) {
        it.width = m.advance[' '];
      }
      if (!m.kerning.empty() && k + 1 < run.text.size()) it.width += m.Kern(c, static_cast<uint8_t>(run.text[k + 1]));
      items_.push_back(it);
    }
  }
  for (size_t j = 1; j < items_.size(); ++j) {
    Item& cur = items_[j];
    const Item& prev = items_[j - 1];
    if (cur.kind == Item::Space) continue;
    const bool afterDash =
        prev.kind == Item::Char && j >= 2 && items_[j - 2].kind == Item::Char && cur.kind == Item::Char && IsDash(ByteOf(prev));
    // A dash never starts a line: the space before it holds it to the word before.
    const bool dash = cur.kind == Item::Char && prev.kind == Item::Space && IsDash(ByteOf(cur));
    cur.breakBefore = (prev.kind == Item::Space && !dash) || prev.kind == Item::SoftHyphen ||
                      prev.kind == Item::Picture || cur.kind == Item::Picture || afterDash;
  }
  if (!options_.hyphenate) return;
  for (size_t j = 0; j < items_.size();) {
    size_t end = j;
    while (end < items_.size() && items_[end].kind == Item::Char && IsCyrillic(ByteOf(items_[end]))) ++end;
    if (end - j >= 4) Hyphenate(j, end);
    j = std::max(end, j + 1);
  }
}

uint8_t TextLayout::ByteOf(const Item& it) const {
  const Run& run = region_->runs[it.run];
  return static_cast<uint8_t>(run.text[it.offset - run.textOffset]);
}

void TextLayout::Hyphenate(size_t begin, size_t end) {
  std::string word;
  for (size_t j = begin; j < end; ++j) word.push_back(static_cast<char>(ByteOf(items_[j])));
  const std::vector<bool> points = HyphenPoints(word);
  for (size_t i = 0; i < points.size(); ++i)
    if (points[i]) items_[begin + i].breakBefore = items_[begin + i].hyphenBefore = true;
}

// Greedy line filling: the longest run of items from `begin` that fits `avail`, ending at
// a break opportunity when there is one. Spaces at the end of a line hang past it.
size_t TextLayout::FindLineEnd(size_t begin, int avail, bool* hyphen) const {
  int x = 0;
  int contentX = 0;  // x without the spaces at the end
  size_t best = begin, bestSpace = begin;
  int spaceContent = 0;
  bool bestHyphen = false;
  for (size_t j = begin; j < items_.size(); ++j) {
    const Item& it = items_[j];
    if (it.kind == Item::Break) return j + 1;
    if (j > begin && it.breakBefore) {
      const Item& prev = items_[j - 1];
      const bool soft = prev.kind == Item::SoftHyphen || it.hyphenBefore;
      if (!soft) {
        bestSpace = j;
        spaceContent = contentX;
      }
      if (!soft || x + prev.metrics->advance['-'] <= avail) {
        best = j;
        bestHyphen = soft;
      }
    }
    if (it.kind != Item::Space && j > begin && x + it.width > avail) {
      // A line that is nearly full at its last space is not worth a hyphen.
      if (bestHyphen && bestSpace > begin && avail - spaceContent <= avail / kHyphenSlackDivisor) return bestSpace;
      if (best > begin) {
        *hyphen = bestHyphen;
        return best;
      }
      return j;  // one word wider than the line: break between its letters
    }
    x += it.width;
    if (it.kind != Item::Space) contentX = x;
  }
  return items_.size();
}

void TextLayout::PlaceLine(uint32_t paragraph, size_t begin, size_t end, int left, int avail, bool lastLine, bool hyphen,
                           Measurer& measurer, int* y) {
  const Paragraph& para = region_->paragraphs[paragraph];
  size_t contentEnd = end;
  const bool forced = end > begin && items_[end - 1].kind == Item::Break;
  if (forced) --contentEnd;
  while (contentEnd > begin && items_[contentEnd - 1].kind == Item::Space) --contentEnd;
  const int hyphenWidth = hyphen ? items_[contentEnd - 1].metrics->advance['-'] : 0;
  int width = hyphenWidth;
  int spaces = 0;
  for (size_t j = begin; j < contentEnd; ++j) {
    width += items_[j].width;
    if (items_[j].kind == Item::Space) ++spaces;
  }

  int offset = 0;
  int extra = 0, remainder = 0;
  const int slack = std::max(0, avail - width);
  switch (para.format.align) {
    case Align::Left: break;
    case Align::Centre: offset = slack / 2; break;
    case Align::Right: offset = slack; break;
    case Align::Justify:
      if (!lastLine && !forced && spaces > 0) {
        extra = slack / spaces;
        remainder = slack % spaces;
      }
      break;
  }

  Line line;
  line.top = *y;
  line.paragraph = paragraph;
  line.firstFragment = static_cast<uint32_t>(fragments_.size());
  line.left = left + offset;
  int ascent = 0, descent = 0, leading = 0;
  int x = line.left;
  int spaceIndex = 0;
  for (size_t j = begin; j < end; ++j) {
    const Item& it = items_[j];
    const int start = x;
    if (it.kind != Item::Picture) charX_[it.offset] = x;
    if (it.kind == Item::Break) continue;
    int w = it.width;
    if (it.kind == Item::Space && j < contentEnd) w += extra + (spaceIndex++ < remainder ? 1 : 0);
    x += w;
    if (it.kind == Item::Picture) {
      ascent = std::max(ascent, it.height);
      line.hasPicture = true;
    } else {
      ascent = std::max(ascent, it.metrics->ascent);
      descent = std::max(descent, it.metrics->descent);
      leading = std::max(leading, it.metrics->leading);
    }
    const bool joins = !fragments_.empty() && fragments_.size() > line.firstFragment && it.kind != Item::Picture &&
                       items_[j - 1].kind != Item::Picture && fragments_.back().run == it.run;
    if (joins) {
      fragments_.back().textEnd = it.offset + 1;
      fragments_.back().width = x - fragments_.back().x;
    } else {
      Fragment f;
      f.run = it.run;
      f.textBegin = it.offset;
      f.textEnd = it.kind == Item::Picture ? it.offset : it.offset + 1;
      f.x = start;
      f.width = w;
      f.height = it.height;
      f.hotspot = region_->runs[it.run].hotspot;
      fragments_.push_back(f);
    }
    if (j + 1 == contentEnd) line.right = x + hyphenWidth;
  }
  if (contentEnd == begin) line.right = line.left;
  if (hyphen && fragments_.size() > line.firstFragment) {
    // The hyphen follows the soft hyphen's fragment, which may have trailing spaces after it.
    for (size_t i = fragments_.size(); i-- > line.firstFragment;) {
      Fragment& f = fragments_[i];
      if (f.textBegin < items_[contentEnd - 1].offset + 1) {
        f.hyphen = true;
        f.width += hyphenWidth;
        break;
      }
    }
  }
  if (ascent == 0 && descent == 0) {
    // An empty line is as tall as its font.
    const FontMetrics& m = begin < items_.size() ? *items_[begin].metrics
                           : !items_.empty()     ? *items_.back().metrics
                                                 : measurer.Metrics(CharFormat{});
    ascent = m.ascent;
    descent = m.descent;
    leading = m.leading;
  }
  line.fragmentCount = static_cast<uint32_t>(fragments_.size()) - line.firstFragment;
  line.baseline = ascent;
  line.height = ascent + descent + leading;
  if (begin < end) {
    line.textBegin = items_[begin].offset;
    const Item& lastItem = items_[end - 1];
    line.textEnd = lastItem.kind == Item::Picture ? lastItem.offset : lastItem.offset + 1;
  } else {
    line.textBegin = line.textEnd = begin < items_.size() ? items_[begin].offset
                                    : items_.empty()      ? para.textOffset
                                                          : items_.back().offset + 1;
  }
  if (!lines_.empty()) line.textBegin = std::max(line.textBegin, lines_.back().textEnd);
  line.textEnd = std::max(line.textEnd, line.textBegin);
  contentRight_ = std::max(contentRight_, line.right);
  lines_.push_back(line);
  *y += line.height;
}

void TextLayout::AddHotspotRects() {
  for (const Line& line : lines_) {
    for (const Fragment& f : FragmentsOf(line)) {
      if (f.hotspot < 0) continue;
      const Rect r{f.x, line.top, f.x + f.width, line.bottom()};
      if (!hotspotRects_.empty() && hotspotRects_.back().hotspot == f.hotspot && hotspotRects_.back().rect.top == r.top)
        hotspotRects_.back().rect.right = r.right;
      else
        hotspotRects_.push_back({f.hotspot, r});
    }
  }
}

Size TextLayout::NaturalSize() const {
  if (lines_.empty()) return {0, 0};
  // The widest line decides, with the right margin mirroring the left one.
  return {std::min(options_.width, contentRight_ + options_.marginX), height_};
}

std::span<const Fragment> TextLayout::FragmentsOf(const Line& line) const {
  return std::span<const Fragment>(fragments_).subspan(line.firstFragment, line.fragmentCount);
}

int TextLayout::CharLeft(uint32_t offset) const {
  if (offset < charX_.size()) return charX_[offset];
  return lines_.empty() ? options_.marginX : lines_.back().right;
}

int TextLayout::CharRight(const Fragment& f, uint32_t offset) const {
  return offset + 1 < f.textEnd ? charX_[offset + 1] : f.x + f.width;
}

uint32_t TextLayout::LineAt(int y) const {
  if (lines_.empty()) return 0;
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), y, [](int v, const Line& l) { return v < l.top; });
  return it == lines_.begin() ? 0 : static_cast<uint32_t>(it - lines_.begin() - 1);
}

uint32_t TextLayout::LineOf(uint32_t offset) const {
  if (lines_.empty()) return 0;
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                   [](uint32_t v, const Line& l) { return v < l.textBegin; });
  return it == lines_.begin() ? 0 : static_cast<uint32_t>(it - lines_.begin() - 1);
}

// The caret position at the end of a line: before its break, or after its last character.
static uint32_t LineCaretEnd(const Line& line, const Region& region, std::span<const Fragment> fragments) {
  if (line.textEnd > line.textBegin && line.textEnd <= region.textLength) {
    const bool endsWithBreak = fragments.empty() || fragments.back().textEnd < line.textEnd;
    if (endsWithBreak) return line.textEnd - 1;
  }
  return line.textEnd;
}

Hit TextLayout::HitTest(int x, int y) const {
  Hit hit;
  if (lines_.empty()) return hit;
  const Line& line = lines_[LineAt(y)];
  const bool insideLine = y >= line.top && y < line.bottom();
  const auto fragments = FragmentsOf(line);
  for (const Fragment& f : fragments) {
    if (x < f.x || x >= f.x + f.width) continue;
    hit.hotspot = insideLine ? f.hotspot : -1;
    if (f.textBegin == f.textEnd) {
      hit.offset = hit.character = f.textBegin;
      hit.onPicture = insideLine;
      return hit;
    }
    for (uint32_t i = f.textBegin; i < f.textEnd; ++i) {
      const int l = CharLeft(i), r = CharRight(f, i);
      if (x >= r) continue;
      hit.offset = x < (l + r) / 2 ? i : i + 1;
      hit.character = i;
      break;
    }
    hit.onText = insideLine;
    return hit;
  }
  hit.offset = (fragments.empty() || x < fragments.front().x) ? line.textBegin : LineCaretEnd(line, *region_, fragments);
  hit.character = hit.offset;
  return hit;
}

std::vector<Rect> TextLayout::RangeRects(uint32_t begin, uint32_t end) const {
  std::vector<Rect> rects;
  if (lines_.empty() || begin >= end) return rects;
  for (uint32_t i = LineOf(begin); i < lines_.size() && lines_[i].textBegin < end; ++i) {
    const Line& line = lines_[i];
    const uint32_t b = std::max(begin, line.textBegin);
    const uint32_t e = std::min(end, line.textEnd);
    if (b >= e) continue;
    const auto fragments = FragmentsOf(line);
    const int lineEnd = fragments.empty() ? line.left : fragments.back().x + fragments.back().width;
    int left = b < line.textEnd ? CharLeft(b) : lineEnd;
    int right = e < line.textEnd ? CharLeft(e) : lineEnd;
    if (e == line.textEnd && LineCaretEnd(line, *region_, fragments) < line.textEnd) right += kBreakMarkWidth;
    if (b == line.textBegin && !fragments.empty()) left = std::min(left, fragments.front().x);
    rects.push_back({left, line.top, std::max(right, left), line.bottom()});
  }
  return rects;
}

Rect TextLayout::HotspotBounds(int32_t hotspot) const {
  for (const HotspotRect& h : hotspotRects_)
    if (h.hotspot == hotspot) return h.rect;
  return {};
}

uint32_t TextLayout::MoveCaret(uint32_t offset, CaretMove move) const {
  const uint32_t length = region_->textLength;
  offset = std::min(offset, length);
  if (lines_.empty()) return offset;
  const uint32_t index = LineOf(offset);
  const Line& line = lines_[index];
  switch (move) {
    case CaretMove::Left: return offset > 0 ? offset - 1 : 0;
    case CaretMove::Right: return std::min(length, offset + 1);
    case CaretMove::LineStart: return line.textBegin;
    case CaretMove::LineEnd: return LineCaretEnd(line, *region_, FragmentsOf(line));
    case CaretMove::LineUp:
    case CaretMove::LineDown: {
      const bool up = move == CaretMove::LineUp;
      if (up ? index == 0 : index + 1 >= lines_.size()) return up ? 0 : length;
      const Line& target = lines_[up ? index - 1 : index + 1];
      return HitTest(CharLeft(offset), target.top + target.height / 2).offset;
    }
  }
  return offset;
}

std::vector<Page> TextLayout::Paginate(int firstHeight, int pageHeight) const {
  std::vector<Page> pages(1);
  int room = firstHeight;
  for (uint32_t i = 0; i < lines_.size(); ++i) {
    Page& page = pages.back();
    const int used = lines_[i].bottom() - page.top;
    const bool partialFirst = pages.size() == 1 && firstHeight < pageHeight;
    if (used > room && (page.lineCount > 0 || partialFirst)) {
      pages.push_back({i, 0, lines_[i].top});
      room = pageHeight;
    }
    if (pages.back().lineCount == 0) pages.back().firstLine = i;
    ++pages.back().lineCount;
  }
  return pages;
}

std::vector<bool> HyphenPoints(std::string_view word) {
  const size_t n = word.size();
  std::vector<bool> points(n, false);
  std::vector<Letter> c(n);
  for (size_t i = 0; i < n; ++i) c[i] = Classify(static_cast<uint8_t>(word[i]));
  const auto is = [&](size_t i, Letter l) { return i < n && c[i] == l; };
  constexpr Letter V = Letter::Vowel, C = Letter::Consonant, X = Letter::Sign;
  for (size_t i = 2; i + 2 <= n; ++i) {
    points[i] = (is(i - 1, X) && i + 1 < n) ||                                                   // й|ка
                (is(i - 1, V) && is(i, V) && i + 1 < n) ||                                       // а|ис
                (is(i - 2, V) && is(i - 1, C) && is(i, C) && is(i + 1, V)) ||                    // ос|та
                (is(i - 2, C) && is(i - 1, V) && is(i, C) && is(i + 1, V)) ||                    // ре|ка
                (is(i - 2, V) && is(i - 1, C) && is(i, C) && is(i + 1, C) && is(i + 2, V)) ||    // ос|тро
                (i >= 3 && is(i - 3, V) && is(i - 2, C) && is(i - 1, C) && is(i, C) && is(i + 1, C) && is(i + 2, V));
    if (is(i, X)) points[i] = false;
  }
  return points;
}

TextRange WordAt(std::string_view text, uint32_t offset) {
  const auto n = static_cast<uint32_t>(text.size());
  if (offset >= n) return {n, n};
  const auto at = [&](uint32_t i) { return static_cast<uint8_t>(text[i]); };
  if (!IsWordByte(at(offset))) return {offset, offset + 1};
  // A hyphen joins the letters on both sides of it ("Северо-Запад").
  const auto joins = [&](uint32_t i) {
    return IsWordByte(at(i)) || (at(i) == '-' && i > 0 && i + 1 < n && IsWordByte(at(i - 1)) && IsWordByte(at(i + 1)));
  };
  uint32_t begin = offset, end = offset + 1;
  while (begin > 0 && joins(begin - 1)) --begin;
  while (end < n && joins(end)) ++end;
  return {begin, end};
}

}  // namespace kro::mv::layout
