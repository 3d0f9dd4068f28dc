// Word wheels, key indexes and topic lists.
#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/mediaview/win32/Runtime.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

constexpr LONG kMaxAddressBatch = 1 << 20;  // bounds the scratch buffer of one call

const WordWheelObject* FindWheel(HMVWORDWHEEL handle) { return TheRuntime().wheels.Find(handle); }
const TopicListObject* FindList(HMVTOPICLIST handle) { return TheRuntime().lists.Find(handle); }

}  // namespace

extern "C" {

MVAPI HMVWORDWHEEL WINAPI hMVWordWheelOpenTitle(HMVTITLE title, LPCSTR name) {
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!t || !name) return nullptr;
  return Guarded<HMVWORDWHEEL>(nullptr, nullptr, [&] {
    auto wheel = t->title->OpenWordWheel(name);
    if (!wheel) return static_cast<HMVWORDWHEEL>(nullptr);
    auto object = std::make_unique<WordWheelObject>(WordWheelObject{t->title, *wheel});
    return TheRuntime().wheels.Add(std::move(object));
  });
}

MVAPI LONG WINAPI lMVWordWheelLength(HMVWORDWHEEL handle) {
  const WordWheelObject* w = FindWheel(handle);
  return w ? static_cast<LONG>(w->wheel.size()) : 0;
}

MVAPI int WINAPI nMVWordWheelLookup(HMVWORDWHEEL handle, LONG index, LPSTR buffer, LONG size) {
  if (buffer && size > 0) buffer[0] = '\0';
  const WordWheelObject* w = FindWheel(handle);
  if (!w || !buffer || size <= 0 || index < 0) return MVERR_INVALID;
  const auto key = w->wheel.Key(static_cast<uint32_t>(index));
  if (!key) return index >= static_cast<LONG>(w->wheel.size()) ? MVERR_INVALID : MVERR_READ;
  const size_t n = std::min<size_t>(key->size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, key->data(), n);
  buffer[n] = '\0';
  return 0;
}

MVAPI LONG WINAPI lMVWordWheelPrefix(HMVWORDWHEEL handle, LPCSTR prefix) {
  const WordWheelObject* w = FindWheel(handle);
  if (!w) return -1;
  return Guarded<LONG>(-1, nullptr, [&] { return static_cast<LONG>(w->wheel.Prefix(prefix ? prefix : "")); });
}

MVAPI void WINAPI MVWordWheelClose(HMVWORDWHEEL handle) { TheRuntime().wheels.Remove(handle); }

MVAPI int WINAPI nMVKeyIndexGetCount(HMVWORDWHEEL handle, LPCSTR key) {
  const WordWheelObject* w = FindWheel(handle);
  if (!w || !key) return 0;
  return Guarded<int>(0, nullptr, [&] { return static_cast<int>(w->wheel.AddressCount(w->wheel.Find(key))); });
}

MVAPI LONG WINAPI lMVKeyIndexGetAddrs(HMVWORDWHEEL handle, LPCSTR key, LONG first, LONG count, LPLONG addrs) {
  const WordWheelObject* w = FindWheel(handle);
  if (!w || !key || !addrs || first < 0 || count <= 0) return 0;
  return Guarded<LONG>(0, nullptr, [&] {
    std::vector<uint32_t> topics(static_cast<size_t>(std::min(count, kMaxAddressBatch)));
    const uint32_t n = w->wheel.Addresses(w->wheel.Find(key), static_cast<uint32_t>(first), topics);
    for (uint32_t i = 0; i < n; ++i) addrs[i] = static_cast<LONG>(topics[i]);
    return static_cast<LONG>(n);
  });
}

MVAPI HMVTOPICLIST WINAPI hMVTopicListLoad(HMVTITLE title, LPCSTR name) {
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!t || !name) return nullptr;
  return Guarded<HMVTOPICLIST>(nullptr, nullptr, [&] {
    auto topics = t->title->StoredList(name);
    return topics ? AddList(mv::TopicList(std::move(*topics))) : nullptr;
  });
}

MVAPI HMVTOPICLIST WINAPI hMVTopicListCreate(HMVTITLE title) {
  if (!TheRuntime().titles.Find(title)) return nullptr;
  return Guarded<HMVTOPICLIST>(nullptr, nullptr, [&] { return AddList(mv::TopicList()); });
}

MVAPI HMVTOPICLIST WINAPI hMVTopicListCombine(UINT op, HMVTOPICLIST a, HMVTOPICLIST b) {
  const TopicListObject* x = FindList(a);
  const TopicListObject* y = FindList(b);
  if (!x || !y || op > MV_LIST_DIFFERENCE) return nullptr;
  return Guarded<HMVTOPICLIST>(nullptr, nullptr, [&] {
    return AddList(mv::TopicList::Combine(static_cast<mv::ListOp>(op), x->list, y->list));
  });
}

MVAPI LONG WINAPI lMVTopicListLength(HMVTOPICLIST handle) {
  const TopicListObject* l = FindList(handle);
  return l ? static_cast<LONG>(l->list.size()) : 0;
}

MVAPI LONG WINAPI lMVTopicListLookup(HMVTOPICLIST handle, LONG index) {
  const TopicListObject* l = FindList(handle);
  if (!l || index < 0) return -1;
  return static_cast<LONG>(l->list.At(static_cast<uint32_t>(index)));
}

MVAPI void WINAPI MVTopicListDestroy(HMVTOPICLIST handle) { TheRuntime().lists.Remove(handle); }

MVAPI HMVTOPICLIST WINAPI hMVTopicListFromTopicNo(HMVTITLE title, LONG number) {
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!t || number < 0 || static_cast<uint32_t>(number) >= t->title->topicCount()) return nullptr;
  return Guarded<HMVTOPICLIST>(nullptr, nullptr, [&] { return AddList(mv::TopicList({static_cast<uint32_t>(number)})); });
}

}  // extern "C"
