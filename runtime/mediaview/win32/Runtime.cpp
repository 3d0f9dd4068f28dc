#include "runtime/mediaview/win32/Runtime.h"

#include <cstring>

namespace kro::mvdll {

Runtime& TheRuntime() {
  static Runtime runtime;
  return runtime;
}

HMVTOPICLIST AddList(mv::TopicList list) {
  auto object = std::make_unique<TopicListObject>();
  object->list = std::move(list);
  return TheRuntime().lists.Add(std::move(object));
}

HGLOBAL CopyToGlobal(std::span<const uint8_t> bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 1);
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

HGLOBAL CopyToGlobal(std::string_view text) {
  return CopyToGlobal(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace kro::mvdll
