#include "runtime/mediaview/win32/display/View.h"

#include <algorithm>

#include "runtime/mediaview/win32/Runtime.h"
#include "runtime/mediaview/win32/display/Painter.h"

namespace kro::mvdll::display {
namespace L = mv::layout;
namespace {

constexpr int kMinLayoutWidth = 32;  // narrower panes scroll sideways instead
constexpr int kLineScrollX = 16;
constexpr int kMaxScrollUnits = 30000;  // scroll-bar thumb positions travel in 16 bits
// Margins are fixed, so that a display realized at its natural size lays out the same.
constexpr int kMarginX = 12;
constexpr int kMarginTop = 6;
constexpr int kMarginBottom = 10;
constexpr COLORREF kDefaultBackground = RGB(255, 255, 255);

// Dark text on a dark background (a full-screen popup asks for black) turns parchment.
constexpr COLORREF kTextOnDark = RGB(0xF4, 0xEE, 0xDC);

L::CaretMove MoveOfKey(UINT key) {
  switch (key) {
    case 2: return L::CaretMove::LineUp;
    case 3: return L::CaretMove::LineDown;
    case 4: return L::CaretMove::Left;
    case 5: return L::CaretMove::Right;
    case 6: return L::CaretMove::LineStart;
    default: return L::CaretMove::LineEnd;
  }
}

}  // namespace

ViewSlot::ViewSlot() : view_(std::make_unique<View>()) {}
ViewSlot::ViewSlot(const ViewSlot& other) : view_(other.view_->Duplicate()) {}
ViewSlot& ViewSlot::operator=(const ViewSlot& other) {
  if (this != &other) view_ = other.view_->Duplicate();
  return *this;
}
ViewSlot::~ViewSlot() = default;

std::unique_ptr<View> View::Duplicate() const {
  auto copy = std::make_unique<View>();
  copy->window = window;
  copy->look = look;
  return copy;
}

// Picks up a new title, topic or region set on the display since the last call.
bool View::Follow(DisplayObject& d) {
  const Source now{d.title.get(), d.topic, d.region};
  if (now == source_) return false;
  if (now.title != source_.title) {
    measurer_.reset();
    pictures_ = PictureCache();
  }
  source_ = now;
  embedded_.Remove();
  title_ = d.title;
  region_ = mv::Region();
  layout_.reset();
  if (title_ && d.topic != mv::kNone)
    region_ = title_->DecodeRegion(d.topic, static_cast<mv::RegionIndex>(d.region)).value_or(mv::Region());
  text_ = mv::PlainText(region_);
  anchor_ = active_ = 0;
  focus_ = -1;
  occurrences_.clear();
  syncedScroll_ = -1;
  return true;
}

bool View::Realize(DisplayObject& d, const RECT* frame) {
  RECT f{};
  if (frame)
    f = *frame;
  else if (!window || !GetClientRect(window, &f))
    return false;
  Follow(d);
  frame_ = f;
  realized_ = true;
  layout_.reset();
  return Current(d);
}

bool View::Current(DisplayObject& d) {
  if (!realized_) return false;
  Follow(d);
  if (!title_) return false;
  if (!layout_) {
    if (!screenDc_) screenDc_.Reset(CreateCompatibleDC(nullptr));
    if (measurer_ && measurer_->kerningPoints() != look.kerningBoundary) measurer_.reset();
    if (!measurer_)
      measurer_ = std::make_unique<GdiMeasurer>(screenDc_.Get(), *title_, pictures_, look.kerningBoundary);
    const int width = std::max<int>(ViewWidth(), kMinLayoutWidth);
    layout_.emplace(region_, *measurer_, L::LayoutOptions{width, kMarginX, kMarginTop, kMarginBottom, 0});
    syncedScroll_ = -1;
    scrollX_ = std::clamp(scrollX_, 0, MaxScrollX());
  }
  if (d.scroll != syncedScroll_) {
    const auto lines = layout_->lines();
    const auto offset = static_cast<uint32_t>(std::max<LONG>(d.scroll, 0));
    SetScrollTop(d, offset == 0 || lines.empty() ? 0 : std::min(lines[layout_->LineOf(offset)].top, MaxScrollY()));
    embedded_.Insert(window, *layout_, Origin());
  }
  return true;
}

L::Size View::NaturalSize() const { return layout_ ? layout_->NaturalSize() : L::Size{}; }

int View::MaxScrollY() const { return layout_ ? std::max(0, layout_->height() - ViewHeight()) : 0; }
int View::MaxScrollX() const { return layout_ ? std::max(0, layout_->options().width - ViewWidth()) : 0; }
int View::Unit() const { return std::max(1, (MaxScrollY() + kMaxScrollUnits - 1) / kMaxScrollUnits); }

POINT View::ScrollSizes() const { return {MaxScrollX(), (MaxScrollY() + Unit() - 1) / Unit()}; }
LONG View::ScrollPosX() const { return scrollX_; }
LONG View::ScrollPosY() const {
  return scrollY_ >= MaxScrollY() ? (MaxScrollY() + Unit() - 1) / Unit() : scrollY_ / Unit();
}

// Where, from the top of the view, painting stops at scroll position `scrollY`: above the
// first partly visible line when partial lines are hidden.
int View::VisibleBottom(int scrollY) const {
  const int h = ViewHeight();
  if (!look.hidePartialLines || !layout_ || layout_->lines().empty()) return h;
  const L::Line& line = layout_->lines()[layout_->LineAt(scrollY + h - 1)];
  if (line.bottom() <= scrollY + h || line.top <= scrollY || line.hasPicture) return h;
  return std::clamp(line.top - scrollY, 0, h);
}

void View::SetScrollTop(DisplayObject& d, int y) {
  scrollY_ = std::clamp(y, 0, MaxScrollY());
  const auto lines = layout_->lines();
  d.scroll = lines.empty() ? 0 : static_cast<LONG>(lines[layout_->LineAt(scrollY_)].textBegin);
  syncedScroll_ = d.scroll;
}

ScrollResult View::ScrollY(DisplayObject& d, UINT code, LONG position) {
  ScrollResult r;
  if (!layout_) return r;
  const auto lines = layout_->lines();
  const int old = scrollY_;
  const int h = ViewHeight();
  const auto topOf = [&](size_t i) { return i < lines.size() ? lines[i].top : layout_->height(); };
  int target = old;
  if (!lines.empty()) {
    switch (code) {
      case SB_LINEUP: {
        // Back to the first line shows the top margin as well.
        const uint32_t i = layout_->LineAt(old);
        target = lines[i].top < old ? lines[i].top : (i > 0 ? lines[i - 1].top : 0);
        if (target <= lines[0].top) target = 0;
        break;
      }
      case SB_LINEDOWN: {
        target = topOf(layout_->LineAt(old) + 1);
        break;
      }
      case SB_PAGEUP: {
        // The line at the top comes to rest whole at the bottom.
        target = old - h;
        const uint32_t i = layout_->LineAt(target);
        if (target > 0 && lines[i].top < target && topOf(i + 1) < old) target = topOf(i + 1);
        break;
      }
      case SB_PAGEDOWN: {
        // The first line not wholly shown comes to the top.
        const uint32_t j = layout_->LineAt(old + h - 1);
        target = lines[j].bottom() > old + h ? lines[j].top : topOf(j + 1);
        if (target <= old) target = old + h;
        break;
      }
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: target = position * Unit(); break;
      case SB_TOP: target = 0; break;
      case SB_BOTTOM: target = MaxScrollY(); break;
      default: break;
    }
  }
  SetScrollTop(d, target);
  target = scrollY_;
  r.position = ScrollPosY();
  r.delta = {0, old - target};
  // Strips the caller repaints beyond what scrolling the window uncovers: with partial
  // lines hidden, the blank below the old last line moves up (down) or a cut line appears.
  if (target > old) {
    r.bottomStrip = std::clamp(h - (VisibleBottom(old) - (target - old)), 0, h);
  } else if (target < old) {
    r.topStrip = old - target;
    r.bottomStrip = std::clamp(h - VisibleBottom(target), 0, h);
  }
  return r;
}

ScrollResult View::ScrollX(UINT code, LONG position) {
  ScrollResult r;
  const int old = scrollX_;
  int target = old;
  switch (code) {
    case SB_LINELEFT: target -= kLineScrollX; break;
    case SB_LINERIGHT: target += kLineScrollX; break;
    case SB_PAGELEFT: target -= ViewWidth(); break;
    case SB_PAGERIGHT: target += ViewWidth(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = position; break;
    case SB_LEFT: target = 0; break;
    case SB_RIGHT: target = MaxScrollX(); break;
    default: break;
  }
  scrollX_ = std::clamp(target, 0, MaxScrollX());
  r.position = scrollX_;
  r.delta = {old - scrollX_, 0};
  return r;
}

POINT View::ToLayout(LONG x, LONG y) const { return {x - frame_.left + scrollX_, y - frame_.top + scrollY_}; }

RECT View::ToWindow(const L::Rect& r) const {
  const LONG dx = frame_.left - scrollX_, dy = frame_.top - scrollY_;
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool View::Paint(HDC dc, const RECT& clip) {
  RECT area{};
  if (!IntersectRect(&area, &clip, &frame_)) return layout_.has_value();
  // A scroll by rectangle leaves the windows where they were; they follow the text here.
  if (layout_) embedded_.Place(*layout_, Origin());
  PaintJob job;
  job.layout = layout_ ? &*layout_ : nullptr;
  job.measurer = measurer_.get();
  job.origin = Origin();
  job.background = look.background == CLR_INVALID ? kDefaultBackground : look.background;
  job.defaultText = look.text;
  if (look.text == CLR_INVALID && IsDark(job.background)) job.darkText = kTextOnDark;
  if (look.hidePartialLines) {
    job.visibleBottom = frame_.top + VisibleBottom(scrollY_);
    job.frameTop = frame_.top;
  }
  job.selection = {SelectionBegin(), SelectionEnd()};
  for (const Occurrence& o : occurrences_)
    if (o.region == static_cast<LONG>(source_.region)) job.highlights.push_back({o.offset, o.offset + o.length});
  job.focus = focus_;

  // The screen gets the finished picture in one copy, so nothing flickers while scrolling.
  const bool buffered = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY && GetObjectType(dc) != OBJ_ENHMETADC;
  UniqueMemoryDc memory(buffered ? CreateCompatibleDC(dc) : nullptr);
  UniqueBitmap bitmap(memory ? CreateCompatibleBitmap(dc, area.right - area.left, area.bottom - area.top) : nullptr);
  HDC target = bitmap ? memory.Get() : dc;
  SelectGuard keep(memory.Get(), bitmap.Get());
  if (bitmap) SetViewportOrgEx(target, -area.left, -area.top, nullptr);
  job.clip = area;
  if (job.layout) {
    PaintLayout(target, job);
  } else {
    UniqueBrush brush(CreateSolidBrush(job.background));
    FillRect(target, &area, brush.Get());
  }
  if (bitmap)
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, target, area.left, area.top, SRCCOPY);
  return job.layout != nullptr;
}

HWND View::EmbeddedWindow(HWND previous, UINT how) const {
  if (how == 0) return embedded_.First();
  return how == 2 && previous ? embedded_.Next(previous) : nullptr;
}

void View::Invalidate() const {
  if (window) InvalidateRect(window, nullptr, FALSE);
}

// Only the lines a change touches are repainted, so dragging a selection redraws little.
void View::InvalidateRange(uint32_t begin, uint32_t end) const {
  if (!window || !layout_) return;
  for (const L::Rect& r : layout_->RangeRects(begin, end)) {
    RECT w = ToWindow({0, r.top, layout_->options().width, r.bottom});
    InvalidateRect(window, &w, FALSE);
  }
}

void View::InvalidateSelectionChange(uint32_t oldAnchor, uint32_t oldActive) const {
  if (oldAnchor == anchor_) {
    InvalidateRange(std::min(oldActive, active_), std::max(oldActive, active_));
  } else {
    InvalidateRange(std::min(oldAnchor, oldActive), std::max(oldAnchor, oldActive));
    InvalidateRange(SelectionBegin(), SelectionEnd());
  }
}

void View::InvalidateHotspot(int32_t hotspot) const {
  if (!window || !layout_ || hotspot < 0) return;
  for (const L::HotspotRect& h : layout_->hotspotRects()) {
    if (h.hotspot != hotspot) continue;
    RECT w = ToWindow(h.rect);
    InflateRect(&w, 2, 1);  // the focus mark sits just outside the text
    InvalidateRect(window, &w, FALSE);
  }
}

void View::SelectPoint(UINT mode, LONG x, LONG y, bool extend) {
  if (!layout_ || !look.allowSelection) return;
  const POINT p = ToLayout(x, y);
  const L::Hit hit = layout_->HitTest(p.x, p.y);
  const uint32_t oldAnchor = anchor_, oldActive = active_;
  switch (mode) {
    case 1:
      if (!extend) anchor_ = hit.offset;
      active_ = hit.offset;
      break;
    case 2: {
      const L::TextRange word = L::WordAt(text_, hit.character);
      if (!extend) anchorWord_ = word;
      // Extending by words keeps the first word whole at whichever end the pointer is.
      const bool before = word.begin < anchorWord_.begin;
      anchor_ = before ? anchorWord_.end : anchorWord_.begin;
      active_ = before ? word.begin : std::max(word.end, anchorWord_.end);
      break;
    }
    case 5:
      anchor_ = 0;
      active_ = static_cast<uint32_t>(text_.size());
      break;
    default: return;
  }
  InvalidateSelectionChange(oldAnchor, oldActive);
}

void View::SelectKey(DisplayObject& d, UINT key, bool shift) {
  if (!layout_ || !look.allowSelection || key < 2 || key > 7) return;
  const uint32_t next = layout_->MoveCaret(active_, MoveOfKey(key));
  const uint32_t oldAnchor = anchor_, oldActive = active_;
  active_ = next;
  if (!shift) anchor_ = next;
  const L::Line& line = layout_->lines().empty() ? L::Line{} : layout_->lines()[layout_->LineOf(next)];
  if (ShowRange(d, {line.left, line.top, line.right, line.bottom()}))
    Invalidate();
  else
    InvalidateSelectionChange(oldAnchor, oldActive);
}

bool View::ClearSelection() {
  if (anchor_ == active_) return true;
  const uint32_t oldAnchor = anchor_;
  anchor_ = active_;
  InvalidateRange(std::min(oldAnchor, active_), std::max(oldAnchor, active_));
  return true;
}

// Scrolls so that `r` (layout coordinates) is in view, keeping the top line whole; true
// when it scrolled (and the whole view needs painting).
bool View::ShowRange(DisplayObject& d, const L::Rect& r) {
  if (layout_->lines().empty()) return false;
  const int h = ViewHeight();
  int target = scrollY_;
  if (r.top < scrollY_) {
    target = r.top;
  } else if (r.bottom > scrollY_ + h) {
    target = std::min(r.top, r.bottom - h);
    const auto lines = layout_->lines();
    const uint32_t i = layout_->LineAt(target);
    if (lines[i].top < target && i + 1 < lines.size() && lines[i + 1].top <= r.top) target = lines[i + 1].top;
  }
  if (target == scrollY_) return false;
  SetScrollTop(d, target);
  if (window) SetScrollPos(window, SB_VERT, ScrollPosY(), TRUE);
  return true;
}

bool View::MoveFocus(DisplayObject& d, bool forward) {
  if (!layout_) return false;
  const auto n = static_cast<int32_t>(region_.hotspots.size());
  const int32_t start = forward ? focus_ + 1 : (focus_ < 0 ? n - 1 : focus_ - 1);
  for (int32_t k = 0; k < n; ++k) {
    const int32_t candidate = ((forward ? start + k : start - k) % n + n) % n;
    const L::Rect bounds = layout_->HotspotBounds(candidate);
    if (bounds.empty()) continue;
    InvalidateHotspot(focus_);
    focus_ = candidate;
    if (ShowRange(d, bounds))
      Invalidate();
    else
      InvalidateHotspot(focus_);
    return true;
  }
  return false;
}

void View::SetHighlights(HGLOBAL list, std::vector<Occurrence> occurrences) {
  highlightList_ = list;
  occurrences_ = std::move(occurrences);
  Invalidate();
}

bool View::ScrollToHighlight(DisplayObject& d, LONG index) {
  if (!layout_ || index < 0) return false;
  for (const Occurrence& o : occurrences_) {
    if (o.region != static_cast<LONG>(source_.region) || index-- > 0) continue;
    const auto lines = layout_->lines();
    if (lines.empty() || o.offset + o.length > text_.size()) return false;
    // One line of what comes before stays in view above the found word.
    const uint32_t line = layout_->LineOf(o.offset);
    SetScrollTop(d, line > 0 ? lines[line - 1].top : 0);
    if (window) SetScrollPos(window, SB_VERT, ScrollPosY(), TRUE);
    Invalidate();
    return true;
  }
  return false;
}

}  // namespace kro::mvdll::display
