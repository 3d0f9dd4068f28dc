// Layout of the full-text index, version 3. Little-endian fixed-width fields; "varint" is
// an unsigned LEB128 integer of at most 32 bits unless said otherwise. Terms and stems are
// folded cp1251 words (see Tokenizer.h), 1..64 bytes, compared as unsigned bytes.
//
//   Index      := Header Section*          (sections in any order, found through the header)
//   Header     := magic[8] = "KROSRCH" 0x1A
//                 version u16 = 3          (1 and 2 are read too; others are refused)
//                 reserved u16 = 0
//                 topicCount u32           (topic numbers are < topicCount <= 2^24)
//                 termCount u32
//                 stemCount u32
//                 (offset u32, size u32) x 11 (x 7 in version 1, without the pair
//                 sections), one per section below in this order, offsets from the start
//   Topics     := headingWords u32 x topicCount
//                 body positions of topic t start at headingWords[t] + 16
//   StopWords  := count varint (<= 1024), then count x (length varint, bytes), ascending
//   TermIndex  := u32 x ceil(termCount / 32): offset of each block in Terms, ascending
//   Terms      := TermBlock*, 32 terms a block (the last may have fewer)
//   TermBlock  := postingsOffset varint   (of the block's first term, within Postings)
//                 TermEntry x 32
//   TermEntry  := shared varint            (bytes shared with the previous term; 0 first
//                                           in a block), suffixLength varint, suffix bytes,
//                 docCount varint (>= 1), postingsBytes varint
//                 A term's postings follow the previous term's in Postings.
//   StemIndex, Stems: as TermIndex and Terms, except a StemEntry is
//                 shared varint, suffixLength varint, suffix bytes,
//                 count varint (>= 1), first ordinal varint, (count - 1) x gap varint (>= 1)
//                 listing the ordinals of the terms with that stem; no postingsOffset.
//   Postings   := per term, n = docCount documents in B = ceil(n / 128) blocks:
//                 B = 1:  docBytes varint, DocBlock, PosBlock
//                 B > 1:  B x (lastDocGap varint, docBytes varint, posBytes varint),
//                         DocBlock x B, PosBlock x B
//                         (lastDocGap: last document of the block minus the previous
//                         block's; absolute for the first block)
//   DocBlock   := StrideTable when the block has more than 16 documents (none in
//                 versions 1 and 2), then per document: code varint = gap << 1 |
//                 (freq == 1), then freq varint (>= 2) when the low bit is 0; gap =
//                 document minus (previous document + 1), the previous one of the block
//                 before included
//   StrideTable := tableBytes varint, then for each stride of 16 documents but the last
//                 (S = ceil(documents / 16) strides): lastDocGap varint, docBytes
//                 varint, posBytes varint. lastDocGap: the stride's last document minus
//                 (the previous stride's last + 1), for the first stride minus (the
//                 previous block's last document + 1), or minus 0 in the first block;
//                 docBytes and posBytes: the bytes of the stride's codes in the DocBlock
//                 (after the table) and of its positions in the PosBlock. A stride's
//                 first gap counts from the previous stride's last document as usual.
//   PosBlock   := per document, freq varints: first position, then increments (>= 1)
//   PairWords  := count varint (<= 4096, <= termCount), then count x ordinal varint: the
//                 first absolute, then gaps (>= 1); the term ordinals of the pair words,
//                 ascending. A pair word's index is its place in this list.
//   PairIndex  := u32 x count: offset of each pair word's run in Pairs (the first 0, then
//                 strictly ascending; a run ends where the next starts)
//   Pairs      := per pair word w, a run of the pairs with w first:
//                 postingsOffset varint (of the run's first pair, within PairPostings),
//                 entries varint (<= count),
//                 entries x (second varint, docCount varint (>= 1), postingsBytes varint)
//                 second: the second word's index, the first absolute, then the index
//                 minus (the previous one + 1), so ascending. A pair's postings follow the
//                 previous pair's.
//   PairPostings := postings as above, one per pair, in pair order; their positions are
//                 those of the first word. Every place where two pair words stand side by
//                 side is in them, so a pair absent from Pairs never occurs.
//
// Positions count words from 0 in the heading; body positions start after the gap, so
// phrases and NEAR never join the two regions.
//
// Pair words: the terms in at least max(8, topicCount / 50) topics, at most the 4096 most
// frequent of them (IndexLayout.h).
//
// Change log: version 1, the first. Version 2 adds PairWords, PairIndex, Pairs and
// PairPostings; the other sections are as in version 1. Version 3 adds the StrideTable to
// the DocBlocks of every postings list, pairs' included; nothing else changes.
#include "runtime/mediaview/core/search/SearchIndex.h"

#include <algorithm>

#include "runtime/base/ByteReader.h"
#include "runtime/mediaview/core/search/IndexLayout.h"
#include "runtime/mediaview/core/search/PostingsCursor.h"
#include "runtime/mediaview/core/search/RussianStemmer.h"
#include "runtime/mediaview/core/search/Varint.h"

namespace kro::search {
namespace {

using layout::kTermsPerBlock;

uint32_t BlockCount(uint32_t entries) { return (entries + kTermsPerBlock - 1) / kTermsPerBlock; }

// Decodes the entries of one dictionary block (terms or stems) one at a time.
class DictBlockReader {
public:
  DictBlockReader(std::span<const uint8_t> blocks, uint32_t offset, bool hasPostings) {
    if (offset > blocks.size()) {
      r_ = VarintReader(blocks.subspan(blocks.size()));
      ok_ = false;
      return;
    }
    r_ = VarintReader(blocks.subspan(offset));
    if (hasPostings) postingsOffset_ = r_.U32();
  }

  // Reads the next entry's word; the caller then reads its payload with Payload*().
  bool NextWord(bool first) {
    const uint32_t shared = r_.U32();
    const uint32_t suffixLength = r_.U32();
    if (!r_.ok() || (first && shared != 0) || shared > word_.size() || suffixLength == 0 ||
        shared + suffixLength > kMaxTermBytes) {
      return Fail();
    }
    const auto suffix = r_.Bytes(suffixLength);
    if (!r_.ok()) return Fail();
    // The words share their first `shared` bytes, so they compare as the rest does.
    const std::string_view tail(reinterpret_cast<const char*>(suffix.data()), suffix.size());
    if (!first && !(tail > std::string_view(word_).substr(shared))) return Fail();
    word_.resize(shared);
    word_.append(tail);
    return true;
  }

  bool TermPayload(uint32_t* docCount, uint64_t* postingsOffset, uint32_t* postingsBytes) {
    *docCount = r_.U32();
    *postingsBytes = r_.U32();
    *postingsOffset = postingsOffset_;
    postingsOffset_ += *postingsBytes;
    return r_.ok() && *docCount > 0 ? true : Fail();
  }

  bool StemPayload(std::vector<uint32_t>* ordinals, uint32_t termCount) {
    const uint32_t count = r_.U32();
    if (!r_.ok() || count == 0 || count > termCount) return Fail();
    uint64_t ordinal = r_.U32();
    for (uint32_t i = 0; i < count; ++i) {
      if (i > 0) {
        const uint32_t gap = r_.U32();
        if (gap == 0) return Fail();
        ordinal += gap;
      }
      if (!r_.ok() || ordinal >= termCount) return Fail();
      if (ordinals) ordinals->push_back(static_cast<uint32_t>(ordinal));
    }
    return true;
  }

  const std::string& word() const { return word_; }
  bool ok() const { return ok_ && r_.ok(); }
  // Where the next entry starts (the end of the block's bytes once it failed).
  const uint8_t* position() const { return r_.position(); }

private:
  bool Fail() {
    ok_ = false;
    return false;
  }

  VarintReader r_;
  std::string word_;
  uint64_t postingsOffset_ = 0;
  bool ok_ = true;
};

uint32_t IndexEntry(std::span<const uint8_t> index, uint32_t block) {
  ByteReader r(index);
  r.Seek(size_t{block} * 4);
  return r.U32();
}

}  // namespace

Result<SearchIndex> SearchIndex::Open(std::span<const uint8_t> bytes) {
  SearchIndex index;
  index.bytes_ = bytes;
  if (auto fault = index.ReadTables()) return *std::move(fault);
  return index;
}

std::optional<ParseError> SearchIndex::ReadTables() {
  ByteReader r(bytes_);
  const auto magic = r.Bytes(layout::kMagic.size());
  if (!r.ok() || !std::equal(magic.begin(), magic.end(), layout::kMagic.begin()))
    return ParseError{0, ParseCause::BadMagic, "not a full-text index"};
  version_ = r.U16();
  r.U16();
  if (r.ok() && (version_ < layout::kFirstVersion || version_ > layout::kVersion))
    return ParseError{8, ParseCause::UnknownVersion,
                      "index version " + std::to_string(version_) + ", this runtime reads versions " +
                          std::to_string(layout::kFirstVersion) + " to " + std::to_string(layout::kVersion)};
  topicCount_ = r.U32();
  termCount_ = r.U32();
  stemCount_ = r.U32();
  for (size_t s = 0; s < layout::SectionCount(version_) && r.ok(); ++s) {
    const size_t at = r.offset();
    const uint32_t offset = r.U32();
    const uint32_t size = r.U32();
    if (r.ok() && !RangeFits(offset, size, bytes_.size()))
      return ParseError{at, ParseCause::OutOfLimits,
                        "section " + std::to_string(s) + " of " + std::to_string(size) + " bytes at " +
                            std::to_string(offset) + " runs past the end at " + std::to_string(bytes_.size())};
    sections_.push_back(bytes_.subspan(offset, size));
  }
  if (!r.ok()) return r.Error("index header");
  if (topicCount_ > layout::kMaxTopics)
    return ParseError{12, ParseCause::OutOfLimits,
                      std::to_string(topicCount_) + " topics, at most " + std::to_string(layout::kMaxTopics)};
  if (termCount_ < stemCount_)
    return ParseError{16, ParseCause::BadValue,
                      std::to_string(termCount_) + " terms, " + std::to_string(stemCount_) + " stems"};
  const struct {
    size_t section;
    uint64_t entries;
    const char* what;
  } kTables[] = {{layout::kTopics, topicCount_, "topic table"},
                 {layout::kTermIndex, BlockCount(termCount_), "term block index"},
                 {layout::kStemIndex, BlockCount(stemCount_), "stem block index"}};
  for (const auto& t : kTables)
    if (Section(t.section).size() != t.entries * 4)
      return ParseError{OffsetOf(Section(t.section).data()), ParseCause::BadValue,
                        std::string(t.what) + " is " + std::to_string(Section(t.section).size()) + " bytes for " +
                            std::to_string(t.entries) + " entries"};
  // The block indexes must be ascending for the binary searches to be sound.
  for (size_t s : {layout::kTermIndex, layout::kStemIndex}) {
    const auto index = Section(s);
    const size_t target = s == layout::kTermIndex ? layout::kTerms : layout::kStems;
    uint32_t previous = 0;
    for (uint32_t b = 0; b < index.size() / 4; ++b) {
      const uint32_t offset = IndexEntry(index, b);
      const uint64_t at = OffsetOf(index.data()) + uint64_t{b} * 4;
      if (offset >= Section(target).size())
        return ParseError{at, ParseCause::OutOfLimits,
                          "dictionary block " + std::to_string(b) + " starts past its section"};
      if ((b == 0 && offset != 0) || (b > 0 && offset <= previous))
        return ParseError{at, ParseCause::OutOfOrder, "dictionary block " + std::to_string(b) + " out of order"};
      previous = offset;
    }
  }
  const auto stopBytes = Section(layout::kStopWords);
  VarintReader stops(stopBytes);
  const uint32_t stopCount = stops.U32();
  if (stopCount > kMaxStopWords)
    return ParseError{OffsetOf(stopBytes.data()), ParseCause::OutOfLimits,
                      std::to_string(stopCount) + " stop words, at most " + std::to_string(kMaxStopWords)};
  for (uint32_t i = 0; i < stopCount; ++i) {
    const uint64_t at = OffsetOf(stops.position());
    const uint32_t length = stops.U32();
    const auto word = stops.Bytes(length);
    if (!stops.ok()) return ParseError{at, ParseCause::Truncated, "stop word " + std::to_string(i)};
    if (length == 0 || length > kMaxTermBytes)
      return ParseError{at, ParseCause::BadValue,
                        "stop word " + std::to_string(i) + " of " + std::to_string(length) + " bytes"};
    stopWords_.emplace_back(reinterpret_cast<const char*>(word.data()), word.size());
    if (i > 0 && !(stopWords_[i - 1] < stopWords_[i]))
      return ParseError{at, ParseCause::OutOfOrder, "stop word " + std::to_string(i)};
  }
  if (!stops.ok()) return ParseError{OffsetOf(stopBytes.data()), ParseCause::Truncated, "stop word count"};
  if (!stops.AtEnd())
    return ParseError{OffsetOf(stops.position()), ParseCause::BadValue, "bytes after the last stop word"};
  return ReadPairWords();
}

std::optional<ParseError> SearchIndex::ReadPairWords() {
  const auto bytes = Section(layout::kPairWords);
  if (version_ == 1) return std::nullopt;
  VarintReader r(bytes);
  const uint32_t count = r.U32();
  if (!r.ok() || count > layout::kMaxPairWords || count > termCount_)
    return ParseError{OffsetOf(bytes.data()), ParseCause::OutOfLimits, std::to_string(count) + " pair words"};
  uint64_t ordinal = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = OffsetOf(r.position());
    const uint32_t gap = r.U32();
    ordinal += gap;
    if (!r.ok() || (i > 0 && gap == 0) || ordinal >= termCount_)
      return ParseError{at, ParseCause::BadValue, "pair word " + std::to_string(i)};
    pairWords_.push_back(static_cast<uint32_t>(ordinal));
  }
  if (!r.AtEnd()) return ParseError{OffsetOf(r.position()), ParseCause::BadValue, "bytes after the last pair word"};
  const auto index = Section(layout::kPairIndex);
  if (index.size() != uint64_t{count} * 4)
    return ParseError{OffsetOf(index.data()), ParseCause::BadValue,
                      "pair index is " + std::to_string(index.size()) + " bytes for " + std::to_string(count) + " words"};
  // Each run holds at least its two counts, so the runs start strictly ascending.
  for (uint32_t w = 0; w < count; ++w) {
    const uint32_t offset = IndexEntry(index, w);
    const uint64_t at = OffsetOf(index.data()) + uint64_t{w} * 4;
    if ((w == 0 && offset != 0) || (w > 0 && offset <= IndexEntry(index, w - 1)) ||
        offset >= Section(layout::kPairs).size())
      return ParseError{at, ParseCause::OutOfOrder, "pair run " + std::to_string(w)};
  }
  return std::nullopt;
}

int32_t SearchIndex::PairWord(uint32_t ordinal) const {
  const auto it = std::lower_bound(pairWords_.begin(), pairWords_.end(), ordinal);
  return it != pairWords_.end() && *it == ordinal ? static_cast<int32_t>(it - pairWords_.begin()) : -1;
}

std::span<const uint8_t> SearchIndex::PairRun(uint32_t first) const {
  const auto index = Section(layout::kPairIndex);
  const auto pairs = Section(layout::kPairs);
  const uint32_t start = IndexEntry(index, first);
  const uint32_t end = first + 1 < pairWords_.size() ? IndexEntry(index, first + 1) : static_cast<uint32_t>(pairs.size());
  return pairs.subspan(start, end - start);
}

namespace {

// Reads the entries of one pair run: the pairs of one first word, by second word.
class PairRunReader {
public:
  PairRunReader(std::span<const uint8_t> run, uint32_t wordCount) : r_(run), wordCount_(wordCount) {
    postingsOffset_ = r_.U32();
    left_ = r_.U32();
    if (left_ > wordCount_) left_ = 0, ok_ = false;
  }

  // The next pair of the run; false at its end or on damage (ok() tells).
  bool Next(uint32_t* second, uint32_t* docCount, uint64_t* postingsOffset, uint32_t* postingsBytes) {
    if (!ok() || left_ == 0) return false;
    --left_;
    next_ += r_.U32();
    *second = static_cast<uint32_t>(next_);
    *docCount = r_.U32();
    *postingsBytes = r_.U32();
    *postingsOffset = postingsOffset_;
    postingsOffset_ += *postingsBytes;
    ++next_;
    if (!r_.ok() || *docCount == 0 || *second >= wordCount_) ok_ = false;
    return ok();
  }

  bool ok() const { return ok_ && r_.ok(); }
  bool AtEnd() const { return left_ == 0 && r_.AtEnd(); }

private:
  VarintReader r_;
  uint32_t wordCount_;
  uint64_t postingsOffset_ = 0;
  uint32_t left_ = 0;
  uint64_t next_ = 0;
  bool ok_ = true;
};

}  // namespace

bool SearchIndex::FindPair(uint32_t first, uint32_t second, TermInfo* info, bool* found) const {
  *found = false;
  if (first >= pairWords_.size()) return true;
  PairRunReader run(PairRun(first), static_cast<uint32_t>(pairWords_.size()));
  uint32_t at, docCount, postingsBytes;
  uint64_t postingsOffset;
  while (run.Next(&at, &docCount, &postingsOffset, &postingsBytes) && at <= second) {
    if (at < second) continue;
    const auto postings = Section(layout::kPairPostings);
    if (!RangeFits(postingsOffset, postingsBytes, postings.size())) return false;
    *info = {UINT32_MAX, docCount, postings.subspan(postingsOffset, postingsBytes), strided()};
    *found = true;
    return true;
  }
  return run.ok();
}

SearchError OpenErrorWord(const ParseError& error) {
  return error.cause == ParseCause::BadMagic || error.cause == ParseCause::UnknownVersion ? SearchError::IndexVersion
                                                                                          : SearchError::IndexDamaged;
}

bool SearchIndex::strided() const { return version_ >= layout::kFirstStridedVersion; }

std::span<const uint8_t> SearchIndex::Section(size_t index) const {
  return index < sections_.size() ? sections_[index] : std::span<const uint8_t>();
}

bool SearchIndex::IsStopWord(std::string_view folded) const {
  return std::binary_search(stopWords_.begin(), stopWords_.end(), folded);
}

uint32_t SearchIndex::HeadingWords(uint32_t topic) const {
  if (topic >= topicCount_) return 0;
  ByteReader r(Section(layout::kTopics));
  r.Seek(size_t{topic} * 4);
  return r.U32();
}

uint32_t SearchIndex::BodyBase(uint32_t topic) const {
  return std::min<uint32_t>(HeadingWords(topic), kMaxRegionWords) + layout::kRegionGap;
}

// The last block whose first word is <= key, or -1 when key precedes every word.
int64_t SearchIndex::FindBlock(std::span<const uint8_t> blocks, std::span<const uint8_t> index,
                               uint32_t blockCount, std::string_view key, bool terms, bool* ok) const {
  int64_t low = 0, high = static_cast<int64_t>(blockCount) - 1, found = -1;
  while (low <= high) {
    const int64_t mid = (low + high) / 2;
    DictBlockReader reader(blocks, IndexEntry(index, static_cast<uint32_t>(mid)), terms);
    if (!reader.NextWord(true)) {
      *ok = false;
      return -1;
    }
    if (std::string_view(reader.word()) <= key) {
      found = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return found;
}

bool SearchIndex::FindTerm(std::string_view term, TermInfo* info, bool* found) const {
  *found = false;
  bool ok = true;
  const auto blocks = Section(layout::kTerms);
  const int64_t block = FindBlock(blocks, Section(layout::kTermIndex), BlockCount(termCount_), term, true, &ok);
  if (!ok) return false;
  if (block < 0) return true;
  DictBlockReader reader(blocks, IndexEntry(Section(layout::kTermIndex), static_cast<uint32_t>(block)), true);
  const uint32_t firstOrdinal = static_cast<uint32_t>(block) * kTermsPerBlock;
  const uint32_t entries = std::min(kTermsPerBlock, termCount_ - firstOrdinal);
  for (uint32_t i = 0; i < entries; ++i) {
    uint32_t docCount, postingsBytes;
    uint64_t postingsOffset;
    if (!reader.NextWord(i == 0) || !reader.TermPayload(&docCount, &postingsOffset, &postingsBytes)) return false;
    if (reader.word() < term) continue;
    if (reader.word() != term) return true;
    const auto postings = Section(layout::kPostings);
    if (!RangeFits(postingsOffset, postingsBytes, postings.size())) return false;
    *info = {firstOrdinal + i, docCount, postings.subspan(postingsOffset, postingsBytes), strided()};
    *found = true;
    return true;
  }
  return true;
}

bool SearchIndex::TermAt(uint32_t ordinal, TermInfo* info, std::string* text) const {
  if (ordinal >= termCount_) return false;
  const uint32_t block = ordinal / kTermsPerBlock;
  DictBlockReader reader(Section(layout::kTerms), IndexEntry(Section(layout::kTermIndex), block), true);
  for (uint32_t i = 0; i <= ordinal % kTermsPerBlock; ++i) {
    uint32_t docCount, postingsBytes;
    uint64_t postingsOffset;
    if (!reader.NextWord(i == 0) || !reader.TermPayload(&docCount, &postingsOffset, &postingsBytes)) return false;
    if (i == ordinal % kTermsPerBlock) {
      const auto postings = Section(layout::kPostings);
      if (!RangeFits(postingsOffset, postingsBytes, postings.size())) return false;
      *info = {ordinal, docCount, postings.subspan(postingsOffset, postingsBytes), strided()};
      if (text) *text = reader.word();
    }
  }
  return true;
}

bool SearchIndex::VisitTerms(std::string_view from, const TermVisitor& visit) const {
  bool ok = true;
  const auto blocks = Section(layout::kTerms);
  const auto index = Section(layout::kTermIndex);
  const uint32_t blockCount = BlockCount(termCount_);
  const int64_t start = FindBlock(blocks, index, blockCount, from, true, &ok);
  if (!ok) return false;
  const auto postings = Section(layout::kPostings);
  for (uint32_t block = static_cast<uint32_t>(std::max<int64_t>(start, 0)); block < blockCount; ++block) {
    DictBlockReader reader(blocks, IndexEntry(index, block), true);
    const uint32_t firstOrdinal = block * kTermsPerBlock;
    const uint32_t entries = std::min(kTermsPerBlock, termCount_ - firstOrdinal);
    for (uint32_t i = 0; i < entries; ++i) {
      uint32_t docCount, postingsBytes;
      uint64_t postingsOffset;
      if (!reader.NextWord(i == 0) || !reader.TermPayload(&docCount, &postingsOffset, &postingsBytes)) return false;
      if (reader.word() < from) continue;
      if (!RangeFits(postingsOffset, postingsBytes, postings.size())) return false;
      if (!visit(reader.word(), {firstOrdinal + i, docCount, postings.subspan(postingsOffset, postingsBytes), strided()})) {
        return true;
      }
    }
  }
  return true;
}

bool SearchIndex::TermsOfStem(std::string_view stem, std::vector<uint32_t>* ordinals) const {
  ordinals->clear();
  bool ok = true;
  const auto blocks = Section(layout::kStems);
  const auto index = Section(layout::kStemIndex);
  const int64_t block = FindBlock(blocks, index, BlockCount(stemCount_), stem, false, &ok);
  if (!ok) return false;
  if (block < 0) return true;
  DictBlockReader reader(blocks, IndexEntry(index, static_cast<uint32_t>(block)), false);
  const uint32_t entries = std::min(kTermsPerBlock, stemCount_ - static_cast<uint32_t>(block) * kTermsPerBlock);
  for (uint32_t i = 0; i < entries; ++i) {
    if (!reader.NextWord(i == 0)) return false;
    const bool match = reader.word() == stem;
    if (!reader.StemPayload(match ? ordinals : nullptr, termCount_)) return false;
    if (match || stem < reader.word()) return true;
  }
  return true;
}

bool SearchIndex::VerifyPostings(const TermInfo& info) const {
  PostingsCursor cursor;
  if (!cursor.Open(info, topicCount_, nullptr)) return false;
  std::vector<uint32_t> docs, positions;
  if (!cursor.DecodeAll(&docs)) return false;
  for (uint32_t doc : docs) {
    if (!cursor.Seek(doc) || cursor.doc() != doc || !cursor.Positions(&positions)) return false;
  }
  return true;
}

std::optional<ParseError> SearchIndex::Verify() const {
  std::string previousTerm;
  uint64_t expectedOffset = 0;
  const auto postings = Section(layout::kPostings);
  for (uint32_t block = 0; block < BlockCount(termCount_); ++block) {
    DictBlockReader reader(Section(layout::kTerms), IndexEntry(Section(layout::kTermIndex), block), true);
    const uint32_t entries = std::min(kTermsPerBlock, termCount_ - block * kTermsPerBlock);
    for (uint32_t i = 0; i < entries; ++i) {
      const uint32_t ordinal = block * kTermsPerBlock + i;
      const uint64_t at = OffsetOf(reader.position());
      uint32_t docCount, postingsBytes;
      uint64_t postingsOffset;
      if (!reader.NextWord(i == 0) || !reader.TermPayload(&docCount, &postingsOffset, &postingsBytes))
        return ParseError{at, ParseCause::BadValue, "term " + std::to_string(ordinal)};
      if (ordinal > 0 && !(previousTerm < reader.word()))
        return ParseError{at, ParseCause::OutOfOrder, "term " + std::to_string(ordinal)};
      if (postingsOffset != expectedOffset || !RangeFits(postingsOffset, postingsBytes, postings.size()))
        return ParseError{at, ParseCause::OutOfLimits, "postings of term " + std::to_string(ordinal)};
      if (!VerifyPostings({ordinal, docCount, postings.subspan(postingsOffset, postingsBytes), strided()}))
        return ParseError{OffsetOf(postings.data()) + postingsOffset, ParseCause::BadValue,
                          "postings of term " + std::to_string(ordinal)};
      previousTerm = reader.word();
      expectedOffset = postingsOffset + postingsBytes;
    }
  }
  if (auto fault = VerifyPairs()) return fault;
  std::string previousStem;
  for (uint32_t block = 0; block < BlockCount(stemCount_); ++block) {
    DictBlockReader reader(Section(layout::kStems), IndexEntry(Section(layout::kStemIndex), block), false);
    const uint32_t entries = std::min(kTermsPerBlock, stemCount_ - block * kTermsPerBlock);
    for (uint32_t i = 0; i < entries; ++i) {
      const uint32_t ordinal = block * kTermsPerBlock + i;
      const uint64_t at = OffsetOf(reader.position());
      if (!reader.NextWord(i == 0) || !reader.StemPayload(nullptr, termCount_))
        return ParseError{at, ParseCause::BadValue, "stem " + std::to_string(ordinal)};
      if (ordinal > 0 && !(previousStem < reader.word()))
        return ParseError{at, ParseCause::OutOfOrder, "stem " + std::to_string(ordinal)};
      previousStem = reader.word();
    }
  }
  return std::nullopt;
}

std::optional<ParseError> SearchIndex::VerifyPairs() const {
  const auto postings = Section(layout::kPairPostings);
  uint64_t expectedOffset = 0;
  for (uint32_t first = 0; first < pairWords_.size(); ++first) {
    const auto bytes = PairRun(first);
    const uint64_t at = OffsetOf(bytes.data());
    PairRunReader run(bytes, static_cast<uint32_t>(pairWords_.size()));
    uint32_t second, docCount, postingsBytes;
    uint64_t postingsOffset;
    while (run.Next(&second, &docCount, &postingsOffset, &postingsBytes)) {
      if (postingsOffset != expectedOffset || !RangeFits(postingsOffset, postingsBytes, postings.size()))
        return ParseError{at, ParseCause::OutOfLimits, "postings of the pairs of pair word " + std::to_string(first)};
      if (!VerifyPostings({UINT32_MAX, docCount, postings.subspan(postingsOffset, postingsBytes), strided()}))
        return ParseError{OffsetOf(postings.data()) + postingsOffset, ParseCause::BadValue,
                          "postings of a pair of pair word " + std::to_string(first)};
      expectedOffset = postingsOffset + postingsBytes;
    }
    if (!run.ok() || !run.AtEnd())
      return ParseError{at, ParseCause::BadValue, "pairs of pair word " + std::to_string(first)};
  }
  if (expectedOffset != postings.size())
    return ParseError{OffsetOf(postings.data()) + expectedOffset, ParseCause::BadValue, "bytes after the last pair"};
  return std::nullopt;
}

}  // namespace kro::search
