#pragma once
// Zero-filled movable global memory, locked for as long as it is in use: the blocks that
// hold bitmaps and in-memory list descriptions.
#include <windows.h>

#include <cstddef>

namespace kro::toolkit {

// GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT) then GlobalLock; null on failure.
void* AllocateGlobalBlock(size_t sizeBytes);
// Unlocks and frees a block from AllocateGlobalBlock; null is ignored.
void FreeGlobalBlock(void* block);

// GlobalLock for the guard's lifetime.
class GlobalLockGuard {
public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() { if (data_) GlobalUnlock(block_); }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }
  size_t SizeBytes() const { return data_ ? GlobalSize(block_) : 0; }

private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace kro::toolkit
