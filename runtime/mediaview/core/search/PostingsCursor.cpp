#include "runtime/mediaview/core/search/PostingsCursor.h"

#include <algorithm>

#include "runtime/mediaview/core/search/WorkMeter.h"

namespace kro::search {

bool PostingsCursor::Fail() {
  ok_ = false;
  return false;
}

bool PostingsCursor::Open(const TermInfo& info, uint32_t topicCount, WorkMeter* meter) {
  ok_ = true;
  meter_ = meter;
  topicCount_ = topicCount;
  docCount_ = info.docCount;
  block_ = SIZE_MAX;
  blocks_.clear();
  if (docCount_ == 0 || docCount_ > topicCount) return Fail();
  const size_t blockCount = (docCount_ + layout::kDocsPerBlock - 1) / layout::kDocsPerBlock;
  VarintReader r(info.postings);
  if (blockCount == 1) {
    const uint32_t docBytes = r.U32();
    const auto docs = r.Bytes(docBytes);
    const auto positions = r.Bytes(info.postings.size() - (r.position() - info.postings.data()));
    if (!r.ok()) return Fail();
    blocks_.push_back({kUnknownLastDoc, 0, docs, positions});
    return true;
  }
  // Each skip entry takes at least three bytes: refuse counts the bytes cannot hold before
  // sizing anything by them.
  if (blockCount > info.postings.size() / 3) return Fail();
  struct Sizes {
    uint32_t docs, positions;
  };
  std::vector<Sizes> sizes(blockCount);
  blocks_.resize(blockCount);
  uint64_t lastDoc = 0;
  for (size_t b = 0; b < blockCount; ++b) {
    const uint32_t gap = r.U32();
    if (b > 0 && gap == 0) return Fail();
    lastDoc += gap;
    if (lastDoc >= topicCount) return Fail();
    blocks_[b].lastDoc = static_cast<uint32_t>(lastDoc);
    blocks_[b].firstPrevDoc = b == 0 ? 0 : blocks_[b - 1].lastDoc + 1;
    sizes[b] = {r.U32(), r.U32()};
  }
  for (size_t b = 0; b < blockCount; ++b) blocks_[b].docs = r.Bytes(sizes[b].docs);
  for (size_t b = 0; b < blockCount; ++b) blocks_[b].positions = r.Bytes(sizes[b].positions);
  if (!r.ok() || !r.AtEnd()) return Fail();
  return true;
}

bool PostingsCursor::LoadBlock(size_t block) {
  if (meter_) {
    meter_->Tick(layout::kDocsPerBlock);
    if (meter_->stopped()) return false;
  }
  const Block& b = blocks_[block];
  const bool last = block + 1 == blocks_.size();
  count_ = last ? docCount_ - static_cast<uint32_t>(block) * layout::kDocsPerBlock : layout::kDocsPerBlock;
  docReader_ = VarintReader(b.docs);
  nextDoc_ = b.firstPrevDoc;
  decoded_ = 0;
  block_ = block;
  index_ = 0;
  posReader_ = VarintReader(b.positions);
  posIndex_ = 0;
  return DecodeUpTo(0);
}

bool PostingsCursor::DecodeUpTo(uint32_t target) {
  while (decoded_ < count_ && (decoded_ == 0 || docs_[decoded_ - 1] < target)) {
    const uint32_t code = docReader_.U32();
    const uint32_t freq = (code & 1) ? 1 : docReader_.U32();
    const uint64_t doc = nextDoc_ + (code >> 1);
    if (freq == 0 || doc >= topicCount_) return Fail();
    docs_[decoded_] = static_cast<uint32_t>(doc);
    freqs_[decoded_++] = freq;
    nextDoc_ = doc + 1;
  }
  if (!docReader_.ok()) return Fail();
  if (decoded_ == count_) {
    const uint32_t lastDoc = blocks_[block_].lastDoc;
    if (!docReader_.AtEnd() || (lastDoc != kUnknownLastDoc && docs_[count_ - 1] != lastDoc)) return Fail();
  }
  return true;
}

bool PostingsCursor::DecodeAll(std::vector<uint32_t>* out) {
  if (!ok_) return false;
  out->reserve(out->size() + docCount_);
  for (size_t b = 0; b < blocks_.size(); ++b) {
    if (!LoadBlock(b) || !DecodeUpTo(UINT32_MAX)) return false;
    out->insert(out->end(), docs_.begin(), docs_.begin() + count_);
  }
  return true;
}

bool PostingsCursor::Seek(uint32_t target) {
  if (!ok_) return false;
  if (block_ != SIZE_MAX && docs_[index_] == target) return true;  // phrases ask again for the same one
  // The loaded block holds the answer when the target is not past its last document.
  const bool inLoaded = block_ != SIZE_MAX && target >= blocks_[block_].firstPrevDoc &&
                        (blocks_.size() == 1 || target <= blocks_[block_].lastDoc);
  if (!inLoaded) {
    size_t b = 0;
    if (blocks_.size() > 1) {
      const auto it = std::lower_bound(blocks_.begin(), blocks_.end(), target,
                                       [](const Block& block, uint32_t t) { return block.lastDoc < t; });
      if (it == blocks_.end()) return false;
      b = static_cast<size_t>(it - blocks_.begin());
    }
    if (b != block_ && !LoadBlock(b)) return false;
    index_ = 0;
  } else if (target < docs_[index_]) {
    index_ = 0;
  }
  if (!DecodeUpTo(target)) return false;
  uint32_t* begin = docs_.data() + index_;
  uint32_t* found = std::lower_bound(begin, docs_.data() + decoded_, target);
  if (found == docs_.data() + decoded_) {
    index_ = decoded_ - 1;
    return false;
  }
  index_ = static_cast<uint32_t>(found - docs_.data());
  return true;
}

bool PostingsCursor::Positions(std::vector<uint32_t>* out) {
  out->clear();
  if (!ok_ || block_ == SIZE_MAX) return false;
  if (posIndex_ > index_) {
    posReader_ = VarintReader(blocks_[block_].positions);
    posIndex_ = 0;
  }
  size_t skip = 0;
  for (uint32_t i = posIndex_; i < index_; ++i) skip += freqs_[i];
  posReader_.SkipVarints(skip);
  const uint32_t freq = freqs_[index_];
  // Every position takes at least a byte: a damaged count beyond the block's bytes must not
  // size the vector (a few bytes of index could otherwise ask for gigabytes).
  const std::span<const uint8_t> bytes = blocks_[block_].positions;
  if (freq > static_cast<size_t>(bytes.data() + bytes.size() - posReader_.position())) return Fail();
  out->resize(freq);
  uint32_t* positions = out->data();
  uint64_t position = posReader_.U32();
  positions[0] = static_cast<uint32_t>(position);
  for (uint32_t i = 1; i < freq; ++i) {
    const uint32_t delta = posReader_.U32();
    position += delta;
    if (delta == 0 || position > UINT32_MAX) return Fail();
    positions[i] = static_cast<uint32_t>(position);
  }
  posIndex_ = index_ + 1;
  if (!posReader_.ok()) return Fail();
  return true;
}

}  // namespace kro::search
