#pragma once
// The DLL's objects behind its handles. A handle is a number from the object's table (its
// kind and a serial, runtime/base/HandleTable.h), never the object's address, and every
// call looks it up: a stale handle, one of another kind or a made-up one is refused
// instead of followed, even when a newer object sits where the old one was. Objects that
// read a title share it, so closing a title while one of its word wheels or files is
// open leaves those working until they are closed.
#include <windows.h>

#include <memory>
#include <new>
#include <span>
#include <string_view>

#include "runtime/base/HandleTable.h"
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

// Process-wide state: the programs call the runtime from their one UI thread.
struct Runtime {
  HINSTANCE instance = nullptr;
  HandleTable<TitleObject, HMVTITLE> titles{'T'};
  HandleTable<DisplayObject, LPMV> displays{'D'};
  HandleTable<WordWheelObject, HMVWORDWHEEL> wheels{'W'};
  HandleTable<TopicListObject, HMVTOPICLIST> lists{'L'};
  HandleTable<BaggageObject, HMVBAGGAGE> baggage{'B'};
  HandleTable<HighlightSourceObject, HMVHIGHLIGHTSOURCE> highlightSources{'H'};
};
Runtime& TheRuntime();

inline void SetError(LPLONG err, LONG code) {
  if (err) *err = code;
}

// No exception crosses an export. A failure inside answers `fallback` and, for a call with
// an error word, says why there: MVERR_OUT_OF_MEMORY when memory ran out, MVERR_FAILED for
// anything else. `err` may be null (the call has no error word, or the caller gave none).
template <typename R, typename Fn>
R Guarded(R fallback, LPLONG err, Fn&& fn) noexcept {
  try {
    return fn();
  } catch (const std::bad_alloc&) {
    SetError(err, MVERR_OUT_OF_MEMORY);
  } catch (...) {
    SetError(err, MVERR_FAILED);
  }
  return fallback;
}

template <typename Fn>
void Guarded(LPLONG err, Fn&& fn) noexcept {
  try {
    fn();
  } catch (const std::bad_alloc&) {
    SetError(err, MVERR_OUT_OF_MEMORY);
  } catch (...) {
    SetError(err, MVERR_FAILED);
  }
}

// Registers a topic list; throws std::bad_alloc when out of memory (call it inside Guarded).
HMVTOPICLIST AddList(mv::TopicList list);

// A movable global block with `bytes` and a NUL after them; nullptr when out of memory.
HGLOBAL CopyToGlobal(std::span<const uint8_t> bytes);
HGLOBAL CopyToGlobal(std::string_view text);

// A view address for a topic number, as a LONG (-1 for none).
inline LONG ViewAddress(uint32_t topic) { return static_cast<LONG>(mv::ViewAddressOf(topic)); }

}  // namespace kro::mvdll
