#pragma once
// Owners of the objects the service hands out as 32-bit handles. A handle carries its kind
// in the top byte and a serial number below, so a stale handle or one of another kind is
// refused instead of reaching a freed or different object. Serials are not reused until
// 2^24 objects of one kind have been made.
#include <cstdint>
#include <map>
#include <memory>

namespace kro::qt {

template <typename T>
class HandleTable {
public:
  explicit HandleTable(uint8_t kind) : kind_(kind) {}

  uint32_t Add(std::unique_ptr<T> object) {
    serial_ = serial_ % kSerialMask + 1;  // 1..kSerialMask; 0 never appears
    const uint32_t handle = uint32_t(kind_) << 24 | serial_;
    objects_[handle] = std::move(object);
    return handle;
  }
  T* Find(uint32_t handle) const {
    const auto found = objects_.find(handle);
    return found == objects_.end() ? nullptr : found->second.get();
  }
  // Hands the object back (to be destroyed by the caller, possibly after more work).
  std::unique_ptr<T> Take(uint32_t handle) {
    const auto found = objects_.find(handle);
    if (found == objects_.end()) return nullptr;
    std::unique_ptr<T> object = std::move(found->second);
    objects_.erase(found);
    return object;
  }
  void Clear() { objects_.clear(); }
  size_t Size() const { return objects_.size(); }

private:
  static constexpr uint32_t kSerialMask = 0xFFFFFF;
  uint8_t kind_;
  uint32_t serial_ = 0;
  std::map<uint32_t, std::unique_ptr<T>> objects_;
};

}  // namespace kro::qt
