#pragma once
// Owners of the objects a runtime hands out as handles. A handle is a number, never an
// address: the kind in its top byte, a serial number in the 24 bits below. So a stale
// handle, one of another kind or a made-up one finds nothing, where an address would
// reach a freed object or a new one that happens to sit at the same place.
//
// Serials count 1..kMaxSerial and then start again at 1, skipping those still open, so a
// handle is never 0 and never names two objects; a closed handle comes back only after
// kMaxSerial more objects of its kind. `Handle` is uint32_t, or a pointer type when a C
// interface declares its handles as pointers: the pointer's value is then the number.
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace kro {

template <typename T, typename Handle = uint32_t, unsigned kSerialBits = 24>
class HandleTable {
  static_assert(std::is_same_v<Handle, uint32_t> || std::is_pointer_v<Handle>);
  static_assert(kSerialBits >= 1 && kSerialBits <= 24, "the kind needs the top byte");

public:
  static constexpr uint32_t kMaxSerial = (uint32_t{1} << kSerialBits) - 1;

  explicit HandleTable(uint8_t kind) : kind_(kind) {}
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;

  // Throws std::bad_alloc when memory runs out or every serial of the kind is open.
  Handle Add(std::unique_ptr<T> object) {
    for (uint32_t tried = 0; tried < kMaxSerial; ++tried) {
      serial_ = serial_ % kMaxSerial + 1;
      const uint32_t value = uint32_t{kind_} << 24 | serial_;
      if (objects_.count(value)) continue;
      objects_.emplace(value, std::move(object));
      return FromValue(value);
    }
    throw std::bad_alloc();
  }

  T* Find(Handle handle) const {
    const auto found = objects_.find(Key(handle));
    return found == objects_.end() ? nullptr : found->second.get();
  }

  // Hands the object back, already unregistered, so that its destructor may use the table.
  std::unique_ptr<T> Take(Handle handle) {
    const auto found = objects_.find(Key(handle));
    if (found == objects_.end()) return nullptr;
    std::unique_ptr<T> object = std::move(found->second);
    objects_.erase(found);
    return object;
  }
  bool Remove(Handle handle) { return Take(handle) != nullptr; }

  // Destroys every object. The serials go on, so handles from before stay refused.
  void Clear() {
    auto objects = std::move(objects_);
    objects_.clear();
  }

  size_t Size() const { return objects_.size(); }
  uint8_t kind() const { return kind_; }

  // The number a handle carries. A pointer with bits above the low 32 (a real address on
  // a 64-bit build) carries none, rather than the handle its low half would spell.
  static uint32_t ValueOf(Handle handle) {
    if constexpr (std::is_pointer_v<Handle>) {
      const uint64_t bits = reinterpret_cast<uintptr_t>(handle);
      return bits >> 32 == 0 ? static_cast<uint32_t>(bits) : 0;
    } else {
      return handle;
    }
  }
  static Handle FromValue(uint32_t value) {
    if constexpr (std::is_pointer_v<Handle>) {
      return reinterpret_cast<Handle>(static_cast<uintptr_t>(value));
    } else {
      return value;
    }
  }

private:
  // The entry's key for a handle of this kind; 0, which no entry has, for any other.
  uint32_t Key(Handle handle) const {
    const uint32_t value = ValueOf(handle);
    return value >> 24 == kind_ ? value : 0;
  }

  uint8_t kind_;
  uint32_t serial_ = 0;
  std::unordered_map<uint32_t, std::unique_ptr<T>> objects_;
};

}  // namespace kro
