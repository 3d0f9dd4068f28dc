#pragma once
// What a display shows on screen: its window, look, the layout of its region at the
// realized width, scroll position, selection, hotspot focus and highlights. The display
// object (Runtime.h) says which topic and region; the view follows it on every call.
//
// Scroll position of an address: the plain-text offset of the first line shown, so that a
// position stored in the history comes back to the same text at any window width. Scroll
// bar positions are pixels divided by a unit that keeps the range within 16 bits.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/layout/TextLayout.h"
#include "runtime/mediaview/win32/display/EmbeddedWindows.h"
#include "runtime/mediaview/win32/display/GdiMeasurer.h"
#include "runtime/mediaview/win32/display/Pictures.h"

namespace kro::mvdll {
struct DisplayObject;
}

namespace kro::mvdll::display {

struct Look {
  COLORREF background = CLR_INVALID;  // not set: white
  COLORREF text = CLR_INVALID;        // not set: the colours of the title
  bool hidePartialLines = false;
  LONG kerningBoundary = 0;
  bool allowSelection = false;
};

// One found word: region 0 heading or 1 body, and its place in the region's plain text.
struct Occurrence {
  LONG region = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
};

struct ScrollResult {
  LONG position = 0;
  POINT delta{};
  LONG topStrip = 0;
  LONG bottomStrip = 0;
};

class View {
public:
  View() = default;
  // A duplicate shows nothing yet but keeps the window and the look.
  std::unique_ptr<View> Duplicate() const;

  HWND window = nullptr;
  Look look;

  // Lays the display's region out in `frame` (window client coordinates), or in the
  // window's client rectangle when null. False without a window and frame.
  bool Realize(DisplayObject& d, const RECT* frame);
  // Same again at the last frame when the address changed since; false if never realized.
  bool Current(DisplayObject& d);
  // Takes up a new title, topic or region set on the display; true when one was.
  bool Follow(DisplayObject& d);
  const mv::layout::TextLayout* layout() const { return layout_ ? &*layout_ : nullptr; }
  const std::string& text() const { return text_; }
  const mv::Region& region() const { return region_; }
  const mv::Title* title() const { return title_.get(); }

  mv::layout::Size NaturalSize() const;
  POINT ScrollSizes() const;  // in scroll units
  LONG ScrollPosX() const;
  LONG ScrollPosY() const;
  ScrollResult ScrollY(DisplayObject& d, UINT code, LONG position);
  ScrollResult ScrollX(UINT code, LONG position);

  bool Paint(HDC dc, const RECT& clip);
  // The topic's embedded windows: 0 the first, 2 the one after `previous`; null past the last.
  HWND EmbeddedWindow(HWND previous, UINT how) const;
  void RemoveEmbeddedWindows() { embedded_.Remove(); }
  // Layout point of a window client point, and the reverse for a layout rectangle.
  POINT ToLayout(LONG x, LONG y) const;
  RECT ToWindow(const mv::layout::Rect& r) const;

  // Selection as plain-text offsets.
  void SelectPoint(UINT mode, LONG x, LONG y, bool extend);
  void SelectKey(DisplayObject& d, UINT key, bool shift);
  bool ClearSelection();
  bool HasSelection() const { return anchor_ != active_; }
  uint32_t SelectionBegin() const { return std::min(anchor_, active_); }
  uint32_t SelectionEnd() const { return std::max(anchor_, active_); }

  int32_t focus() const { return focus_; }
  bool MoveFocus(DisplayObject& d, bool forward);

  HGLOBAL highlightList() const { return highlightList_; }
  void SetHighlights(HGLOBAL list, std::vector<Occurrence> occurrences);
  bool ScrollToHighlight(DisplayObject& d, LONG index);

private:
  struct Source {
    const mv::Title* title = nullptr;
    uint32_t topic = mv::kNone;
    UINT region = 0;
    bool operator==(const Source&) const = default;
  };
  POINT Origin() const { return {frame_.left - scrollX_, frame_.top - scrollY_}; }
  int ViewHeight() const { return frame_.bottom - frame_.top; }
  int ViewWidth() const { return frame_.right - frame_.left; }
  int MaxScrollY() const;
  int MaxScrollX() const;
  int Unit() const;
  int VisibleBottom(int scrollY) const;
  void SetScrollTop(DisplayObject& d, int y);
  bool ShowRange(DisplayObject& d, const mv::layout::Rect& r);
  void Invalidate() const;
  void InvalidateRange(uint32_t begin, uint32_t end) const;
  void InvalidateSelectionChange(uint32_t oldAnchor, uint32_t oldActive) const;
  void InvalidateHotspot(int32_t hotspot) const;

  std::shared_ptr<const mv::Title> title_;
  Source source_;
  mv::Region region_;
  std::string text_;
  PictureCache pictures_;
  UniqueMemoryDc screenDc_;
  std::unique_ptr<GdiMeasurer> measurer_;
  std::optional<mv::layout::TextLayout> layout_;
  RECT frame_{};
  bool realized_ = false;
  int scrollY_ = 0;
  int scrollX_ = 0;
  LONG syncedScroll_ = -1;  // the address's scroll position the view last matched
  uint32_t anchor_ = 0;
  uint32_t active_ = 0;
  mv::layout::TextRange anchorWord_;
  int32_t focus_ = -1;
  HGLOBAL highlightList_ = nullptr;  // the caller's block; the caller frees it
  std::vector<Occurrence> occurrences_;
  EmbeddedWindows embedded_;
};

}  // namespace kro::mvdll::display
