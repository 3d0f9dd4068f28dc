#pragma once
// Splits cp1251 text into searchable words: runs of Russian and Latin letters and digits,
// case folded by the code page with Ё folded to Е. A hyphen separates words, so the parts
// of a hyphenated word sit at consecutive positions and the whole is found as a phrase.
#include <cstdint>
#include <string_view>

#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search {

// The folded form of a word character, or 0 for a byte that separates words.
uint8_t FoldWordChar(uint8_t byte);
// Soft hyphens may sit inside words; they are skipped, not word breaks.
inline constexpr uint8_t kSoftHyphen = 0xAD;

class Tokenizer {
public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  // Moves to the next word; false at the end of the text.
  bool Next();
  // The folded word, cut to kMaxTermBytes.
  std::string_view term() const { return {term_, termBytes_}; }
  // Where the word stands in the text (soft hyphens and the cut-off tail included).
  uint32_t offset() const { return offset_; }
  uint32_t length() const { return length_; }

private:
  std::string_view text_;
  size_t next_ = 0;
  uint32_t offset_ = 0;
  uint32_t length_ = 0;
  size_t termBytes_ = 0;
  char term_[kMaxTermBytes];
};

}  // namespace kro::search
