// Baggage files: byte streams stored inside the title (catalogues, caption files).
#include <algorithm>
#include <cstring>

#include "runtime/mediaview/win32/Runtime.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

constexpr UINT kOriginStart = 0;
constexpr UINT kOriginCurrent = 1;
constexpr UINT kOriginEnd = 2;

BaggageObject* FindFile(HMVBAGGAGE handle) { return TheRuntime().baggage.Find(handle); }

// The file's bytes, or an error word when the title or the file is not there.
LONG LocateFile(HMVTITLE title, LPCSTR name, SharedTitle* owner, std::span<const uint8_t>* bytes) {
  const TitleObject* t = TheRuntime().titles.Find(title);
  if (!t || !name) return MVERR_INVALID;
  bool damaged = false;
  const auto file = t->title->BaggageFile(name, &damaged);
  if (!file) return damaged ? MVERR_READ : MVERR_NOT_FOUND;
  *owner = t->title;
  *bytes = *file;
  return 0;
}

LONG Read(BaggageObject* f, LPVOID buffer, LONG count, LPLONG err) {
  if (!buffer || count < 0) {
    SetError(err, MVERR_INVALID);
    return 0;
  }
  const size_t n = std::min<size_t>(static_cast<size_t>(count), f->bytes.size() - f->position);
  if (n > 0) std::memcpy(buffer, f->bytes.data() + f->position, n);
  f->position += n;
  return static_cast<LONG>(n);
}

}  // namespace

extern "C" {

MVAPI HMVBAGGAGE WINAPI hMVBaggageOpen(HMVTITLE title, LPCSTR name, UINT, LPLONG err) {
  return Guarded<HMVBAGGAGE>(nullptr, err, [&] {
    auto object = std::make_unique<BaggageObject>();
    if (const LONG code = LocateFile(title, name, &object->title, &object->bytes); code != 0) {
      SetError(err, code);
      return static_cast<HMVBAGGAGE>(nullptr);
    }
    return TheRuntime().baggage.Add(std::move(object));
  });
}

MVAPI LONG WINAPI lMVBaggageSeek(HMVBAGGAGE handle, LONG offset, UINT origin, LPLONG err) {
  BaggageObject* f = FindFile(handle);
  if (!f || origin > kOriginEnd) {
    SetError(err, MVERR_INVALID);
    return -1;
  }
  const int64_t base = origin == kOriginStart ? 0 : origin == kOriginCurrent ? static_cast<int64_t>(f->position)
                                                                              : static_cast<int64_t>(f->bytes.size());
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(f->bytes.size())) {
    SetError(err, MVERR_SEEK);
    return -1;
  }
  f->position = static_cast<size_t>(target);
  return static_cast<LONG>(target);
}

MVAPI LONG WINAPI lMVBaggageRead(HMVBAGGAGE handle, LPVOID buffer, LONG count, LPLONG err) {
  BaggageObject* f = FindFile(handle);
  if (!f) {
    SetError(err, MVERR_INVALID);
    return 0;
  }
  return Read(f, buffer, count, err);
}

MVAPI LONG WINAPI lMVBaggageSeekRead(HMVBAGGAGE handle, LONG offset, UINT origin, LPVOID buffer, LONG count, LPLONG err) {
  if (lMVBaggageSeek(handle, offset, origin, err) < 0) return 0;
  return Read(FindFile(handle), buffer, count, err);
}

MVAPI HGLOBAL WINAPI hMVBaggageGetFile(HMVTITLE title, LPCSTR name, UINT, LONG, LONG, LPDWORD size, LPLONG err) {
  if (size) *size = 0;
  return Guarded<HGLOBAL>(nullptr, err, [&]() -> HGLOBAL {
    SharedTitle owner;
    std::span<const uint8_t> bytes;
    if (const LONG code = LocateFile(title, name, &owner, &bytes); code != 0) {
      SetError(err, code);
      return nullptr;
    }
    HGLOBAL block = CopyToGlobal(bytes);
    if (!block) {
      SetError(err, MVERR_OUT_OF_MEMORY);
      return nullptr;
    }
    if (size) *size = static_cast<DWORD>(bytes.size());
    return block;
  });
}

MVAPI void WINAPI MVBaggageClose(HMVBAGGAGE handle, LPLONG err) {
  if (!TheRuntime().baggage.Remove(handle)) SetError(err, MVERR_INVALID);
}

}  // extern "C"
