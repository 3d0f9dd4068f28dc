#pragma once
// LEB128 unsigned integers, the compact encoding of every count, gap and position of the
// search index. Reading is bounds-checked with a sticky error like ByteReader, but works on
// raw pointers because postings decoding is the innermost loop of every query.
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <span>
#include <vector>

namespace kro::search {

inline void PutVarint(std::vector<uint8_t>& out, uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<uint8_t>(value));
}

class VarintReader {
public:
  VarintReader() = default;
  explicit VarintReader(std::span<const uint8_t> bytes)
      : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  bool ok() const { return ok_; }
  bool AtEnd() const { return p_ == end_; }
  const uint8_t* position() const { return p_; }

  // Values wider than 32 bits are damage: nothing the index stores needs them.
  uint32_t U32() {
    if (p_ != end_ && *p_ < 0x80) return *p_++;  // most gaps and positions take one byte
    uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      if (p_ == end_) return Fail();
      const uint8_t byte = *p_++;
      if (shift == 28 && byte > 0x0F) return Fail();
      value |= uint32_t{byte & 0x7Fu} << shift;
      if (byte < 0x80) return value;
    }
    return Fail();
  }

  uint64_t U64() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (p_ == end_) return Fail();
      const uint8_t byte = *p_++;
      value |= uint64_t{byte & 0x7Fu} << shift;
      if (byte < 0x80) return value;
    }
    return Fail();
  }

  // Borrows the next `size` bytes.
  std::span<const uint8_t> Bytes(size_t size) {
    if (!ok_ || static_cast<size_t>(end_ - p_) < size) {
      Fail();
      return {};
    }
    const uint8_t* start = p_;
    p_ += size;
    return {start, size};
  }

  // Steps over `count` varints without decoding them, eight bytes at a time where it can:
  // phrases step over the positions of every document between two candidates.
  void SkipVarints(size_t count) {
    const uint8_t* p = p_;
    while (count > 0 && end_ - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      // The bytes that end a varint, summed into the top byte: cheaper than a popcount
      // where the processor has no such instruction (the 32-bit build).
      const auto ends = static_cast<size_t>((((~word & 0x8080808080808080ull) >> 7) * 0x0101010101010101ull) >> 56);
      if (ends > count || (ends == count && p[7] >= 0x80)) break;
      count -= ends;
      p += 8;
    }
    while (count > 0) {
      if (p == end_) {
        Fail();
        return;
      }
      if (*p++ < 0x80) --count;
    }
    p_ = p;
  }

private:
  uint32_t Fail() {
    ok_ = false;
    p_ = end_;
    return 0;
  }

  const uint8_t* p_ = nullptr;
  const uint8_t* end_ = nullptr;
  bool ok_ = true;
};

}  // namespace kro::search
