#pragma once
// Bounds-checked little-endian reading over borrowed bytes. Every parser of bytes from
// disk goes through this. Errors are sticky: after the first failed read every further
// read returns zero and ok() stays false, so a parser can read a whole record and check
// once.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kro {

class ByteReader {
public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }
  size_t size() const { return bytes_.size(); }
  size_t remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  uint64_t U64();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint16_t U16BE();
  uint32_t U32BE();
  uint64_t U64BE();

  // Borrows `sizeBytes` bytes; an empty span (and a failed reader) when they are not there.
  std::span<const uint8_t> Bytes(size_t sizeBytes);
  std::string_view Text(size_t sizeBytes);
  void Skip(size_t sizeBytes) { Bytes(sizeBytes); }
  // Moves to an absolute offset; offset == size() is valid (nothing left to read).
  void Seek(size_t offset);
  // A reader over [offset, offset + sizeBytes) of the same bytes, checked for overflow.
  ByteReader Sub(size_t offset, size_t sizeBytes) const;
  void Fail() { ok_ = false; }

private:
  bool Take(size_t sizeBytes, const uint8_t** out);

  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
  bool ok_ = true;
};

// True when [offset, offset + sizeBytes) lies inside a buffer of `total` bytes, without
// overflowing on hostile values.
constexpr bool RangeFits(uint64_t offset, uint64_t sizeBytes, uint64_t total) {
  return offset <= total && sizeBytes <= total - offset;
}

}  // namespace kro
