#pragma once
// Little-endian stores for the writers of on-disk records.
#include <cstdint>

namespace kro {

inline void PutLE32(uint8_t* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace kro
