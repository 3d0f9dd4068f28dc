#include "runtime/base/ByteReader.h"

#include <algorithm>

namespace kro {

bool ByteReader::Take(size_t sizeBytes, const uint8_t** out) {
  if (!ok()) return false;
  if (!RangeFits(offset_, sizeBytes, bytes_.size()))
    return Fail(ParseCause::Truncated,
                "needs " + std::to_string(sizeBytes) + " bytes, " + std::to_string(bytes_.size() - offset_) + " left");
  *out = bytes_.data() + offset_;
  offset_ += sizeBytes;
  return true;
}

uint8_t ByteReader::U8() {
  const uint8_t* p;
  return Take(1, &p) ? p[0] : 0;
}

uint16_t ByteReader::U16() {
  const uint8_t* p;
  return Take(2, &p) ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0;
}

uint32_t ByteReader::U32() {
  const uint8_t* p;
  if (!Take(4, &p)) return 0;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint64_t ByteReader::U64() {
  const uint64_t low = U32();
  const uint64_t high = U32();
  return low | high << 32;
}

uint16_t ByteReader::U16BE() {
  const uint8_t* p;
  return Take(2, &p) ? static_cast<uint16_t>(p[0] << 8 | p[1]) : 0;
}

uint32_t ByteReader::U32BE() {
  const uint8_t* p;
  if (!Take(4, &p)) return 0;
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

uint64_t ByteReader::U64BE() {
  const uint64_t high = U32BE();
  const uint64_t low = U32BE();
  return high << 32 | low;
}

std::span<const uint8_t> ByteReader::Bytes(size_t sizeBytes) {
  const uint8_t* p;
  if (!Take(sizeBytes, &p)) return {};
  return {p, sizeBytes};
}

std::string_view ByteReader::Text(size_t sizeBytes) {
  const auto bytes = Bytes(sizeBytes);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void ByteReader::Seek(size_t offset) {
  if (!ok()) return;
  if (offset > bytes_.size()) {
    Fail(ParseCause::OutOfLimits,
         "seek to " + std::to_string(base_ + offset) + " past the end at " + std::to_string(base_ + bytes_.size()));
    return;
  }
  offset_ = offset;
}

ByteReader ByteReader::Sub(size_t offset, size_t sizeBytes) const {
  ByteReader sub;
  sub.base_ = base_ + std::min(offset, bytes_.size());
  if (!ok()) {
    sub.ok_ = false;
    sub.error_ = error_;
  } else if (!RangeFits(offset, sizeBytes, bytes_.size())) {
    sub.FailAt(0, ParseCause::OutOfLimits,
               std::to_string(sizeBytes) + " bytes at " + std::to_string(base_ + offset) + " run past the end at " +
                   std::to_string(base_ + bytes_.size()));
  } else {
    sub.bytes_ = bytes_.subspan(offset, sizeBytes);
  }
  return sub;
}

bool ByteReader::Fail(ParseCause cause, std::string message) { return FailAt(offset_, cause, std::move(message)); }

bool ByteReader::FailAt(size_t at, ParseCause cause, std::string message) {
  if (ok_) {
    ok_ = false;
    error_ = ParseError{base_ + at, cause, std::move(message)};
  }
  return false;
}

ParseError ByteReader::Error(std::string_view what) const {
  ParseError error = error_;
  error.message = error.message.empty() ? std::string(what) : std::string(what) + ": " + error.message;
  return error;
}

}  // namespace kro
