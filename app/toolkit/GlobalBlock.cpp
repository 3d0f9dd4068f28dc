#include "app/toolkit/GlobalBlock.h"

namespace kro::toolkit {

void* AllocateGlobalBlock(size_t sizeBytes) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeBytes);
  if (block == nullptr) return nullptr;
  void* data = GlobalLock(block);
  if (data == nullptr) GlobalFree(block);
  return data;
}

void FreeGlobalBlock(void* block) {
  if (block == nullptr) return;
  const HGLOBAL handle = GlobalHandle(block);
  GlobalUnlock(handle);
  GlobalFree(handle);
}

}  // namespace kro::toolkit
