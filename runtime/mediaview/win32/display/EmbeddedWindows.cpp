#include "runtime/mediaview/win32/display/EmbeddedWindows.h"

#include <string>

namespace kro::mvdll::display {
namespace L = mv::layout;
namespace {

// The box of each window run, in layout coordinates, standing on its line's baseline
// like a picture.
template <typename Fn>
void ForEachWindowBox(const L::TextLayout& layout, Fn&& fn) {
  const auto& runs = layout.region().runs;
  for (const L::Line& line : layout.lines())
    for (const L::Fragment& f : layout.FragmentsOf(line)) {
      if (runs[f.run].kind != mv::RunKind::Window) continue;
      const int bottom = line.top + line.baseline;
      fn(f.run, L::Rect{f.x, bottom - f.height, f.x + f.width, bottom});
    }
}

RECT ToParent(const L::Rect& r, POINT origin) {
  return {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
}

}  // namespace

void EmbeddedWindows::Insert(HWND parent, const L::TextLayout& layout, POINT origin) {
  if (parent != parent_) Remove();
  parent_ = parent;
  if (!parent_ || inserted_) return Place(layout, origin);
  inserted_ = true;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent_, GWLP_HINSTANCE));
  const auto& runs = layout.region().runs;
  ForEachWindowBox(layout, [&](uint32_t run, const L::Rect& box) {
    const RECT r = ToParent(box, origin);
    const std::string className(runs[run].text), data(runs[run].alt);
    // The program's own classes are found under its module even when the display's window
    // belongs to another; a class nobody registered leaves its box empty.
    HWND w = nullptr;
    for (HINSTANCE owner : {instance, GetModuleHandleA(nullptr)}) {
      w = CreateWindowExA(0, className.c_str(), data.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, parent_, nullptr, owner, nullptr);
      if (w || owner == GetModuleHandleA(nullptr)) break;
    }
    if (w) entries_.push_back({run, w});
  });
}

void EmbeddedWindows::Place(const L::TextLayout& layout, POINT origin) const {
  if (entries_.empty()) return;
  ForEachWindowBox(layout, [&](uint32_t run, const L::Rect& box) {
    for (const Entry& e : entries_) {
      if (e.run != run || !Alive(e)) continue;
      const RECT want = ToParent(box, origin);
      RECT now;
      GetWindowRect(e.window, &now);
      MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&now), 2);
      if (!EqualRect(&now, &want))
        SetWindowPos(e.window, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
  });
}

void EmbeddedWindows::Remove() {
  // Taken out first: a window being destroyed may call back into the display.
  std::vector<Entry> entries;
  entries.swap(entries_);
  for (const Entry& e : entries)
    if (Alive(e)) DestroyWindow(e.window);
  inserted_ = false;
}

// The parent's destruction takes its children along; a handle left behind must not
// reach a window that reused it.
bool EmbeddedWindows::Alive(const Entry& e) const { return IsWindow(e.window) && GetParent(e.window) == parent_; }

HWND EmbeddedWindows::First() const {
  for (const Entry& e : entries_)
    if (Alive(e)) return e.window;
  return nullptr;
}

HWND EmbeddedWindows::Next(HWND previous) const {
  bool passed = false;
  for (const Entry& e : entries_) {
    if (passed && Alive(e)) return e.window;
    if (e.window == previous) passed = true;
  }
  return nullptr;
}

}  // namespace kro::mvdll::display
