#include "runtime/mediaview/core/search/Tokenizer.h"

#include <array>

#include "runtime/base/Cp1251.h"

namespace kro::search {
namespace {

constexpr uint8_t kSmallYo = 0xB8;
constexpr uint8_t kSmallIe = 0xE5;

std::array<uint8_t, 256> MakeFoldTable() {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<uint8_t>(b);
    if (byte >= '0' && byte <= '9') table[b] = byte;
    else if (Cp1251IsLetter(byte)) table[b] = Cp1251Lower(byte);
  }
  table[0xA8] = kSmallIe;  // Ё
  table[kSmallYo] = kSmallIe;
  return table;
}

const std::array<uint8_t, 256>& FoldTable() {
  static const std::array<uint8_t, 256> table = MakeFoldTable();
  return table;
}

}  // namespace

uint8_t FoldWordChar(uint8_t byte) { return FoldTable()[byte]; }

bool Tokenizer::Next() {
  const auto& fold = FoldTable();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text_.data());
  const size_t size = text_.size();
  size_t i = next_;
  while (i < size && fold[bytes[i]] == 0) ++i;
  if (i == size) {
    next_ = size;
    return false;
  }
  offset_ = static_cast<uint32_t>(i);
  termBytes_ = 0;
  for (; i < size; ++i) {
    const uint8_t folded = fold[bytes[i]];
    if (folded != 0) {
      if (termBytes_ < kMaxTermBytes) term_[termBytes_++] = static_cast<char>(folded);
    } else if (bytes[i] != kSoftHyphen || i + 1 == size || fold[bytes[i + 1]] == 0) {
      break;
    }
  }
  length_ = static_cast<uint32_t>(i - offset_);
  next_ = i;
  return true;
}

}  // namespace kro::search
