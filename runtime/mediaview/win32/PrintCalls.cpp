// Copying a display's selection or text, and printing its region page by page.
#include <algorithm>
#include <cstring>

#include "runtime/mediaview/win32/Runtime.h"
#include "runtime/mediaview/win32/display/Copy.h"
#include "runtime/mediaview/win32/display/Painter.h"
#include "runtime/mediaview/win32/display/View.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

DisplayObject* Followed(LPMV handle) {
  DisplayObject* d = TheRuntime().displays.Find(handle);
  if (d) d->view->Follow(*d);
  return d && d->view->title() ? d : nullptr;
}

HGLOBAL FormatsBlock(const std::vector<MVCOPYFORMAT>& formats) {
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, MV_COPY_FORMATS_OFFSET + formats.size() * sizeof(MVCOPYFORMAT)));
  auto* p = block ? static_cast<uint8_t*>(GlobalLock(block.Get())) : nullptr;
  if (!p) return nullptr;
  const LONG count = static_cast<LONG>(formats.size());
  std::memcpy(p, &count, sizeof count);
  std::memcpy(p + MV_COPY_FORMATS_OFFSET, formats.data(), formats.size() * sizeof(MVCOPYFORMAT));
  GlobalUnlock(block.Get());
  return block.Release();
}

class Printer {
public:
  Printer(LPMV handle, DisplayObject& d, HDC dc, const RECT& page, MVPAGEPROC proc, LPARAM user)
      : handle_(handle), d_(d), dc_(dc), page_(page), proc_(proc), user_(user),
        measurer_(dc, *d.view->title(), pictures_),
        layout_(d.view->region(), measurer_, {page.right - page.left, 0, 0, 0, page.bottom - page.top}) {}

  // Draws every page; `room` is the free part of the open page (or the whole page).
  bool Run(RECT* room, LONG* begun) {
    const int pageHeight = page_.bottom - page_.top;
    const bool open = room->top > page_.top && room->top < page_.bottom;
    const auto plan = layout_.Paginate(open ? page_.bottom - room->top : pageHeight, pageHeight);
    int end = open ? room->top : page_.top;
    for (size_t k = 0; k < plan.size(); ++k) {
      const bool continues = k == 0 && open;
      if (!continues && ((k > 0 || open) && !Call(FALSE))) return false;
      if (!continues && !Call(TRUE)) return false;
      if (!continues) ++*begun;
      const int top = continues ? room->top : page_.top;
      display::PaintJob job;
      job.layout = &layout_;
      job.measurer = &measurer_;
      job.origin = {page_.left, top - plan[k].top};
      job.clip = {page_.left, top, page_.right, page_.bottom};
      job.visibleBottom = page_.bottom;
      display::PaintLayout(dc_, job);
      end = plan[k].lineCount ? job.origin.y + layout_.lines()[plan[k].firstLine + plan[k].lineCount - 1].bottom() : top;
    }
    *room = page_;
    room->top = std::min<LONG>(end, page_.bottom);
    return true;
  }

private:
  bool Call(BOOL begin) {
    if (begin) ++pageNumber_;
    RECT page = page_;  // the callback may not move the page for the next one
    return proc_(handle_, dc_, pageNumber_, static_cast<LONG>(d_.topic), static_cast<LONG>(d_.region), user_, &page,
                 begin) != FALSE;
  }

  LPMV handle_;
  DisplayObject& d_;
  HDC dc_;
  RECT page_;
  MVPAGEPROC proc_;
  LPARAM user_;
  LONG pageNumber_ = 0;
  display::PictureCache pictures_;
  display::GdiMeasurer measurer_;
  mv::layout::TextLayout layout_;
};

}  // namespace

extern "C" {

MVAPI HGLOBAL WINAPI hMVCopyAdvanced(LPMV display, UINT, LONG, LPLONG err) {
  return Guarded<HGLOBAL>(nullptr, err, [&]() -> HGLOBAL {
    DisplayObject* d = Followed(display);
    if (!d || !d->view->HasSelection()) {
      SetError(err, d ? MVERR_NOTHING : MVERR_INVALID);
      return nullptr;
    }
    const display::View& view = *d->view;
    const uint32_t b = view.SelectionBegin(), e = view.SelectionEnd();
    const std::string plain = display::ClipboardText(std::string_view(view.text()).substr(b, e - b));
    const std::string rtf = display::Rtf(*view.title(), view.region(), b, e);
    std::vector<MVCOPYFORMAT> formats = {{CF_TEXT, display::AnsiBlock(plain)},
                                         {CF_UNICODETEXT, display::UnicodeBlock(plain)},
                                         {RegisterClipboardFormatA("Rich Text Format"), display::AnsiBlock(rtf)}};
    HGLOBAL block = nullptr;
    if (std::all_of(formats.begin(), formats.end(), [](const MVCOPYFORMAT& f) { return f.format && f.data; }))
      block = FormatsBlock(formats);
    if (!block) {
      for (const MVCOPYFORMAT& f : formats)
        if (f.data) GlobalFree(f.data);
      SetError(err, MVERR_OUT_OF_MEMORY);
    }
    return block;
  });
}

MVAPI HGLOBAL WINAPI hMVCopyMedia(LPMV display, LPLONG err) {
  return Guarded<HGLOBAL>(nullptr, err, [&]() -> HGLOBAL {
    DisplayObject* d = Followed(display);
    if (!d || d->view->text().empty()) {
      SetError(err, d ? MVERR_NOTHING : MVERR_INVALID);
      return nullptr;
    }
    HGLOBAL block = display::AnsiBlock(display::ClipboardText(d->view->text()));
    if (!block) SetError(err, MVERR_OUT_OF_MEMORY);
    return block;
  });
}

MVAPI BOOL WINAPI fMVPrintMedia(LPMV display, HDC dc, LONG, LPRECT page, LPRECT free, LPLONG pages, MVPAGEPROC proc,
                                LPARAM user, LPLONG err) {
  if (pages) *pages = 0;
  return Guarded<BOOL>(FALSE, err, [&] {
    DisplayObject* d = Followed(display);
    if (!d || !dc || !page || !proc || page->right <= page->left || page->bottom <= page->top) {
      SetError(err, MVERR_INVALID);
      return FALSE;
    }
    RECT room = free ? *free : *page;
    LONG begun = 0;
    Printer printer(display, *d, dc, *page, proc, user);
    const bool done = printer.Run(&room, &begun);
    if (pages) *pages = begun;
    if (free) *free = room;
    if (!done) SetError(err, MVERR_PRINT_ABORTED);
    return done ? TRUE : FALSE;
  });
}

}  // extern "C"
