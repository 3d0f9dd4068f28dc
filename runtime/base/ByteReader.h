#pragma once
// Bounds-checked little-endian reading over borrowed bytes. Every parser of bytes from
// disk goes through this. Errors are sticky: after the first failed read every further
// read returns zero and ok() stays false, so a parser can read a whole record and check
// once. The reader keeps that first failure (where and why) as a ParseError; a reader
// told where its bytes sit in the file reports file offsets.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/base/ParseError.h"

namespace kro {

class ByteReader {
public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes, uint64_t baseOffset = 0) : bytes_(bytes), base_(baseOffset) {}

  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }
  uint64_t fileOffset() const { return base_ + offset_; }
  uint64_t baseOffset() const { return base_; }
  size_t size() const { return bytes_.size(); }
  size_t remaining() const { return ok() ? bytes_.size() - offset_ : 0; }

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
  // It reports offsets in the same file; a failed reader gives a failed one.
  ByteReader Sub(size_t offset, size_t sizeBytes) const;

  // Fails the reader at the current offset, or at `at` (an offset into its bytes), unless
  // it failed before: the first fault is the one worth reporting. Both return false.
  bool Fail(ParseCause cause, std::string message);
  bool FailAt(size_t at, ParseCause cause, std::string message);
  // The first failure; only when !ok().
  const ParseError& error() const { return error_; }
  // The first failure, its message led by `what` (the record that was being read).
  ParseError Error(std::string_view what) const;

private:
  bool Take(size_t sizeBytes, const uint8_t** out);

  std::span<const uint8_t> bytes_;
  uint64_t base_ = 0;
  size_t offset_ = 0;
  bool ok_ = true;
  ParseError error_;  // the first fault, once ok_ is false
};

// True when [offset, offset + sizeBytes) lies inside a buffer of `total` bytes, without
// overflowing on hostile values.
constexpr bool RangeFits(uint64_t offset, uint64_t sizeBytes, uint64_t total) {
  return offset <= total && sizeBytes <= total - offset;
}

}  // namespace kro
