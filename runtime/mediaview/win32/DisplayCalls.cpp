// Display state: which topic and region a display shows. Layout and painting build on it.
#include "runtime/mediaview/win32/Runtime.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

DisplayObject* FindDisplay(LPMV handle) { return TheRuntime().displays.Find(handle); }

LPMV AddDisplay(std::unique_ptr<DisplayObject> display) {
  return TheRuntime().displays.Add(std::move(display));
}

std::optional<mv::TopicRegions> CurrentRegions(LPMV handle) {
  const DisplayObject* d = FindDisplay(handle);
  if (!d || d->topic == mv::kNone) return std::nullopt;
  return d->title->Regions(d->topic);
}

}  // namespace

extern "C" {

MVAPI LPMV WINAPI lpMVNew(HMVTITLE title, LPLONG err) {
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!t) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  return Guarded<LPMV>(nullptr, err, [&] {
    auto d = std::make_unique<DisplayObject>();
    d->title = t->title;
    d->titleHandle = title;
    return AddDisplay(std::move(d));
  });
}

MVAPI LPMV WINAPI lpMVDuplicate(LPMV display, LPLONG err) {
  const DisplayObject* d = FindDisplay(display);
  if (!d) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  return Guarded<LPMV>(nullptr, err, [&] { return AddDisplay(std::make_unique<DisplayObject>(*d)); });
}

MVAPI void WINAPI MVDelete(LPMV display) { TheRuntime().displays.Remove(display); }

MVAPI HMVTITLE WINAPI hMVGetTitle(LPMV display, LONG) {
  const DisplayObject* d = FindDisplay(display);
  return d ? d->titleHandle : nullptr;
}

MVAPI BOOL WINAPI fMVSetTitle(LPMV display, HMVTITLE title, LONG, LPLONG err) {
  DisplayObject* d = FindDisplay(display);
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!d || !t) {
    SetError(err, MVERR_INVALID);
    return FALSE;
  }
  d->title = t->title;
  d->titleHandle = title;
  d->topic = mv::kNone;
  d->scroll = 0;
  return TRUE;
}

MVAPI BOOL WINAPI fMVSetAddress(LPMV display, LONG va, UINT region, LONG scrollPos, LPLONG err) {
  DisplayObject* d = FindDisplay(display);
  const uint32_t topic = mv::TopicOfViewAddress(static_cast<uint32_t>(va));
  if (!d || topic >= d->title->topicCount() || region > MV_REGION_BODY) {
    SetError(err, MVERR_INVALID);
    return FALSE;
  }
  return Guarded<BOOL>(FALSE, err, [&] {
    const auto regions = d->title->Regions(topic);
    if (!regions) {
      SetError(err, MVERR_READ);
      return FALSE;
    }
    d->topic = topic;
    d->region = region;
    d->scroll = scrollPos;
    // The topic is set either way, so fMVHasSR/fMVHasNSR describe it; a caller that wants
    // the other region (a popup whose topic has only a heading) learns it from the answer.
    if ((region == MV_REGION_HEADING ? regions->heading : regions->body).empty()) {
      SetError(err, MVERR_NO_REGION);
      return FALSE;
    }
    return TRUE;
  });
}

MVAPI void WINAPI MVGetAddress(LPMV display, LPLONG va, LPLONG region, LPLONG scrollPos) {
  const DisplayObject* d = FindDisplay(display);
  if (va) *va = d ? ViewAddress(d->topic) : -1;
  if (region) *region = d ? static_cast<LONG>(d->region) : 0;
  if (scrollPos) *scrollPos = d ? d->scroll : 0;
}

MVAPI LONG WINAPI lMVTopicNumber(LPMV display) {
  const DisplayObject* d = FindDisplay(display);
  return d ? static_cast<LONG>(d->topic) : -1;
}

MVAPI HGLOBAL WINAPI hMVGetName(LPMV display) {
  return Guarded<HGLOBAL>(nullptr, nullptr, [&] {
    const DisplayObject* d = FindDisplay(display);
    const auto name = d ? d->title->TopicTitle(d->topic) : std::nullopt;
    return name ? CopyToGlobal(*name) : nullptr;
  });
}

MVAPI HGLOBAL WINAPI hMVGetData(LPMV display) {
  return Guarded<HGLOBAL>(nullptr, nullptr, [&] {
    const DisplayObject* d = FindDisplay(display);
    const auto data = d ? d->title->TopicData(d->topic) : std::nullopt;
    return data ? CopyToGlobal(*data) : nullptr;
  });
}

MVAPI LONG WINAPI addrMVGetPrev(LPMV display) {
  const DisplayObject* d = FindDisplay(display);
  return d ? Guarded<LONG>(-1, nullptr, [&] { return static_cast<LONG>(d->title->BrowsePrev(d->topic)); }) : -1;
}

MVAPI LONG WINAPI addrMVGetNext(LPMV display) {
  const DisplayObject* d = FindDisplay(display);
  return d ? Guarded<LONG>(-1, nullptr, [&] { return static_cast<LONG>(d->title->BrowseNext(d->topic)); }) : -1;
}

MVAPI BOOL WINAPI fMVHasSR(LPMV display) {
  return Guarded<BOOL>(FALSE, nullptr, [&] {
    const auto regions = CurrentRegions(display);
    return regions && !regions->body.empty() ? TRUE : FALSE;
  });
}

MVAPI BOOL WINAPI fMVHasNSR(LPMV display) {
  return Guarded<BOOL>(FALSE, nullptr, [&] {
    const auto regions = CurrentRegions(display);
    return regions && !regions->heading.empty() ? TRUE : FALSE;
  });
}

}  // extern "C"
