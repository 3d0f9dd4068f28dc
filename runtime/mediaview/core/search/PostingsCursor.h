#pragma once
// Walks one term's postings: documents in ascending order, skipping whole blocks through the
// skip table and strides of a block through its stride table, and the positions of the
// current document on demand.
#include <array>
#include <cstdint>
#include <vector>

#include "runtime/mediaview/core/search/IndexLayout.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/Varint.h"

namespace kro::search {

class WorkMeter;

class PostingsCursor {
public:
  // False when the postings are damaged. `meter` (may be null) is ticked per decoded block.
  bool Open(const TermInfo& info, uint32_t topicCount, WorkMeter* meter);

  bool ok() const { return ok_; }
  uint32_t docCount() const { return docCount_; }
  // Appends every document of the term, ascending.
  bool DecodeAll(std::vector<uint32_t>* out);
  // Moves to the first document >= target (backwards too); false when there is none or the
  // postings are damaged (ok() tells).
  bool Seek(uint32_t target);
  uint32_t doc() const { return docs_[index_]; }
  // Replaces *out with the positions of the current document.
  bool Positions(std::vector<uint32_t>* out);

private:
  struct Block {
    uint32_t lastDoc;  // kUnknownLastDoc for a single block, which is always searched
    uint32_t firstPrevDoc;  // the document before the block's first one, plus one
    std::span<const uint8_t> docs;
    std::span<const uint8_t> positions;
  };
  static constexpr uint32_t kUnknownLastDoc = UINT32_MAX;
  static constexpr uint32_t kMaxStrides = layout::kDocsPerBlock / layout::kDocsPerStride;
  // Where a stride of the loaded block starts: the document before it plus one, and the
  // offsets of its document codes and positions.
  struct Stride {
    uint32_t firstPrevDoc;
    uint32_t docOffset;
    uint32_t posOffset;
  };

  bool Fail();
  uint32_t BlockCount(size_t block) const;   // documents in the block
  uint32_t StrideCount(uint32_t count) const;  // strides of a block of `count` documents
  bool LoadBlock(size_t block);
  bool ReadStrides();
  // Starts decoding the loaded block at stride s, past the documents before it.
  void EnterStride(uint32_t s);
  // Decodes the loaded block's documents until one >= target or the block's end: a probe
  // from a rarer word's topic decodes part of one stride, not half a block.
  bool DecodeUpTo(uint32_t target);

  std::vector<Block> blocks_;
  uint32_t docCount_ = 0;
  uint32_t topicCount_ = 0;
  WorkMeter* meter_ = nullptr;
  bool ok_ = false;
  bool strided_ = false;

  size_t block_ = SIZE_MAX;  // loaded block
  uint32_t count_ = 0;       // documents in it
  uint32_t first_ = 0;       // docs_ and freqs_ hold documents first_ to decoded_ - 1
  uint32_t decoded_ = 0;
  uint32_t index_ = 0;       // current document in it (first_ <= index_ < decoded_)
  std::span<const uint8_t> codes_;  // the block's document codes, after its stride table
  std::span<const uint8_t> strideTable_;
  uint32_t strideCount_ = 1;
  bool stridesRead_ = false;  // the table is read only when a probe wants it
  std::array<Stride, kMaxStrides> strides_{};
  VarintReader docReader_;
  uint64_t nextDoc_ = 0;     // the smallest document the next gap may reach
  std::array<uint32_t, layout::kDocsPerBlock> docs_{};
  std::array<uint32_t, layout::kDocsPerBlock> freqs_{};
  // Positions are read forward: the reader stands at the positions of document posIndex_.
  VarintReader posReader_;
  uint32_t posIndex_ = 0;
  uint32_t firstPosOffset_ = 0;  // of document first_
};

}  // namespace kro::search
