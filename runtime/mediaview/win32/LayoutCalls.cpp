// Display windows and look, layout, scrolling and painting.
#include <algorithm>

#include "runtime/mediaview/win32/Runtime.h"
#include "runtime/mediaview/win32/display/View.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

DisplayObject* FindDisplay(LPMV handle) { return TheRuntime().displays.Find(handle); }

DWORD PackPoint(LONG x, LONG y) {
  return static_cast<DWORD>(std::clamp<LONG>(x, 0, 0xFFFF)) | (static_cast<DWORD>(std::clamp<LONG>(y, 0, 0xFFFF)) << 16);
}

// The display when it has a layout that matches its address; otherwise the error word
// says why.
DisplayObject* Realized(LPMV handle, LPLONG err) {
  DisplayObject* d = FindDisplay(handle);
  if (!d) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  if (!d->view->Current(*d)) {
    SetError(err, MVERR_NOT_REALIZED);
    return nullptr;
  }
  return d;
}

}  // namespace

extern "C" {

MVAPI BOOL WINAPI fMVSetWindow(LPMV display, HWND window, LPLONG err) {
  DisplayObject* d = FindDisplay(display);
  if (!d || (window && !IsWindow(window))) {
    SetError(err, MVERR_INVALID);
    return FALSE;
  }
  // Windows embedded on the old window go with it.
  if (window != d->view->window) d->view->RemoveEmbeddedWindows();
  d->view->window = window;
  return TRUE;
}

MVAPI HWND WINAPI hwndMVGetWindow(LPMV display) {
  const DisplayObject* d = FindDisplay(display);
  return d ? d->view->window : nullptr;
}

MVAPI BOOL WINAPI fMVAllowEWSelection(LPMV display, BOOL allow) {
  DisplayObject* d = FindDisplay(display);
  if (!d) return FALSE;
  d->view->look.allowSelection = allow != FALSE;
  if (!allow) d->view->ClearSelection();
  return TRUE;
}

MVAPI void WINAPI MVSetKerningBoundary(LPMV display, LONG points) {
  if (DisplayObject* d = FindDisplay(display)) d->view->look.kerningBoundary = points;
}

MVAPI void WINAPI MVHidePartialLines(LPMV display, BOOL hide) {
  if (DisplayObject* d = FindDisplay(display)) d->view->look.hidePartialLines = hide != FALSE;
}

MVAPI void WINAPI MVSetBkColor(LPMV display, COLORREF colour) {
  if (DisplayObject* d = FindDisplay(display)) d->view->look.background = colour;
}

MVAPI void WINAPI MVSetTextColor(LPMV display, COLORREF colour) {
  if (DisplayObject* d = FindDisplay(display)) d->view->look.text = colour;
}

MVAPI BOOL WINAPI fMVRealize(LPMV display, LPRECT rect, LPLONG err) {
  DisplayObject* d = FindDisplay(display);
  if (!d) {
    SetError(err, MVERR_INVALID);
    return FALSE;
  }
  return Guarded<BOOL>(FALSE, err, [&] {
    if (d->view->Realize(*d, rect)) return TRUE;
    SetError(err, MVERR_NOT_REALIZED);
    return FALSE;
  });
}

MVAPI DWORD WINAPI ptMVGetSize(LPMV display) {
  return Guarded<DWORD>(0, nullptr, [&]() -> DWORD {
    DisplayObject* d = Realized(display, nullptr);
    if (!d) return 0;
    const auto size = d->view->NaturalSize();
    return PackPoint(size.width, size.height);
  });
}

MVAPI DWORD WINAPI ptMVGetScrollSizes(LPMV display) {
  return Guarded<DWORD>(0, nullptr, [&]() -> DWORD {
    DisplayObject* d = Realized(display, nullptr);
    if (!d) return 0;
    const POINT sizes = d->view->ScrollSizes();
    return PackPoint(sizes.x, sizes.y);
  });
}

MVAPI LONG WINAPI xMVGetXScrollPos(LPMV display) {
  return Guarded<LONG>(0, nullptr, [&] {
    DisplayObject* d = Realized(display, nullptr);
    return d ? d->view->ScrollPosX() : 0;
  });
}

MVAPI LONG WINAPI yMVGetYScrollPos(LPMV display) {
  return Guarded<LONG>(0, nullptr, [&] {
    DisplayObject* d = Realized(display, nullptr);
    return d ? d->view->ScrollPosY() : 0;
  });
}

MVAPI LONG WINAPI yMVScrollY(LPMV display, LPPOINT delta, LPLONG top, LPLONG bottom, UINT code, LONG pos, LPLONG err) {
  const display::ScrollResult r = Guarded<display::ScrollResult>({}, err, [&] {
    DisplayObject* d = Realized(display, err);
    return d ? d->view->ScrollY(*d, code, pos) : display::ScrollResult{};
  });
  if (delta) *delta = r.delta;
  if (top) *top = r.topStrip;
  if (bottom) *bottom = r.bottomStrip;
  return r.position;
}

MVAPI LONG WINAPI xMVScrollX(LPMV display, LPPOINT delta, UINT code, LONG pos, LPLONG err) {
  const display::ScrollResult r = Guarded<display::ScrollResult>({}, err, [&] {
    DisplayObject* d = Realized(display, err);
    return d ? d->view->ScrollX(code, pos) : display::ScrollResult{};
  });
  if (delta) *delta = r.delta;
  return r.position;
}

MVAPI BOOL WINAPI fMVApplyToDC(LPMV display, HDC dc, LPRECT rect, LPLONG err) {
  return Guarded<BOOL>(FALSE, err, [&] {
    DisplayObject* d = Realized(display, err);
    if (!d || !dc) {
      if (d) SetError(err, MVERR_INVALID);
      return FALSE;
    }
    RECT clip{};
    if (rect) {
      clip = *rect;
    } else if (GetClipBox(dc, &clip) == ERROR) {
      SetError(err, MVERR_INVALID);
      return FALSE;
    }
    return d->view->Paint(dc, clip) ? TRUE : FALSE;
  });
}

MVAPI HWND WINAPI hwndMVGetEmbeddedWindow(LPMV display, HWND previous, UINT how) {
  const DisplayObject* d = FindDisplay(display);
  return d ? d->view->EmbeddedWindow(previous, how) : nullptr;
}

MVAPI void WINAPI MVRemoveInsertedEmbeddedWindows(LPMV display) {
  if (DisplayObject* d = FindDisplay(display)) d->view->RemoveEmbeddedWindows();
}

}  // extern "C"
