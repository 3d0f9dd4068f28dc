#pragma once
// The DLL's objects behind its handles. Every handle the DLL gives out is registered
// here and checked on every call, so a stale or foreign handle is refused instead of
// followed. Objects that read a title share it, so closing a title while one of its
// word wheels or files is open leaves those working until they are closed.
#include <windows.h>

#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>

#include "runtime/mediaview/MediaView.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/TopicList.h"
#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/win32/display/ViewSlot.h"

namespace kro::mvdll {

using SharedTitle = std::shared_ptr<const mv::Title>;

struct TitleObject {
  SharedTitle title;
  MVPUMPPROC pump = nullptr;  // called during queries too
  // The highlight source of the newest query on this title, released when the next
  // query answers or the title closes.
  HMVHIGHLIGHTSOURCE highlights = nullptr;
};

struct DisplayObject {
  SharedTitle title;
  HMVTITLE titleHandle = nullptr;
  uint32_t topic = mv::kNone;
  UINT region = MV_REGION_BODY;
  LONG scroll = 0;
  display::ViewSlot view;  // window, layout, selection and highlights (display/View.h)
};

struct WordWheelObject {
  SharedTitle title;
  mv::WordWheel wheel;
};

struct TopicListObject {
  mv::TopicList list;
};

struct HighlightSourceObject {
  SharedTitle title;  // keeps the index the source borrows
  std::shared_ptr<const search::HighlightSource> source;
};

struct BaggageObject {
  SharedTitle title;
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

template <typename T>
class HandleSet {
public:
  T* Add(std::unique_ptr<T> object) {
    T* raw = object.get();
    objects_.emplace(raw, std::move(object));
    return raw;
  }
  T* Find(const void* handle) const {
    const auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : it->second.get();
  }
  bool Remove(const void* handle) { return objects_.erase(handle) > 0; }
  void Clear() { objects_.clear(); }

private:
  std::unordered_map<const void*, std::unique_ptr<T>> objects_;
};

// Process-wide state: the programs call the runtime from their one UI thread.
struct Runtime {
  HINSTANCE instance = nullptr;
  HandleSet<TitleObject> titles;
  HandleSet<DisplayObject> displays;
  HandleSet<WordWheelObject> wheels;
  HandleSet<TopicListObject> lists;
  HandleSet<BaggageObject> baggage;
  HandleSet<HighlightSourceObject> highlightSources;
};
Runtime& TheRuntime();

inline void SetError(LPLONG err, LONG code) {
  if (err) *err = code;
}

// No exception crosses an export: a failure inside (out of memory) answers `fallback`.
template <typename R, typename Fn>
R Guarded(R fallback, Fn&& fn) noexcept {
  try {
    return fn();
  } catch (...) {
    return fallback;
  }
}

// Registers a topic list; nullptr when out of memory.
HMVTOPICLIST AddList(mv::TopicList list);

// A movable global block with `bytes` and a NUL after them; nullptr when out of memory.
HGLOBAL CopyToGlobal(std::span<const uint8_t> bytes);
HGLOBAL CopyToGlobal(std::string_view text);

// A view address for a topic number, as a LONG (-1 for none).
inline LONG ViewAddress(uint32_t topic) { return static_cast<LONG>(mv::ViewAddressOf(topic)); }

}  // namespace kro::mvdll
