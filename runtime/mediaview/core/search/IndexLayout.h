#pragma once
// Constants of the index layout shared by the writer and the reader (grammar in
// SearchIndex.cpp).
#include <array>
#include <cstddef>
#include <cstdint>

#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search::layout {

inline constexpr std::array<uint8_t, 8> kMagic = {'K', 'R', 'O', 'S', 'R', 'C', 'H', 0x1A};
// The version written; version 1 (no pair sections) and 2 (no strides in the postings
// blocks) are still read.
inline constexpr uint16_t kVersion = 3;
inline constexpr uint16_t kFirstVersion = 1;
inline constexpr uint16_t kFirstStridedVersion = 3;

enum Section : size_t {
  kTopics, kStopWords, kTermIndex, kTerms, kStemIndex, kStems, kPostings,
  kPairWords, kPairIndex, kPairs, kPairPostings,  // from version 2 on
  kSectionCount
};
inline constexpr size_t kFirstVersionSections = kPairWords;
inline constexpr size_t SectionCount(uint16_t version) { return version == 1 ? kFirstVersionSections : kSectionCount; }
inline constexpr size_t HeaderBytes(uint16_t version) { return 8 + 2 + 2 + 4 * 3 + SectionCount(version) * 8; }

// Terms and stems per dictionary block: a lookup binary-searches the block index, then
// decodes at most this many prefix-compressed entries.
inline constexpr uint32_t kTermsPerBlock = 32;
// Documents per postings block: the unit of skipping and of decoding.
inline constexpr uint32_t kDocsPerBlock = 128;
// Documents per stride: from version 3 a block of more documents starts with a table of its
// strides, so that a probe decodes the documents and steps over the positions of one
// stride, not of half a block.
inline constexpr uint32_t kDocsPerStride = 16;
// Body positions start this far after the heading's last word, so that neither phrases nor
// NEAR reach from one region into the other.
inline constexpr uint32_t kRegionGap = kNearDistance + 8;
// Topic numbers an index may hold (the limit keeps every table a reader sizes from the
// header small enough to allocate on a 32-bit system).
inline constexpr uint32_t kMaxTopics = 1u << 24;
// Pair words: the most frequent terms, whose adjacent pairs get postings of their own so
// that a phrase of common words is answered without reading positions. A term qualifies
// when at least 1/kPairWordShare of the topics hold it (and at least kPairWordMinDocs);
// the kMaxPairWords most frequent ones are kept.
inline constexpr uint32_t kPairWordShare = 50;
inline constexpr uint32_t kPairWordMinDocs = 8;
inline constexpr uint32_t kMaxPairWords = 4096;

}  // namespace kro::search::layout
