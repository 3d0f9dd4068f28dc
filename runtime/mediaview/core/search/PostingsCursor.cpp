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
  strided_ = info.strided;
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

uint32_t PostingsCursor::BlockCount(size_t block) const {
  return block + 1 == blocks_.size() ? docCount_ - static_cast<uint32_t>(block) * layout::kDocsPerBlock
                                     : layout::kDocsPerBlock;
}

uint32_t PostingsCursor::StrideCount(uint32_t count) const {
  return strided_ ? (count + layout::kDocsPerStride - 1) / layout::kDocsPerStride : 1;
}

bool PostingsCursor::LoadBlock(size_t block) {
  if (meter_) {
    meter_->Tick(layout::kDocsPerBlock);
    if (meter_->stopped()) return false;
  }
  const Block& b = blocks_[block];
  count_ = BlockCount(block);
  block_ = block;
  strideCount_ = StrideCount(count_);
  stridesRead_ = false;
  codes_ = b.docs;
  if (strideCount_ > 1) {
    VarintReader r(b.docs);
    strideTable_ = r.Bytes(r.U32());
    if (!r.ok()) return Fail();
    codes_ = b.docs.subspan(static_cast<size_t>(r.position() - b.docs.data()));
  }
  strides_[0] = {b.firstPrevDoc, 0, 0};
  EnterStride(0);
  return true;
}

bool PostingsCursor::ReadStrides() {
  stridesRead_ = true;
  const Block& b = blocks_[block_];
  VarintReader r(strideTable_);
  uint64_t firstPrevDoc = b.firstPrevDoc, docOffset = 0, posOffset = 0;
  for (uint32_t s = 1; s < strideCount_; ++s) {
    const uint64_t lastDoc = firstPrevDoc + r.U32();
    docOffset += r.U32();
    posOffset += r.U32();
    if (!r.ok() || lastDoc >= topicCount_ || (b.lastDoc != kUnknownLastDoc && lastDoc >= b.lastDoc) ||
        docOffset > codes_.size() || posOffset > b.positions.size())
      return Fail();
    firstPrevDoc = lastDoc + 1;
    strides_[s] = {static_cast<uint32_t>(firstPrevDoc), static_cast<uint32_t>(docOffset), static_cast<uint32_t>(posOffset)};
  }
  if (!r.AtEnd()) return Fail();
  return true;
}

void PostingsCursor::EnterStride(uint32_t s) {
  const Stride& stride = strides_[s];
  first_ = decoded_ = index_ = s * layout::kDocsPerStride;
  docReader_ = VarintReader(codes_.subspan(stride.docOffset));
  nextDoc_ = stride.firstPrevDoc;
  firstPosOffset_ = stride.posOffset;
  posReader_ = VarintReader(blocks_[block_].positions.subspan(stride.posOffset));
  posIndex_ = first_;
}

bool PostingsCursor::DecodeUpTo(uint32_t target) {
  // The innermost loop of most queries: its state lives in locals, which the stores into
  // docs_ and freqs_ cannot alias.
  VarintReader reader = docReader_;
  uint32_t n = decoded_;
  uint64_t next = nextDoc_;
  const uint32_t first = first_, count = count_;
  const uint64_t topics = topicCount_;
  const bool checkStrides = stridesRead_;
  bool sound = true;
  while (n < count && (n == first || docs_[n - 1] < target)) {
    // Decoding on into the next stride: it must start where its table entry says.
    if (checkStrides && n > first && n % layout::kDocsPerStride == 0) {
      const Stride& stride = strides_[n / layout::kDocsPerStride];
      if (next != stride.firstPrevDoc || reader.position() != codes_.data() + stride.docOffset) {
        sound = false;
        break;
      }
    }
    const uint32_t code = reader.U32();
    const uint32_t freq = (code & 1) ? 1 : reader.U32();
    const uint64_t doc = next + (code >> 1);
    if (freq == 0 || doc >= topics) {
      sound = false;
      break;
    }
    docs_[n] = static_cast<uint32_t>(doc);
    freqs_[n++] = freq;
    next = doc + 1;
  }
  docReader_ = reader;
  decoded_ = n;
  nextDoc_ = next;
  if (!sound || !reader.ok()) return Fail();
  if (n == count) {
    const uint32_t lastDoc = blocks_[block_].lastDoc;
    if (!reader.AtEnd() || (lastDoc != kUnknownLastDoc && docs_[count - 1] != lastDoc)) return Fail();
  }
  return true;
}

bool PostingsCursor::DecodeAll(std::vector<uint32_t>* out) {
  if (!ok_) return false;
  // Straight into the output, stepping over the stride tables: a list wanted whole needs
  // neither the block arrays nor the copy out of them that probing does.
  const size_t start = out->size();
  out->resize(start + docCount_);
  uint32_t* const begin = out->data() + start;
  uint32_t* to = begin;
  const auto stop = [&](bool damaged) {
    out->resize(start + static_cast<size_t>(to - begin));
    return damaged ? Fail() : false;
  };
  block_ = SIZE_MAX;  // the block arrays are left as they were, and no longer stand for a block
  const uint64_t topics = topicCount_;
  for (size_t b = 0; b < blocks_.size(); ++b) {
    if (meter_) {
      meter_->Tick(layout::kDocsPerBlock);
      if (meter_->stopped()) return stop(false);
    }
    const Block& block = blocks_[b];
    const uint32_t count = BlockCount(b);
    VarintReader reader(block.docs);
    if (StrideCount(count) > 1) reader.Bytes(reader.U32());
    uint64_t next = block.firstPrevDoc;
    uint32_t* const end = to + count;
    while (to < end) {
      const uint32_t code = reader.U32();
      const uint64_t doc = next + (code >> 1);
      if (((code & 1) == 0 && reader.U32() == 0) || doc >= topics) return stop(true);
      *to++ = static_cast<uint32_t>(doc);
      next = doc + 1;
    }
    if (!reader.ok() || !reader.AtEnd() || (block.lastDoc != kUnknownLastDoc && next - 1 != block.lastDoc))
      return stop(true);
  }
  return true;
}

bool PostingsCursor::Seek(uint32_t target) {
  if (!ok_) return false;
  if (block_ != SIZE_MAX && docs_[index_] == target) return true;  // phrases ask again for the same one
  // The loaded block holds the answer when the target is not past its last document.
  const bool inLoaded = block_ != SIZE_MAX && target >= blocks_[block_].firstPrevDoc &&
                        (blocks_.size() == 1 || target <= blocks_[block_].lastDoc);
  uint32_t from = index_;
  if (!inLoaded) {
    size_t b = 0;
    if (blocks_.size() > 1) {
      const auto it = std::lower_bound(blocks_.begin(), blocks_.end(), target,
                                       [](const Block& block, uint32_t t) { return block.lastDoc < t; });
      if (it == blocks_.end()) return false;
      b = static_cast<size_t>(it - blocks_.begin());
    }
    if (b != block_ && !LoadBlock(b)) return false;
    from = first_;
  }
  if (strideCount_ > 1) {
    if (!stridesRead_ && !ReadStrides()) return false;
    uint32_t s = strideCount_ - 1;
    while (s > 0 && strides_[s].firstPrevDoc > target) --s;
    const uint32_t start = s * layout::kDocsPerStride;
    if (start < first_ || start > decoded_) {
      EnterStride(s);
      from = first_;
    }
  }
  if (from >= decoded_ || target < docs_[from]) from = first_;
  if (!DecodeUpTo(target)) return false;
  uint32_t* found = std::lower_bound(docs_.data() + from, docs_.data() + decoded_, target);
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
  const auto positions = blocks_[block_].positions;
  if (strideCount_ > 1 && stridesRead_) {
    // Step over whole strides by their table instead of over their positions.
    const uint32_t s = index_ / layout::kDocsPerStride, start = s * layout::kDocsPerStride;
    if (start > posIndex_ || posIndex_ > index_) {
      posReader_ = VarintReader(positions.subspan(strides_[s].posOffset));
      posIndex_ = start;
    }
  }
  if (posIndex_ > index_) {
    posReader_ = VarintReader(positions.subspan(firstPosOffset_));
    posIndex_ = first_;
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
  uint32_t* list = out->data();
  uint64_t position = posReader_.U32();
  list[0] = static_cast<uint32_t>(position);
  for (uint32_t i = 1; i < freq; ++i) {
    const uint32_t delta = posReader_.U32();
    position += delta;
    if (delta == 0 || position > UINT32_MAX) return Fail();
    list[i] = static_cast<uint32_t>(position);
  }
  posIndex_ = index_ + 1;
  if (!posReader_.ok()) return Fail();
  // The next stride's positions must start where its table entry says.
  if (stridesRead_ && posIndex_ % layout::kDocsPerStride == 0 && posIndex_ < count_ &&
      posReader_.position() != positions.data() + strides_[posIndex_ / layout::kDocsPerStride].posOffset)
    return Fail();
  return true;
}

}  // namespace kro::search
