#pragma once
// Walks one term's postings: documents in ascending order, skipping whole blocks through the
// skip table, and the positions of the current document on demand.
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

  bool Fail();
  bool LoadBlock(size_t block);
  // Decodes the loaded block's documents until one >= target or the block's end: a probe
  // from a rarer word's topic decodes half a block on average, not all of it.
  bool DecodeUpTo(uint32_t target);

  std::vector<Block> blocks_;
  uint32_t docCount_ = 0;
  uint32_t topicCount_ = 0;
  WorkMeter* meter_ = nullptr;
  bool ok_ = false;

  size_t block_ = SIZE_MAX;  // loaded block
  uint32_t count_ = 0;       // documents in it
  uint32_t decoded_ = 0;     // of which docs_ and freqs_ hold the first ones
  uint32_t index_ = 0;       // current document in it (< decoded_)
  VarintReader docReader_;
  uint64_t nextDoc_ = 0;     // the smallest document the next gap may reach
  std::array<uint32_t, layout::kDocsPerBlock> docs_{};
  std::array<uint32_t, layout::kDocsPerBlock> freqs_{};
  // Positions are read forward: the reader stands at the positions of document posIndex_.
  VarintReader posReader_;
  uint32_t posIndex_ = 0;
};

}  // namespace kro::search
