#include "runtime/mediaview/core/search/SearchIndexBuilder.h"

#include <algorithm>
#include <array>
#include <span>
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

// One term's postings, encoded as documents arrive (layout in SearchIndex.cpp).
struct TermPostings {
  std::vector<uint8_t> docs;
  std::vector<uint8_t> positions;
  std::vector<uint8_t> skips;  // entries of the closed blocks
  uint32_t docCount = 0;
  uint32_t nextDoc = 0;        // the previous document + 1
  uint32_t lastClosedDoc = 0;
  size_t blockDocStart = 0;
  size_t blockPosStart = 0;
  uint32_t blockFirstPrevDoc = 0;

  // `strided`: blocks get stride tables (from version 3 on).
  void AddDocument(uint32_t doc, const uint32_t* positionList, uint32_t freq, bool strided) {
    PutVarint(docs, uint64_t{doc - nextDoc} << 1 | (freq == 1 ? 1 : 0));
    if (freq != 1) PutVarint(docs, freq);
    uint32_t previous = 0;
    for (uint32_t i = 0; i < freq; ++i) {
      PutVarint(positions, positionList[i] - previous);
      previous = positionList[i];
    }
    nextDoc = doc + 1;
    if (++docCount % kDocsPerBlock == 0) CloseBlock(strided);
  }

  // Puts the open block's stride table in front of its document codes. The table comes from
  // reading the block back, so that adding a document costs nothing extra.
  void InsertStrides() {
    const uint32_t count = docCount - (docCount - 1) / kDocsPerBlock * kDocsPerBlock;
    if (count <= layout::kDocsPerStride) return;
    VarintReader codes{std::span<const uint8_t>(docs).subspan(blockDocStart)};
    VarintReader places{std::span<const uint8_t>(positions).subspan(blockPosStart)};
    std::vector<uint8_t> table;
    uint64_t doc = blockFirstPrevDoc, strideFirstPrev = blockFirstPrevDoc;
    const uint8_t* strideCodes = codes.position();
    const uint8_t* stridePlaces = places.position();
    for (uint32_t i = 0; i + 1 < count; ++i) {
      const uint32_t code = codes.U32();
      const uint32_t freq = (code & 1) ? 1 : codes.U32();
      doc += code >> 1;
      places.SkipVarints(freq);
      if ((i + 1) % layout::kDocsPerStride == 0) {
        PutVarint(table, doc - strideFirstPrev);
        PutVarint(table, static_cast<size_t>(codes.position() - strideCodes));
        PutVarint(table, static_cast<size_t>(places.position() - stridePlaces));
        strideFirstPrev = doc + 1;
        strideCodes = codes.position();
        stridePlaces = places.position();
      }
      ++doc;
    }
    std::vector<uint8_t> head;
    PutVarint(head, table.size());
    head.insert(head.end(), table.begin(), table.end());
    docs.insert(docs.begin() + static_cast<std::ptrdiff_t>(blockDocStart), head.begin(), head.end());
  }

  void CloseBlock(bool strided) {
    if (strided) InsertStrides();
    const uint32_t lastDoc = nextDoc - 1;
    PutVarint(skips, lastDoc - (skips.empty() ? 0 : lastClosedDoc));
    PutVarint(skips, docs.size() - blockDocStart);
    PutVarint(skips, positions.size() - blockPosStart);
    lastClosedDoc = lastDoc;
    blockDocStart = docs.size();
    blockPosStart = positions.size();
    blockFirstPrevDoc = nextDoc;
  }

  // Appends the finished postings; answers their size.
  size_t WriteTo(std::vector<uint8_t>& out, bool strided) {
    const size_t start = out.size();
    if (docCount <= kDocsPerBlock) {
      if (strided && docCount < kDocsPerBlock) InsertStrides();  // a full one is closed already
      PutVarint(out, docs.size());
    } else {
      if (docCount % kDocsPerBlock != 0) CloseBlock(strided);
      out.insert(out.end(), skips.begin(), skips.end());
    }
    out.insert(out.end(), docs.begin(), docs.end());
    out.insert(out.end(), positions.begin(), positions.end());
    return out.size() - start;
  }
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
        PutVarint(pairs, p.docCount);
        PutVarint(pairs, p.WriteTo(postings, strided_));
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
                                   static_cast<uint32_t>(positions_.size()), strided_);
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
      postings[id].AddDocument(topic, positions.data(), static_cast<uint32_t>(positions.size()), strided());
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
    if (!std::binary_search(s.stopWords.begin(), s.stopWords.end(), term)) {
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
  for (uint32_t ordinal = 0; ordinal < termCount; ++ordinal) {
    const uint32_t id = order[ordinal];
    const bool first = ordinal % kTermsPerBlock == 0;
    if (first) {
      PutU32(sections[layout::kTermIndex], static_cast<uint32_t>(terms.size()));
      PutVarint(terms, postings.size());
    }
    PutWord(terms, first ? std::string_view() : s.termTexts[order[ordinal - 1]], s.termTexts[id], first);
    docCounts[ordinal] = s.postings[id].docCount;
    PutVarint(terms, docCounts[ordinal]);
    PutVarint(terms, s.postings[id].WriteTo(postings, s.strided()));
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
  *state_ = State();
  state_->stopWords = std::move(stopWords);
  state_->version = version;
  return out;
}

}  // namespace kro::search
