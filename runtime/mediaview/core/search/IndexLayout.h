#pragma once
// Constants of the index layout shared by the writer and the reader (grammar in
// SearchIndex.cpp).
#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search::layout {

inline constexpr std::array<uint8_t, 8> kMagic = {'K', 'R', 'O', 'S', 'R', 'C', 'H', 0x1A};
inline constexpr uint16_t kVersion = 1;

enum Section : size_t { kTopics, kStopWords, kTermIndex, kTerms, kStemIndex, kStems, kPostings, kSectionCount };
inline constexpr size_t kHeaderBytes = 8 + 2 + 2 + 4 * 3 + kSectionCount * 8;

// Terms and stems per dictionary block: a lookup binary-searches the block index, then
// decodes at most this many prefix-compressed entries.
inline constexpr uint32_t kTermsPerBlock = 32;
// Documents per postings block: the unit of skipping and of decoding.
inline constexpr uint32_t kDocsPerBlock = 128;
// Body positions start this far after the heading's last word, so that neither phrases nor
// NEAR reach from one region into the other.
inline constexpr uint32_t kRegionGap = kNearDistance + 8;
// Topic numbers an index may hold (the limit keeps every table a reader sizes from the
// header small enough to allocate on a 32-bit system).
inline constexpr uint32_t kMaxTopics = 1u << 24;

}  // namespace kro::search::layout
