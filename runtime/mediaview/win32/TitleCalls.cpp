// Run, title and address-conversion calls.
#include <cstring>

#include "runtime/mediaview/win32/Runtime.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

const mv::Title* FindTitle(HMVTITLE handle) {
  const TitleObject* t = TheRuntime().titles.Find(handle);
  return t ? t->title.get() : nullptr;
}

uint32_t TopicNumber(const mv::Title& title, LONG number) {
  const auto n = static_cast<uint32_t>(number);
  return number >= 0 && n < title.topicCount() ? n : mv::kNone;
}

// Why a title did not open, as the error word tells it.
LONG OpenError(ParseCause cause) {
  switch (cause) {
    case ParseCause::Unreadable: return MVERR_NOT_FOUND;
    case ParseCause::UnknownVersion: return MVERR_TITLE_VERSION;
    case ParseCause::Stopped: return MVERR_SEARCH_STOPPED;
    case ParseCause::Truncated:
    case ParseCause::BadMagic:
    case ParseCause::OutOfLimits:
    case ParseCause::BadChecksum:
    case ParseCause::BadValue:
    case ParseCause::OutOfOrder:
    case ParseCause::Missing:
    case ParseCause::Unsupported:
    case ParseCause::MalformedText: return MVERR_READ;
  }
  return MVERR_FAILED;
}

}  // namespace

extern "C" {

MVAPI void WINAPI MVSetInstance(HINSTANCE instance) { TheRuntime().instance = instance; }

MVAPI void WINAPI MVTerminate(HINSTANCE) {
  Runtime& rt = TheRuntime();
  rt.baggage.Clear();
  rt.highlightSources.Clear();
  rt.wheels.Clear();
  rt.lists.Clear();
  rt.displays.Clear();
  rt.titles.Clear();
}

MVAPI HMVTITLE WINAPI hMVTitleOpenEx(LPCSTR path, MVPUMPPROC pump, LPLONG err) {
  if (!path) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  return Guarded<HMVTITLE>(nullptr, err, [&]() -> HMVTITLE {
    mv::TitleOptions options;
    if (pump) options.keepGoing = [pump] { return pump() == 0; };
    auto opened = mv::Title::OpenFile(path, options);
    if (!opened) {
      SetError(err, OpenError(opened.error().cause));
      return nullptr;
    }
    std::unique_ptr<mv::Title> title = *std::move(opened);
    if (pump && pump() != 0) {
      SetError(err, MVERR_SEARCH_STOPPED);
      return nullptr;
    }
    auto object = std::make_unique<TitleObject>();
    object->title = std::move(title);
    object->pump = pump;
    return TheRuntime().titles.Add(std::move(object));
  });
}

MVAPI void WINAPI MVTitleClose(HMVTITLE handle) {
  Runtime& rt = TheRuntime();
  if (const TitleObject* t = rt.titles.Find(handle)) rt.highlightSources.Remove(t->highlights);
  rt.titles.Remove(handle);
}

MVAPI LONG WINAPI lMVTitleGetInfo(HMVTITLE handle, UINT info, LONG param, LPSTR buffer) {
  if (buffer) buffer[0] = '\0';
  const mv::Title* title = FindTitle(handle);
  if (!title || info != MV_INFO_TOPIC_TITLE || !buffer) return -1;
  return Guarded<LONG>(-1, nullptr, [&]() -> LONG {
    const auto name = title->TopicTitle(TopicNumber(*title, param));
    if (!name) return -1;
    // Titles are at most 255 bytes (the reader refuses longer), so this fits the buffer.
    std::memcpy(buffer, name->data(), name->size());
    buffer[name->size()] = '\0';
    return static_cast<LONG>(name->size());
  });
}

MVAPI LONG WINAPI vaMVGetContents(HMVTITLE handle) {
  const mv::Title* title = FindTitle(handle);
  return title ? ViewAddress(title->contentsTopic()) : -1;
}

MVAPI LONG WINAPI addrMVConvertContextString(HMVTITLE handle, LPCSTR context) {
  const mv::Title* title = FindTitle(handle);
  if (!title || !context) return -1;
  return Guarded<LONG>(-1, nullptr, [&] { return static_cast<LONG>(title->TopicByContext(context)); });
}

MVAPI LONG WINAPI vaMVConvertContextString(HMVTITLE handle, LPCSTR context) {
  const mv::Title* title = FindTitle(handle);
  if (!title || !context) return -1;
  return Guarded<LONG>(-1, nullptr, [&] { return ViewAddress(title->TopicByContext(context)); });
}

MVAPI LONG WINAPI vaMVConvertAddr(HMVTITLE handle, LONG addr) {
  const mv::Title* title = FindTitle(handle);
  if (!title) return -1;
  const uint32_t topic = mv::TopicOfAddress(static_cast<uint32_t>(addr));
  return ViewAddress(topic < title->topicCount() ? topic : mv::kNone);
}

MVAPI LONG WINAPI vaMVConvertHash(HMVTITLE handle, DWORD hash) {
  const mv::Title* title = FindTitle(handle);
  return title ? Guarded<LONG>(-1, nullptr, [&] { return ViewAddress(title->TopicByHash(hash)); }) : -1;
}

MVAPI LONG WINAPI vaMVConvertTopicNumber(HMVTITLE handle, LONG number) {
  const mv::Title* title = FindTitle(handle);
  return title ? ViewAddress(TopicNumber(*title, number)) : -1;
}

}  // extern "C"
