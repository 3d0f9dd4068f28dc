// Pointing, hotspot focus, selection and highlights.
#include <algorithm>
#include <cstring>

#include "runtime/mediaview/win32/Runtime.h"
#include "runtime/mediaview/win32/display/View.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

// Highlight lists longer than this are cut: no article holds more found words.
constexpr DWORD kMaxHighlights = 1u << 20;

DisplayObject* FindDisplay(LPMV handle) { return TheRuntime().displays.Find(handle); }

DisplayObject* Realized(LPMV handle) {
  DisplayObject* d = FindDisplay(handle);
  return d && d->view->Current(*d) ? d : nullptr;
}

LONG CursorKind(mv::HotspotKind kind) {
  switch (kind) {
    case mv::HotspotKind::Jump:
    case mv::HotspotKind::ContextJump: return MV_POINT_JUMP;
    case mv::HotspotKind::Popup: return MV_POINT_POPUP;
    case mv::HotspotKind::Command: return MV_POINT_COMMAND;
  }
  return 3;
}

// The record hands the stored kind over as it is.
static_assert(static_cast<LONG>(mv::HotspotKind::Command) == MV_HOTSPOT_COMMAND);
static_assert(static_cast<LONG>(mv::HotspotKind::Jump) == MV_HOTSPOT_JUMP);
static_assert(static_cast<LONG>(mv::HotspotKind::Popup) == MV_HOTSPOT_POPUP);
static_assert(static_cast<LONG>(mv::HotspotKind::ContextJump) == MV_HOTSPOT_CONTEXT_JUMP);

void FillHotspot(const display::View& view, int32_t index, const mv::layout::Rect& rect, LPMVHOTSPOTINFO out) {
  const mv::Hotspot& h = view.region().hotspots[index];
  out->rect = view.ToWindow(rect);
  out->hash = h.hash;
  out->length = static_cast<LONG>(h.data.size());
  out->kind = static_cast<LONG>(h.kind);
  // The data goes only into a buffer that holds it whole.
  if (out->data && out->capacity >= out->length) {
    std::memcpy(out->data, h.data.data(), h.data.size());
    if (out->capacity > out->length) out->data[h.data.size()] = '\0';
  }
}

// The rectangle of the hotspot's piece on the line at layout point p.
mv::layout::Rect PieceAt(const mv::layout::TextLayout& layout, int32_t hotspot, POINT p) {
  for (const mv::layout::HotspotRect& r : layout.hotspotRects())
    if (r.hotspot == hotspot && r.rect.Contains(p.x, p.y)) return r.rect;
  return layout.HotspotBounds(hotspot);
}

// Reads a caller's highlight block, bounded by the block's real size.
std::vector<display::Occurrence> ReadHighlights(HGLOBAL list) {
  std::vector<display::Occurrence> out;
  const SIZE_T bytes = GlobalSize(list);
  const auto* p = static_cast<const uint8_t*>(GlobalLock(list));
  if (!p) return out;
  if (bytes >= sizeof(DWORD)) {
    DWORD count = 0;
    std::memcpy(&count, p, sizeof count);
    count = std::min<DWORD>({count, static_cast<DWORD>((bytes - sizeof(DWORD)) / sizeof(MVHIGHLIGHT)), kMaxHighlights});
    out.resize(count);
    for (DWORD i = 0; i < count; ++i) {
      MVHIGHLIGHT h;
      std::memcpy(&h, p + sizeof(DWORD) + i * sizeof(MVHIGHLIGHT), sizeof h);
      out[i] = {h.region, h.offset, h.length};
    }
  }
  GlobalUnlock(list);
  return out;
}

}  // namespace

extern "C" {

MVAPI BOOL WINAPI fMVGetPointInfo(LPMV display, LONG x, LONG y, LPMVPOINTINFO point, LPMVHOTSPOTINFO hotspot, LPLONG err) {
  return Guarded<BOOL>(FALSE, err, [&] {
    DisplayObject* d = Realized(display);
    if (!d) {
      SetError(err, MVERR_NOT_REALIZED);
      return FALSE;
    }
    const display::View& view = *d->view;
    const POINT p = view.ToLayout(x, y);
    const mv::layout::Hit hit = view.layout()->HitTest(p.x, p.y);
    const bool onHotspot = hit.hotspot >= 0;
    if (point && point->size >= static_cast<LONG>(sizeof(MVPOINTINFO))) {
      point->offset = static_cast<LONG>(hit.offset);
      point->flags = onHotspot && !view.region().hotspots[hit.hotspot].data.empty() ? MVPI_HOTSPOT : 0;
      point->kind = onHotspot ? CursorKind(view.region().hotspots[hit.hotspot].kind) : (hit.onText ? 0 : 1);
      point->hotspot = hit.hotspot;
      point->x = x;
      point->y = y;
    }
    if (hotspot && onHotspot) FillHotspot(view, hit.hotspot, PieceAt(*view.layout(), hit.hotspot, p), hotspot);
    return onHotspot ? TRUE : FALSE;
  });
}

MVAPI BOOL WINAPI fMVFocusInfo(LPMV display, LPMVHOTSPOTINFO hotspot, LPLONG err) {
  return Guarded<BOOL>(FALSE, err, [&] {
    DisplayObject* d = Realized(display);
    if (!d || d->view->focus() < 0) {
      SetError(err, d ? MVERR_NOTHING : MVERR_NOT_REALIZED);
      return FALSE;
    }
    if (hotspot) FillHotspot(*d->view, d->view->focus(), d->view->layout()->HotspotBounds(d->view->focus()), hotspot);
    return TRUE;
  });
}

MVAPI BOOL WINAPI fMVMoveFocus(LPMV display, BOOL forward) {
  return Guarded<BOOL>(FALSE, nullptr, [&] {
    DisplayObject* d = Realized(display);
    return d && d->view->MoveFocus(*d, forward != FALSE) ? TRUE : FALSE;
  });
}

MVAPI void WINAPI MVSelectPoint(LPMV display, UINT mode, LONG x, LONG y, UINT extend, LPLONG err) {
  Guarded(err, [&] {
    DisplayObject* d = Realized(display);
    if (!d) return SetError(err, MVERR_NOT_REALIZED);
    d->view->SelectPoint(mode, x, y, extend != 0);
  });
}

MVAPI void WINAPI MVSelectKey(LPMV display, UINT key, UINT shift) {
  Guarded(nullptr, [&] {
    if (DisplayObject* d = Realized(display)) d->view->SelectKey(*d, key, shift != 0);
  });
}

MVAPI BOOL WINAPI fMVClearSelection(LPMV display) {
  DisplayObject* d = FindDisplay(display);
  return d && d->view->ClearSelection() ? TRUE : FALSE;
}

MVAPI BOOL WINAPI fMVIsSelected(LPMV display) {
  return Guarded<BOOL>(FALSE, nullptr, [&] {
    DisplayObject* d = Realized(display);
    return d && d->view->HasSelection() ? TRUE : FALSE;
  });
}

MVAPI void WINAPI MVActivate(LPMV display, BOOL active) {
  DisplayObject* d = FindDisplay(display);
  if (d && active && d->view->window) SetFocus(d->view->window);
}

MVAPI HGLOBAL WINAPI hMVSetHighlights(LPMV display, HGLOBAL list, BOOL redraw, LPLONG err) {
  DisplayObject* d = FindDisplay(display);
  if (!d || (list && !GlobalSize(list))) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  return Guarded<HGLOBAL>(nullptr, err, [&] {
    d->view->Follow(*d);  // a new address drops the old topic's words first
    d->view->SetHighlights(list, list ? ReadHighlights(list) : std::vector<display::Occurrence>{});
    if (redraw && d->view->window) UpdateWindow(d->view->window);
    return list;
  });
}

MVAPI HGLOBAL WINAPI hMVGetHighlights(LPMV display) {
  const DisplayObject* d = FindDisplay(display);
  return d ? d->view->highlightList() : nullptr;
}

MVAPI BOOL WINAPI fMVScrollToHighlight(LPMV display, LONG index, LPLONG err) {
  return Guarded<BOOL>(FALSE, err, [&] {
    DisplayObject* d = Realized(display);
    if (!d || !d->view->ScrollToHighlight(*d, index)) {
      SetError(err, d ? MVERR_NOTHING : MVERR_NOT_REALIZED);
      return FALSE;
    }
    return TRUE;
  });
}

}  // extern "C"
