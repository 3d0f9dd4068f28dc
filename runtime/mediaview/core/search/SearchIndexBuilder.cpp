#include "runtime/mediaview/core/search/SearchIndexBuilder.h"

#include <algorithm>
#include <array>
#include <span>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/search/IndexLayout.h"
#include "runtime/mediaview/core/search/PostingsCursor.h"
#include "runtime/mediaview/core/search/RussianStemmer.h"
#include "runtime/mediaview/core/search/Tokenizer.h"
#include "runtime/mediaview/core/search/Varint.h"

namespace kro::search {
namespace {

using layout::kDocsPerBlock;
using layout::kTermsPerBlock;

// Bytes kept inline while few, on the heap past that: most terms of a large title occur in
// one or two topics, and a heap buffer per term would cost an index build more in
// allocation than in encoding.
class SmallBytes {
public:
  SmallBytes() = default;
  SmallBytes(SmallBytes&& other) noexcept { *this = std::move(other); }
  SmallBytes& operator=(SmallBytes&& other) noexcept {
    if (this != &other) {
      Free();
      std::memcpy(static_cast<void*>(this), &other, sizeof *this);
      other.size_ = 0;
      other.capacity_ = kInline;
    }
    return *this;
  }
  SmallBytes(const SmallBytes&) = delete;
  SmallBytes& operator=(const SmallBytes&) = delete;
  ~SmallBytes() { Free(); }

  std::span<const uint8_t> bytes() const { return {data(), size_}; }

  void PutVarint(uint32_t value) {
    if (capacity_ - size_ < 5) Grow();
    uint8_t* p = data() + size_;
    while (value >= 0x80) {
      *p++ = static_cast<uint8_t>(value | 0x80);
      value >>= 7;
    }
    *p++ = static_cast<uint8_t>(value);
    size_ = static_cast<uint32_t>(p - data());
  }

private:
  static constexpr uint32_t kInline = 16;

  uint8_t* data() { return capacity_ == kInline ? inline_ : heap_; }
  const uint8_t* data() const { return capacity_ == kInline ? inline_ : heap_; }

  void Grow() {
    const uint32_t capacity = capacity_ * 2;
    auto* bytes = static_cast<uint8_t*>(capacity_ == kInline ? std::malloc(capacity) : std::realloc(heap_, capacity));
    if (!bytes) throw std::bad_alloc();
    if (capacity_ == kInline) std::memcpy(bytes, inline_, size_);
    heap_ = bytes;
    capacity_ = capacity;
  }

  void Free() {
    if (capacity_ != kInline) std::free(heap_);
    size_ = 0;
    capacity_ = kInline;
  }

  uint32_t size_ = 0;
  uint32_t capacity_ = kInline;
  union {
    uint8_t inline_[kInline];
    uint8_t* heap_;
  };
};

// Buffers a postings list is laid out in, kept from one list to the next.
struct LayoutScratch {
  std::vector<uint8_t> skips, docs, positions, blockDocs, blockPositions, strides;
};

// One term's postings as documents arrive, in one run of varints: per document its code
// (gap × 2, plus 1 when it holds the term once), its count when not once, and its position
// increments. The blocks, skip entries and stride tables of the index layout
// (SearchIndex.cpp) are made when the list is written, in one pass over that run, so that
// adding a document appends a few bytes and nothing else.
class TermPostings {
public:
  uint32_t docCount() const { return docCount_; }

  void AddDocument(uint32_t doc, const uint32_t* positionList, uint32_t freq) {
    bytes_.PutVarint((doc - nextDoc_) << 1 | (freq == 1 ? 1 : 0));
    if (freq != 1) bytes_.PutVarint(freq);
    uint32_t previous = 0;
    for (uint32_t i = 0; i < freq; ++i) {
      bytes_.PutVarint(positionList[i] - previous);
      previous = positionList[i];
    }
    nextDoc_ = doc + 1;
    ++docCount_;
  }

  // Appends the postings in the index layout (`strided`: blocks get stride tables, from
  // version 3 on), frees the run and answers the bytes written.
  size_t WriteTo(std::vector<uint8_t>& out, bool strided, LayoutScratch& s) {
    const size_t start = out.size();
    s.skips.clear();
    s.docs.clear();
    s.positions.clear();
    VarintReader run(bytes_.bytes());
    uint64_t nextDoc = 0, lastClosedDoc = 0;
    for (uint32_t blockStart = 0; blockStart < docCount_; blockStart += kDocsPerBlock) {
      const uint32_t count = std::min(kDocsPerBlock, docCount_ - blockStart);
      const bool withStrides = strided && count > layout::kDocsPerStride;
      s.blockDocs.clear();
      s.blockPositions.clear();
      s.strides.clear();
      uint64_t strideFirstPrev = nextDoc;
      size_t strideDocs = 0, stridePositions = 0;
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* code = run.position();
        const uint32_t gap = run.U32();
        const uint32_t freq = (gap & 1) ? 1 : run.U32();
        const uint8_t* positions = run.position();
        run.SkipVarints(freq);
        s.blockDocs.insert(s.blockDocs.end(), code, positions);
        s.blockPositions.insert(s.blockPositions.end(), positions, run.position());
        const uint64_t doc = nextDoc + (gap >> 1);
        nextDoc = doc + 1;
        if (withStrides && (i + 1) % layout::kDocsPerStride == 0 && i + 1 < count) {
          PutVarint(s.strides, doc - strideFirstPrev);
          PutVarint(s.strides, s.blockDocs.size() - strideDocs);
          PutVarint(s.strides, s.blockPositions.size() - stridePositions);
          strideFirstPrev = doc + 1;
          strideDocs = s.blockDocs.size();
          stridePositions = s.blockPositions.size();
        }
      }
      const size_t docsBefore = s.docs.size();
      if (withStrides) {
        PutVarint(s.docs, s.strides.size());
        s.docs.insert(s.docs.end(), s.strides.begin(), s.strides.end());
      }
      s.docs.insert(s.docs.end(), s.blockDocs.begin(), s.blockDocs.end());
      s.positions.insert(s.positions.end(), s.blockPositions.begin(), s.blockPositions.end());
      const uint64_t lastDoc = nextDoc - 1;
      PutVarint(s.skips, lastDoc - lastClosedDoc);
      PutVarint(s.skips, s.docs.size() - docsBefore);
      PutVarint(s.skips, s.blockPositions.size());
      lastClosedDoc = lastDoc;
    }
    if (docCount_ <= kDocsPerBlock) PutVarint(out, s.docs.size());
    else out.insert(out.end(), s.skips.begin(), s.skips.end());
    out.insert(out.end(), s.docs.begin(), s.docs.end());
    out.insert(out.end(), s.positions.begin(), s.positions.end());
    bytes_ = SmallBytes();
    return out.size() - start;
  }

private:
  SmallBytes bytes_;
  uint32_t docCount_ = 0;
  uint32_t nextDoc_ = 0;  // the previous document + 1
};

// Stable storage for term text, so the map can key on views.
class Arena {
public:
  std::string_view Copy(std::string_view text) {
    if (chunks_.empty() || used_ + text.size() > kChunkBytes) {
      chunks_.push_back(std::make_unique<char[]>(kChunkBytes));
      used_ = 0;
    }
    char* p = chunks_.back().get() + used_;
    std::copy(text.begin(), text.end(), p);
    used_ += text.size();
    return {p, text.size()};
  }

private:
  static constexpr size_t kChunkBytes = 1 << 16;
  std::vector<std::unique_ptr<char[]>> chunks_;
  size_t used_ = 0;
};

// Term text to term id: open addressing with linear probing over a power-of-two table.
// Looking words up is most of the time an index build takes, and a node-based map spends
// it chasing pointers.
class TermTable {
public:
  // The id of `term`, or kMissing; on a miss, *slot is where to Insert it.
  static constexpr uint32_t kMissing = UINT32_MAX;

  uint32_t Find(std::string_view term, const std::vector<std::string_view>& texts, uint64_t* hash, size_t* slot) const {
    *hash = Hash(term);
    const size_t mask = slots_.size() - 1;
    for (size_t i = *hash & mask;; i = (i + 1) & mask) {
      const uint64_t entry = slots_[i];
      if (entry == 0) {
        *slot = i;
        return kMissing;
      }
      const auto id = static_cast<uint32_t>(entry) - 1;
      if (entry >> 32 == *hash >> 32 && texts[id] == term) return id;
    }
  }

  void Insert(size_t slot, uint64_t hash, uint32_t id, const std::vector<std::string_view>& texts) {
    slots_[slot] = (hash >> 32) << 32 | (id + 1);
    if (++used_ * 2 > slots_.size()) Grow(texts);
  }

private:
  static uint64_t Hash(std::string_view text) {
    uint64_t h = 0xCBF29CE484222325ull;  // FNV-1a, then a final mix for the low bits
    for (char c : text) h = (h ^ static_cast<uint8_t>(c)) * 0x100000001B3ull;
    return h ^ (h >> 29);
  }

  void Grow(const std::vector<std::string_view>& texts) {
    std::vector<uint64_t> old = std::move(slots_);
    slots_.assign(old.size() * 2, 0);
    const size_t mask = slots_.size() - 1;
    for (uint64_t entry : old) {
      if (entry == 0) continue;
      size_t i = Hash(texts[static_cast<uint32_t>(entry) - 1]) & mask;
      while (slots_[i] != 0) i = (i + 1) & mask;
      slots_[i] = entry;
    }
  }

  std::vector<uint64_t> slots_ = std::vector<uint64_t>(1 << 16, 0);
  size_t used_ = 0;
};

void PutU32At(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  out.resize(out.size() + 4);
  PutU32At(out, out.size() - 4, value);
}

// Writes a prefix-compressed dictionary entry's word.
void PutWord(std::vector<uint8_t>& out, std::string_view previous, std::string_view word, bool first) {
  size_t shared = 0;
  if (!first) {
    while (shared < previous.size() && shared < word.size() && previous[shared] == word[shared]) ++shared;
  }
  PutVarint(out, shared);
  PutVarint(out, word.size() - shared);
  out.insert(out.end(), word.begin() + static_cast<std::ptrdiff_t>(shared), word.end());
}

std::string FoldWord(std::string_view word) {
  Tokenizer tokens(word);
  return tokens.Next() ? std::string(tokens.term()) : std::string();
}


// The pair words of an index: the most frequent terms (see IndexLayout.h), by ordinal.
std::vector<uint32_t> ChoosePairWords(const std::vector<uint32_t>& docCounts, uint32_t topicCount) {
  const uint32_t least = std::max(layout::kPairWordMinDocs, topicCount / layout::kPairWordShare);
  std::vector<uint32_t> words;
  for (uint32_t ordinal = 0; ordinal < docCounts.size(); ++ordinal) {
    if (docCounts[ordinal] >= least) words.push_back(ordinal);
  }
  if (words.size() > layout::kMaxPairWords) {
    std::stable_sort(words.begin(), words.end(), [&](uint32_t a, uint32_t b) { return docCounts[a] > docCounts[b]; });
    words.resize(layout::kMaxPairWords);
    std::sort(words.begin(), words.end());
  }
  return words;
}

// Finds every place where two pair words stand side by side, reading the positions back
// from the finished term postings a slice of topics at a time (the texts are gone by now,
// and a slice bounds the memory), and encodes each pair's postings.
class PairCollector {
public:
  PairCollector(std::vector<TermInfo> words, uint32_t topicCount, bool strided)
      : words_(std::move(words)), topicCount_(topicCount), strided_(strided), cursors_(words_.size()) {
    for (size_t w = 0; w < words_.size(); ++w) cursors_[w].Open(words_[w], topicCount_, nullptr);
  }

  void Collect() {
    for (uint32_t start = 0; start < topicCount_; start += kTopicsPerSlice) {
      Slice(start, std::min<uint64_t>(uint64_t{start} + kTopicsPerSlice, topicCount_));
    }
  }

  // Writes the PairWords, PairIndex, Pairs and PairPostings sections.
  void WriteTo(std::span<const uint32_t> ordinals, std::vector<uint8_t>& wordBytes, std::vector<uint8_t>& index,
               std::vector<uint8_t>& pairs, std::vector<uint8_t>& postings) {
    PutVarint(wordBytes, ordinals.size());
    for (size_t w = 0; w < ordinals.size(); ++w) PutVarint(wordBytes, ordinals[w] - (w ? ordinals[w - 1] : 0));
    std::vector<uint32_t> keys;
    keys.reserve(pairs_.size());
    for (const auto& [key, unused] : pairs_) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    auto next = keys.begin();
    for (uint32_t first = 0; first < ordinals.size(); ++first) {
      PutU32(index, static_cast<uint32_t>(pairs.size()));
      const auto end = std::find_if(next, keys.end(), [&](uint32_t key) { return key / kKeyBase != first; });
      PutVarint(pairs, postings.size());
      PutVarint(pairs, static_cast<size_t>(end - next));
      uint32_t previous = 0;
      for (; next != end; ++next) {
        const uint32_t second = *next % kKeyBase;
        TermPostings& p = pairs_[*next];
        PutVarint(pairs, second - previous);
        PutVarint(pairs, p.docCount());
        PutVarint(pairs, p.WriteTo(postings, strided_, scratch_));
        previous = second + 1;
        p = TermPostings();
      }
    }
  }

private:
  static constexpr uint32_t kTopicsPerSlice = 4096;
  static constexpr uint32_t kKeyBase = layout::kMaxPairWords;

  struct Occurrence {
    uint64_t place;  // topic << 32 | position
    uint32_t word;
    bool operator<(const Occurrence& o) const { return place < o.place; }
  };
  struct Pair {
    uint32_t key;    // first word * kKeyBase + second word
    uint64_t place;  // of the first word
    bool operator<(const Pair& o) const { return key != o.key ? key < o.key : place < o.place; }
  };

  void Slice(uint32_t start, uint32_t end) {
    occurrences_.clear();
    for (uint32_t w = 0; w < words_.size(); ++w) {
      PostingsCursor& c = cursors_[w];
      for (bool more = c.ok() && c.Seek(start); more && c.doc() < end; more = c.Seek(c.doc() + 1)) {
        c.Positions(&positions_);
        for (uint32_t p : positions_) occurrences_.push_back({uint64_t{c.doc()} << 32 | p, w});
      }
    }
    std::sort(occurrences_.begin(), occurrences_.end());
    found_.clear();
    for (size_t i = 1; i < occurrences_.size(); ++i) {
      if (occurrences_[i].place == occurrences_[i - 1].place + 1 && static_cast<uint32_t>(occurrences_[i].place) != 0) {
        found_.push_back({occurrences_[i - 1].word * kKeyBase + occurrences_[i].word, occurrences_[i - 1].place});
      }
    }
    std::sort(found_.begin(), found_.end());
    for (size_t i = 0; i < found_.size();) {
      const Pair& head = found_[i];
      positions_.clear();
      for (; i < found_.size() && found_[i].key == head.key && found_[i].place >> 32 == head.place >> 32; ++i) {
        positions_.push_back(static_cast<uint32_t>(found_[i].place));
      }
      pairs_[head.key].AddDocument(static_cast<uint32_t>(head.place >> 32), positions_.data(),
                                   static_cast<uint32_t>(positions_.size()));
    }
  }

  std::vector<TermInfo> words_;
  uint32_t topicCount_;
  bool strided_;
  std::vector<PostingsCursor> cursors_;
  std::vector<Occurrence> occurrences_;
  std::vector<Pair> found_;
  std::vector<uint32_t> positions_;
  std::unordered_map<uint32_t, TermPostings> pairs_;
  LayoutScratch scratch_;
};

}  // namespace

std::vector<std::string> DefaultStopWords() {
  static constexpr std::array kWords = {
      u8"а", u8"без", u8"бы", u8"в", u8"во", u8"да", u8"для", u8"до", u8"же", u8"за",
      u8"и", u8"из", u8"или", u8"к", u8"ко", u8"ли", u8"на", u8"над", u8"не", u8"ни",
      u8"но", u8"о", u8"об", u8"обо", u8"от", u8"по", u8"под", u8"при", u8"про", u8"с",
      u8"со", u8"то", u8"у", u8"что"};
  std::vector<std::string> words;
  for (const char8_t* w : kWords) {
    const std::u8string_view view(w);
    words.push_back(Utf8ToCp1251({reinterpret_cast<const char*>(view.data()), view.size()}).value_or(""));
  }
  return words;
}

struct SearchIndexBuilder::State {
  std::vector<std::string> stopWords;
  size_t longestStopWord = 0;  // longer words are not looked up among them
  uint16_t version = layout::kVersion;
  bool strided() const { return version >= layout::kFirstStridedVersion; }
  Arena arena;
  TermTable termIds;
  std::vector<std::string_view> termTexts;
  std::vector<TermPostings> postings;
  std::vector<uint32_t> headingWords;  // by topic

  // The topic being added: its words per region as (term id << 32 | position in region).
  bool open = false;
  uint32_t topic = 0;
  std::array<bool, 2> regionSeen{};
  std::array<std::vector<uint64_t>, 2> regionWords;
  std::array<uint32_t, 2> regionLength{};
  std::vector<uint64_t> merged;
  std::vector<uint32_t> positions;

  uint32_t TermId(std::string_view term) {
    uint64_t hash = 0;
    size_t slot = 0;
    const uint32_t found = termIds.Find(term, termTexts, &hash, &slot);
    if (found != TermTable::kMissing) return found;
    const auto id = static_cast<uint32_t>(termTexts.size());
    termTexts.push_back(arena.Copy(term));
    termIds.Insert(slot, hash, id, termTexts);
    postings.emplace_back();
    return id;
  }

  void FlushTopic() {
    if (!open) return;
    open = false;
    if (headingWords.size() <= topic) headingWords.resize(topic + 1, 0);
    headingWords[topic] = regionLength[0];
    const uint64_t bodyBase = regionLength[0] + layout::kRegionGap;
    merged.clear();
    merged.insert(merged.end(), regionWords[0].begin(), regionWords[0].end());
    for (uint64_t word : regionWords[1]) merged.push_back(word + bodyBase);
    std::sort(merged.begin(), merged.end());
    for (size_t i = 0; i < merged.size();) {
      const auto id = static_cast<uint32_t>(merged[i] >> 32);
      positions.clear();
      for (; i < merged.size() && merged[i] >> 32 == id; ++i) positions.push_back(static_cast<uint32_t>(merged[i]));
      postings[id].AddDocument(topic, positions.data(), static_cast<uint32_t>(positions.size()));
    }
    for (auto& words : regionWords) words.clear();
    regionSeen = {};
    regionLength = {};
  }
};

SearchIndexBuilder::SearchIndexBuilder(std::vector<std::string> stopWords, uint16_t version)
    : state_(std::make_unique<State>()) {
  state_->version = version == 2 ? version : layout::kVersion;
  for (const std::string& word : stopWords) {
    std::string folded = FoldWord(word);
    if (!folded.empty()) state_->stopWords.push_back(std::move(folded));
  }
  auto& stops = state_->stopWords;
  std::sort(stops.begin(), stops.end());
  stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
  if (stops.size() > kMaxStopWords) stops.resize(kMaxStopWords);
  for (const std::string& word : stops) state_->longestStopWord = std::max(state_->longestStopWord, word.size());
}

SearchIndexBuilder::~SearchIndexBuilder() = default;

bool SearchIndexBuilder::Add(uint32_t topic, int region, std::string_view text) {
  State& s = *state_;
  if ((region != 0 && region != 1) || topic >= layout::kMaxTopics) return false;
  if (s.open && topic == s.topic) {
    if (s.regionSeen[region]) return false;
  } else {
    if (s.open && topic < s.topic) return false;
    s.FlushTopic();
    s.open = true;
    s.topic = topic;
  }
  s.regionSeen[region] = true;
  Tokenizer tokens(text);
  uint32_t position = 0;
  auto& words = s.regionWords[region];
  while (position < kMaxRegionWords && tokens.Next()) {
    const std::string_view term = tokens.term();
    if (term.size() > s.longestStopWord || !std::binary_search(s.stopWords.begin(), s.stopWords.end(), term)) {
      words.push_back(uint64_t{s.TermId(term)} << 32 | position);
    }
    ++position;
  }
  s.regionLength[region] = position;
  return true;
}

std::vector<uint8_t> SearchIndexBuilder::Finish() {
  State& s = *state_;
  s.FlushTopic();
  const auto termCount = static_cast<uint32_t>(s.termTexts.size());
  std::vector<uint32_t> order(termCount);
  for (uint32_t i = 0; i < termCount; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return s.termTexts[a] < s.termTexts[b]; });

  std::array<std::vector<uint8_t>, layout::kSectionCount> sections;
  for (uint32_t words : s.headingWords) PutU32(sections[layout::kTopics], words);
  PutVarint(sections[layout::kStopWords], s.stopWords.size());
  for (const std::string& word : s.stopWords) {
    PutVarint(sections[layout::kStopWords], word.size());
    sections[layout::kStopWords].insert(sections[layout::kStopWords].end(), word.begin(), word.end());
  }

  // Terms and their postings, in term order.
  auto& terms = sections[layout::kTerms];
  auto& postings = sections[layout::kPostings];
  std::vector<uint32_t> docCounts(termCount);
  std::vector<size_t> postingsEnds(termCount);
  LayoutScratch scratch;
  for (uint32_t ordinal = 0; ordinal < termCount; ++ordinal) {
    const uint32_t id = order[ordinal];
    const bool first = ordinal % kTermsPerBlock == 0;
    if (first) {
      PutU32(sections[layout::kTermIndex], static_cast<uint32_t>(terms.size()));
      PutVarint(terms, postings.size());
    }
    PutWord(terms, first ? std::string_view() : s.termTexts[order[ordinal - 1]], s.termTexts[id], first);
    docCounts[ordinal] = s.postings[id].docCount();
    PutVarint(terms, docCounts[ordinal]);
    PutVarint(terms, s.postings[id].WriteTo(postings, s.strided(), scratch));
    postingsEnds[ordinal] = postings.size();
    s.postings[id] = TermPostings();
  }

  // Adjacent pairs of the most frequent terms.
  const auto topicCount = static_cast<uint32_t>(s.headingWords.size());
  const std::vector<uint32_t> pairWords = ChoosePairWords(docCounts, topicCount);
  std::vector<TermInfo> pairTerms;
  for (uint32_t ordinal : pairWords) {
    const size_t start = ordinal ? postingsEnds[ordinal - 1] : 0;
    pairTerms.push_back(
        {ordinal, docCounts[ordinal], std::span(postings).subspan(start, postingsEnds[ordinal] - start), s.strided()});
  }
  PairCollector pairs(std::move(pairTerms), topicCount, s.strided());
  pairs.Collect();
  pairs.WriteTo(pairWords, sections[layout::kPairWords], sections[layout::kPairIndex], sections[layout::kPairs],
                sections[layout::kPairPostings]);

  // Stems: every term's stem with the ordinals of the terms that share it.
  std::vector<std::pair<std::string_view, uint32_t>> stems(termCount);
  for (uint32_t ordinal = 0; ordinal < termCount; ++ordinal) {
    stems[ordinal] = {RussianStem(s.termTexts[order[ordinal]]), ordinal};
  }
  std::sort(stems.begin(), stems.end());
  uint32_t stemCount = 0;
  auto& stemBytes = sections[layout::kStems];
  std::string_view previous;
  for (size_t i = 0; i < stems.size();) {
    const std::string_view stem = stems[i].first;
    size_t end = i;
    while (end < stems.size() && stems[end].first == stem) ++end;
    const bool first = stemCount % kTermsPerBlock == 0;
    if (first) PutU32(sections[layout::kStemIndex], static_cast<uint32_t>(stemBytes.size()));
    PutWord(stemBytes, previous, stem, first);
    PutVarint(stemBytes, end - i);
    PutVarint(stemBytes, stems[i].second);
    for (size_t j = i + 1; j < end; ++j) PutVarint(stemBytes, stems[j].second - stems[j - 1].second);
    previous = stem;
    ++stemCount;
    i = end;
  }

  std::vector<uint8_t> out(layout::kMagic.begin(), layout::kMagic.end());
  const size_t headerBytes = layout::HeaderBytes(s.version);
  out.reserve(headerBytes + postings.size() + sections[layout::kPairPostings].size() + terms.size() + stemBytes.size() +
              (1 << 20));
  out.push_back(static_cast<uint8_t>(s.version & 0xFF));
  out.push_back(static_cast<uint8_t>(s.version >> 8));
  out.push_back(0);
  out.push_back(0);
  PutU32(out, topicCount);
  PutU32(out, termCount);
  PutU32(out, stemCount);
  const size_t table = out.size();
  out.resize(headerBytes);
  for (size_t i = 0; i < layout::kSectionCount; ++i) {
    PutU32At(out, table + i * 8, static_cast<uint32_t>(out.size()));
    PutU32At(out, table + i * 8 + 4, static_cast<uint32_t>(sections[i].size()));
    out.insert(out.end(), sections[i].begin(), sections[i].end());
    sections[i] = {};
  }
  auto stopWords = std::move(s.stopWords);
  const uint16_t version = s.version;
  const size_t longestStopWord = s.longestStopWord;
  *state_ = State();
  state_->stopWords = std::move(stopWords);
  state_->version = version;
  state_->longestStopWord = longestStopWord;
  return out;
}

}  // namespace kro::search
