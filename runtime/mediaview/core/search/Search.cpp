#include "runtime/mediaview/core/search/Search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <span>
#include <numeric>

#include "runtime/mediaview/core/search/PostingsCursor.h"
#include "runtime/mediaview/core/search/RussianStemmer.h"
#include "runtime/mediaview/core/search/Tokenizer.h"

// A query runs in two steps. Planning resolves each word to index terms (one term, every
// form sharing its stem, or every term a wildcard matches) and drops stop words. Execution
// works on ascending lists of topic numbers: the cheapest operand of a conjunction is
// decoded whole and the others only probed at its topics through the skip tables; phrases
// and NEAR then check word positions of the remaining candidates. Highlights replay the
// same position logic for one topic.

namespace kro::search {

using DocList = std::vector<uint32_t>;

struct PlanNode {
  NodeKind kind = NodeKind::Empty;
  std::vector<TermInfo> terms;     // Word: the index terms it stands for
  uint32_t span = 1;               // Word: words each term covers (2 for a pair of words)
  std::vector<uint32_t> offsets;   // Phrase: each word's place in the phrase
  std::vector<PlanNode> children;
  uint64_t estimate = 0;           // at most this many topics match
  std::vector<PostingsCursor> cursors;  // Word: one per term, opened on first use
  std::vector<DocList> scratch;    // Phrase, Near: positions of each child
};

namespace {

bool GlobMatch(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

DocList Intersect(const DocList& a, const DocList& b) {
  DocList out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

DocList Unite(const DocList& a, const DocList& b) {
  DocList out;
  out.reserve(a.size() + b.size());
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

DocList Subtract(const DocList& a, const DocList& b) {
  DocList out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

void ResetCursors(PlanNode& node) {
  node.cursors.clear();
  for (PlanNode& child : node.children) ResetCursors(child);
}

class Planner {
public:
  Planner(const SearchIndex& index, bool wordForms, WorkMeter* meter)
      : index_(index), wordForms_(wordForms), meter_(meter) {}

  SearchError error() const { return error_; }

  PlanNode Plan(const QueryNode& q) {
    PlanNode node;
    switch (q.kind) {
      case NodeKind::Word:
        return PlanWord(q.word);
      case NodeKind::Phrase:
        return PlanPhrase(q);
      case NodeKind::And:
      case NodeKind::Or:
        node.kind = q.kind;
        for (const QueryNode& child : q.children) {
          PlanNode planned = Plan(child);
          if (planned.kind != NodeKind::Empty) node.children.push_back(std::move(planned));
        }
        if (node.children.size() <= 1) return node.children.empty() ? PlanNode() : std::move(node.children[0]);
        break;
      case NodeKind::Not:
      case NodeKind::Near: {
        PlanNode left = Plan(q.children[0]);
        PlanNode right = Plan(q.children[1]);
        if (right.kind == NodeKind::Empty) return left;
        if (left.kind == NodeKind::Empty) return q.kind == NodeKind::Near ? std::move(right) : PlanNode();
        node.kind = q.kind;
        node.children.push_back(std::move(left));
        node.children.push_back(std::move(right));
        node.scratch.resize(2);
        break;
      }
      case NodeKind::Empty:
        return node;
    }
    Estimate(node);
    return node;
  }

private:
  void Estimate(PlanNode& node) const {
    const uint64_t topics = index_.topicCount();
    uint64_t sum = 0, least = UINT64_MAX;
    for (const PlanNode& child : node.children) {
      sum += child.estimate;
      least = std::min(least, child.estimate);
    }
    switch (node.kind) {
      case NodeKind::Or: node.estimate = std::min(sum, topics); break;
      case NodeKind::Not: node.estimate = node.children[0].estimate; break;
      default: node.estimate = least; break;
    }
  }

  bool Damaged() {
    error_ = SearchError::IndexDamaged;
    return false;
  }

  bool AddTerm(PlanNode& leaf, const TermInfo& info) {
    if (++expanded_ > kMaxExpandedTerms) {
      if (error_ == SearchError::None) error_ = SearchError::TooManyTerms;
      return false;
    }
    leaf.terms.push_back(info);
    leaf.estimate = std::min<uint64_t>(leaf.estimate + info.docCount, index_.topicCount());
    return true;
  }

  PlanNode PlanWord(const std::string& word) {
    PlanNode leaf;
    leaf.kind = NodeKind::Word;
    if (HasWildcard(word)) {
      const std::string_view prefix = std::string_view(word).substr(0, word.find_first_of("*?"));
      const bool ok = index_.VisitTerms(prefix, [&](std::string_view term, const TermInfo& info) {
        if (term.substr(0, prefix.size()) != prefix) return false;
        meter_->Tick(1);
        if (meter_->stopped()) return false;
        return !GlobMatch(word, term) || AddTerm(leaf, info);
      });
      if (!ok) Damaged();
      return leaf;
    }
    if (index_.IsStopWord(word)) return PlanNode();
    if (wordForms_) {
      std::vector<uint32_t> ordinals;
      if (!index_.TermsOfStem(RussianStem(word), &ordinals)) Damaged();
      for (uint32_t ordinal : ordinals) {
        TermInfo info;
        if (!index_.TermAt(ordinal, &info, nullptr)) {
          Damaged();
          break;
        }
        if (!AddTerm(leaf, info)) break;
      }
      return leaf;
    }
    TermInfo info;
    bool found = false;
    if (!index_.FindTerm(word, &info, &found)) Damaged();
    if (found) AddTerm(leaf, info);
    return leaf;
  }

  PlanNode PlanPhrase(const QueryNode& q) {
    PlanNode phrase;
    phrase.kind = NodeKind::Phrase;
    uint32_t first = 0;
    for (uint32_t i = 0; i < q.children.size(); ++i) {
      PlanNode word = PlanWord(q.children[i].word);
      if (word.kind == NodeKind::Empty) continue;  // a stop word keeps its place only
      if (phrase.children.empty()) first = i;
      phrase.offsets.push_back(i - first);
      phrase.children.push_back(std::move(word));
    }
    if (phrase.children.size() <= 1) return phrase.children.empty() ? PlanNode() : std::move(phrase.children[0]);
    UsePairs(phrase);
    phrase.scratch.resize(phrase.children.size());
    Estimate(phrase);
    return phrase;
  }

  static bool IsPlainWord(const PlanNode& node) { return node.kind == NodeKind::Word && node.terms.size() == 1 && node.span == 1; }

  // Two plain words side by side that are both pair words become one pair: its postings
  // are the places where they stand together, so a phrase of common words reads no
  // positions of theirs. Pairs may overlap ("a b c" is "a b" at 0 and "b c" at 1); the
  // words no pair covers stay as they are. A pair the index lacks never occurs, and its
  // node, with no terms, matches nothing.
  void UsePairs(PlanNode& phrase) {
    const size_t n = phrase.children.size();
    std::vector<PlanNode> children;
    std::vector<uint32_t> offsets;
    std::vector<bool> covered(n, false);
    for (size_t i = 0; i + 1 < n; ++i) {
      const PlanNode &a = phrase.children[i], &b = phrase.children[i + 1];
      if (!IsPlainWord(a) || !IsPlainWord(b) || phrase.offsets[i + 1] != phrase.offsets[i] + 1) continue;
      const int32_t first = index_.PairWord(a.terms[0].ordinal), second = index_.PairWord(b.terms[0].ordinal);
      if (first < 0 || second < 0) continue;
      PlanNode pair;
      pair.kind = NodeKind::Word;
      pair.span = 2;
      TermInfo info;
      bool found = false;
      if (!index_.FindPair(static_cast<uint32_t>(first), static_cast<uint32_t>(second), &info, &found)) Damaged();
      if (found) AddTerm(pair, info);
      children.push_back(std::move(pair));
      offsets.push_back(phrase.offsets[i]);
      covered[i] = covered[i + 1] = true;
    }
    if (children.empty()) return;
    for (size_t i = 0; i < n; ++i) {
      if (covered[i]) continue;
      children.push_back(std::move(phrase.children[i]));
      offsets.push_back(phrase.offsets[i]);
    }
    // The walk of the positions starts from the child at offset 0.
    std::vector<size_t> order(children.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) { return offsets[x] < offsets[y]; });
    phrase.children.clear();
    phrase.offsets.clear();
    for (size_t i : order) {
      phrase.children.push_back(std::move(children[i]));
      phrase.offsets.push_back(offsets[i]);
    }
  }

  const SearchIndex& index_;
  bool wordForms_;
  WorkMeter* meter_;
  size_t expanded_ = 0;
  SearchError error_ = SearchError::None;
};

class Executor {
public:
  Executor(const SearchIndex& index, WorkMeter* meter) : index_(index), meter_(meter) {}

  bool damaged() const { return damaged_; }
  bool Halted() const { return damaged_ || (meter_ && meter_->stopped()); }

  DocList Evaluate(PlanNode& node) {
    switch (node.kind) {
      case NodeKind::Word: return EvaluateWord(node);
      case NodeKind::Or: {
        DocList out;
        for (PlanNode& child : node.children) out = Unite(out, Evaluate(child));
        return out;
      }
      case NodeKind::Not: {
        DocList kept = Evaluate(node.children[0]);
        return Subtract(kept, Filter(node.children[1], kept));
      }
      case NodeKind::And:
      case NodeKind::Phrase:
      case NodeKind::Near: {
        if (node.kind == NodeKind::Phrase && node.children.size() == 1) return Evaluate(node.children[0]);
        if (node.kind == NodeKind::Phrase && SingleTermWords(node)) return JoinPhrase(node);
        std::vector<size_t> order(node.children.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
          return node.children[a].estimate < node.children[b].estimate;
        });
        DocList docs = Evaluate(node.children[order[0]]);
        for (size_t i = 1; i < order.size() && !docs.empty(); ++i) docs = Filter(node.children[order[i]], docs);
        return node.kind == NodeKind::And ? docs : CheckPositions(node, docs);
      }
      case NodeKind::Empty:
        break;
    }
    return {};
  }

  // The topics of `docs` (ascending) that match the node.
  DocList Filter(PlanNode& node, const DocList& docs) {
    if (docs.empty() || Halted()) return {};
    switch (node.kind) {
      case NodeKind::Word: return FilterWord(node, docs);
      case NodeKind::Or: {
        DocList out;
        for (PlanNode& child : node.children) out = Unite(out, Filter(child, docs));
        return out;
      }
      case NodeKind::Not: {
        DocList kept = Filter(node.children[0], docs);
        return Subtract(kept, Filter(node.children[1], kept));
      }
      case NodeKind::And:
      case NodeKind::Phrase:
      case NodeKind::Near: {
        if (node.kind == NodeKind::Phrase && node.children.size() == 1) return Filter(node.children[0], docs);
        DocList kept = docs;
        for (PlanNode& child : node.children) kept = Filter(child, kept);
        return node.kind == NodeKind::And ? kept : CheckPositions(node, kept);
      }
      case NodeKind::Empty:
        break;
    }
    return {};
  }

  // Replaces *out with the positions in `doc` of the words that make the node match there;
  // false (and *out empty) when it does not match.
  bool Positions(PlanNode& node, uint32_t doc, DocList* out) {
    out->clear();
    switch (node.kind) {
      case NodeKind::Word: return WordPositions(node, doc, out);
      case NodeKind::Phrase: return PhrasePositions(node, doc, out);
      case NodeKind::Near: return NearPositions(node, doc, out);
      case NodeKind::And:
      case NodeKind::Or: {
        DocList part;
        bool any = false;
        for (PlanNode& child : node.children) {
          const bool matched = Positions(child, doc, &part);
          if (!matched && node.kind == NodeKind::And) {
            out->clear();
            return false;
          }
          any = any || matched;
          *out = Unite(*out, part);
        }
        return any;
      }
      case NodeKind::Not: {
        DocList dropped;
        if (!Positions(node.children[0], doc, out)) return false;
        if (Positions(node.children[1], doc, &dropped)) out->clear();
        return !out->empty();
      }
      case NodeKind::Empty:
        break;
    }
    return false;
  }

private:
  bool OpenCursors(PlanNode& node) {
    if (node.cursors.size() == node.terms.size()) return true;
    // A wildcard's tens of thousands of cursors take tens of megabytes: they are made one
    // at a time between ticks, so that touching that memory does not hold the pump up.
    node.cursors.clear();
    node.cursors.reserve(node.terms.size());
    for (const TermInfo& term : node.terms) {
      if (meter_) meter_->Tick(1);
      if (!node.cursors.emplace_back().Open(term, index_.topicCount(), meter_)) damaged_ = true;
    }
    return !damaged_;
  }

  void Check(const PostingsCursor& cursor) {
    if (!cursor.ok()) damaged_ = true;
  }

  DocList EvaluateWord(PlanNode& node) {
    DocList out;
    if (!OpenCursors(node)) return out;
    if (node.cursors.size() == 1) {
      node.cursors[0].DecodeAll(&out);
      Check(node.cursors[0]);
      return out;
    }
    // Many terms (word forms, wildcards): mark a bitmap when they cover much of the title.
    const bool dense = node.estimate * 16 > index_.topicCount();
    std::vector<uint64_t> bits(dense ? (index_.topicCount() + 63) / 64 : 0);
    DocList part;
    for (PostingsCursor& cursor : node.cursors) {
      if (Halted()) return {};
      part.clear();
      cursor.DecodeAll(&part);
      Check(cursor);
      if (!dense) {
        out.insert(out.end(), part.begin(), part.end());
        continue;
      }
      for (uint32_t doc : part) bits[doc >> 6] |= uint64_t{1} << (doc & 63);
    }
    if (dense) {
      for (size_t w = 0; w < bits.size(); ++w) {
        for (uint64_t word = bits[w]; word != 0; word &= word - 1) {
          out.push_back(static_cast<uint32_t>(w * 64 + std::countr_zero(word)));
        }
      }
    } else {
      std::sort(out.begin(), out.end());
      out.erase(std::unique(out.begin(), out.end()), out.end());
    }
    return out;
  }

  DocList FilterWord(PlanNode& node, const DocList& docs) {
    // Decoding a short list whole is cheaper than probing it at every candidate.
    if (node.estimate <= 4 * docs.size()) return Intersect(EvaluateWord(node), docs);
    if (!OpenCursors(node)) return {};
    std::vector<uint8_t> hit(docs.size(), 0);
    for (PostingsCursor& cursor : node.cursors) {
      // Leapfrog: a term with few documents (most terms of a wildcard) jumps over the
      // candidates between its documents instead of being sought at each.
      for (size_t i = 0; i < docs.size();) {
        if (meter_) meter_->Tick(1);
        if (!cursor.Seek(docs[i])) break;
        if (cursor.doc() == docs[i]) {
          hit[i++] = 1;
        } else {
          i = static_cast<size_t>(std::lower_bound(docs.begin() + static_cast<std::ptrdiff_t>(i), docs.end(), cursor.doc()) -
                                  docs.begin());
        }
      }
      Check(cursor);
      if (Halted()) return {};
    }
    DocList out;
    for (size_t i = 0; i < docs.size(); ++i) {
      if (hit[i]) out.push_back(docs[i]);
    }
    return out;
  }

  static bool SingleTermWords(const PlanNode& node) {
    return std::all_of(node.children.begin(), node.children.end(), [](const PlanNode& child) {
      return child.kind == NodeKind::Word && child.terms.size() == 1;
    });
  }

  // A phrase of plain words: its cursors step through the documents together, the rarest
  // leading and the others probed at its documents, and positions are read only where
  // every word occurs. (Not NEAR: its words are of like frequency, and decoding both lists
  // whole beats probing one at every document of the other.)
  DocList JoinPhrase(PlanNode& node) {
    DocList out;
    std::vector<PostingsCursor*> cursors;
    for (PlanNode& child : node.children) {
      if (!OpenCursors(child)) return out;
      cursors.push_back(&child.cursors[0]);
    }
    std::stable_sort(cursors.begin(), cursors.end(),
                     [](const PostingsCursor* a, const PostingsCursor* b) { return a->docCount() < b->docCount(); });
    uint32_t doc = 0;
    while (!Halted() && cursors[0]->Seek(doc)) {
      doc = cursors[0]->doc();
      bool all = true;
      for (size_t i = 1; i < cursors.size() && all; ++i) {
        if (!cursors[i]->Seek(doc)) return Finish(cursors, out);
        if (cursors[i]->doc() != doc) {
          doc = cursors[i]->doc();
          all = false;
        }
      }
      if (!all) continue;
      if (meter_) meter_->Tick(4);
      if (PhraseMatches(node, doc)) out.push_back(doc);
      ++doc;
    }
    return Finish(cursors, out);
  }

  DocList Finish(const std::vector<PostingsCursor*>& cursors, DocList& out) {
    for (const PostingsCursor* cursor : cursors) Check(*cursor);
    return Halted() ? DocList() : std::move(out);
  }

  DocList CheckPositions(PlanNode& node, const DocList& docs) {
    if (node.kind == NodeKind::Phrase) return GatherPhrase(node, docs);
    DocList out;
    for (uint32_t doc : docs) {
      if (meter_) meter_->Tick(4);
      if (Halted()) return {};
      if (NearMatches(node, doc)) out.push_back(doc);
    }
    return out;
  }

  // Replaces lists[k] with the positions of the node's words in docs[k]: term by term, each
  // term leapfrogging over the candidates, so that a wildcard word of thousands of terms
  // costs what its documents cost rather than terms times candidates. ahead[t] is a
  // document term t has none before (past the end when it has no more), carried from one
  // slice of candidates to the next, so that a term is sought only in slices it occurs in.
  void GatherPositions(PlanNode& word, std::span<const uint32_t> docs, std::vector<DocList>* lists,
                       std::vector<uint32_t>* ahead) {
    lists->resize(docs.size());
    for (DocList& list : *lists) list.clear();
    if (!OpenCursors(word)) return;
    ahead->resize(word.cursors.size(), 0);
    for (size_t t = 0; t < word.cursors.size() && !Halted(); ++t) {
      if (meter_) meter_->Tick(1);
      if ((*ahead)[t] > docs.back()) continue;
      PostingsCursor& cursor = word.cursors[t];
      (*ahead)[t] = docs.back() + 1;
      for (size_t k = 0; k < docs.size() && !Halted();) {
        if (meter_) meter_->Tick(1);
        if (!cursor.Seek(docs[k])) {
          (*ahead)[t] = UINT32_MAX;
          break;
        }
        if (cursor.doc() != docs[k]) {
          (*ahead)[t] = std::max((*ahead)[t], cursor.doc());
          k = static_cast<size_t>(std::lower_bound(docs.begin() + static_cast<std::ptrdiff_t>(k), docs.end(), cursor.doc()) -
                                  docs.begin());
          continue;
        }
        if (!cursor.Positions(&termPositions_)) damaged_ = true;
        DocList& list = (*lists)[k++];
        const size_t before = list.size();
        list.insert(list.end(), termPositions_.begin(), termPositions_.end());
        std::inplace_merge(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(before), list.end());
      }
      Check(cursor);
    }
  }

  // The phrase's candidates (topics holding every word), checked a slice at a time with
  // the positions of every word gathered for the whole slice.
  DocList GatherPhrase(PlanNode& node, const DocList& docs) {
    static constexpr size_t kSlice = 1024;
    DocList out;
    std::vector<std::vector<DocList>> lists(node.children.size());
    std::vector<std::vector<uint32_t>> ahead(node.children.size());
    for (size_t start = 0; start < docs.size() && !Halted(); start += kSlice) {
      const auto slice = std::span(docs).subspan(start, std::min(kSlice, docs.size() - start));
      for (size_t i = 0; i < node.children.size(); ++i) GatherPositions(node.children[i], slice, &lists[i], &ahead[i]);
      for (size_t k = 0; k < slice.size(); ++k) {
        if (StartsMatch(node, [&](size_t i) -> const DocList& { return lists[i][k]; })) out.push_back(slice[k]);
      }
    }
    return Halted() ? DocList() : out;
  }

  bool WordPositions(PlanNode& node, uint32_t doc, DocList* out) {
    out->clear();
    if (!OpenCursors(node)) return false;
    for (PostingsCursor& cursor : node.cursors) {
      // A wildcard word has thousands of terms to look at in every document.
      if (meter_) meter_->Tick(1);
      if (!cursor.Seek(doc) || cursor.doc() != doc) {
        Check(cursor);
        continue;
      }
      if (node.cursors.size() == 1) {
        if (!cursor.Positions(out)) damaged_ = true;
        return !out->empty();
      }
      if (!cursor.Positions(&termPositions_)) {
        damaged_ = true;
        return false;
      }
      const size_t before = out->size();
      out->insert(out->end(), termPositions_.begin(), termPositions_.end());
      std::inplace_merge(out->begin(), out->begin() + static_cast<std::ptrdiff_t>(before), out->end());
    }
    return !out->empty();
  }

  // Whether the phrase occurs in `doc`: the positions of its words, walked together.
  bool PhraseMatches(PlanNode& node, uint32_t doc) {
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (!WordPositions(node.children[i], doc, &node.scratch[i])) return false;
    }
    return StartsMatch(node, [&](size_t i) -> const DocList& { return node.scratch[i]; });
  }

  // Whether some position of the first child starts the phrase; `positions(i)` gives the
  // positions of child i (ascending).
  template <typename PositionsOf>
  static bool StartsMatch(const PlanNode& node, const PositionsOf& positions) {
    std::array<size_t, kMaxQueryTerms> at;
    std::fill_n(at.begin(), node.children.size(), 0);
    for (uint32_t start : positions(0)) {
      bool all = true;
      for (size_t i = 1; i < node.children.size() && all; ++i) {
        const DocList& p = positions(i);
        const uint64_t want = uint64_t{start} + node.offsets[i];
        while (at[i] < p.size() && p[at[i]] < want) ++at[i];
        if (at[i] == p.size()) return false;
        all = p[at[i]] == want;
      }
      if (all) return true;
    }
    return false;
  }

  bool PhrasePositions(PlanNode& node, uint32_t doc, DocList* out) {
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (!WordPositions(node.children[i], doc, &node.scratch[i])) return false;
    }
    DocList starts;
    for (uint32_t p : node.scratch[0]) {
      bool all = true;
      for (size_t i = 1; i < node.children.size() && all; ++i) {
        all = std::binary_search(node.scratch[i].begin(), node.scratch[i].end(), p + node.offsets[i]);
      }
      if (all) starts.push_back(p);
    }
    for (size_t i = 0; i < node.children.size(); ++i) {
      DocList words;
      for (uint32_t s : starts) {
        for (uint32_t k = 0; k < node.children[i].span; ++k) words.push_back(s + node.offsets[i] + k);
      }
      *out = Unite(*out, words);
    }
    return !out->empty();
  }

  static void NearOf(const DocList& from, const DocList& to, DocList* out) {
    for (uint32_t p : from) {
      const auto it = std::lower_bound(to.begin(), to.end(), p > kNearDistance ? p - kNearDistance : 0);
      if (it != to.end() && *it <= uint64_t{p} + kNearDistance) out->push_back(p);
    }
  }

  // Whether the two sides of a NEAR come close in `doc`; words are walked in their
  // positions without building the highlight lists.
  bool NearMatches(PlanNode& node, uint32_t doc) {
    for (size_t i = 0; i < 2; ++i) {
      if (!Positions(node.children[i], doc, &node.scratch[i])) return false;
    }
    const DocList &a = node.scratch[0], &b = node.scratch[1];
    size_t j = 0;
    for (uint32_t p : a) {
      while (j < b.size() && uint64_t{b[j]} + kNearDistance < p) ++j;
      if (j == b.size()) return false;
      if (b[j] <= uint64_t{p} + kNearDistance) return true;
    }
    return false;
  }

  bool NearPositions(PlanNode& node, uint32_t doc, DocList* out) {
    DocList left, right, fromLeft, fromRight;
    if (!Positions(node.children[0], doc, &left) || !Positions(node.children[1], doc, &right)) return false;
    NearOf(left, right, &fromLeft);
    NearOf(right, left, &fromRight);
    *out = Unite(fromLeft, fromRight);
    return !out->empty();
  }

  const SearchIndex& index_;
  WorkMeter* meter_;
  bool damaged_ = false;
  DocList termPositions_;
};

}  // namespace

HighlightSource::HighlightSource(const SearchIndex& index, std::unique_ptr<PlanNode> plan, std::vector<uint32_t> topics)
    : index_(index), plan_(std::move(plan)), topics_(std::move(topics)) {
  ResetCursors(*plan_);  // they were bound to the query's work meter
}

HighlightSource::~HighlightSource() = default;

std::vector<Highlight> HighlightSource::InTopic(uint32_t topic, std::string_view heading, std::string_view body) const {
  std::vector<Highlight> out;
  if (!std::binary_search(topics_.begin(), topics_.end(), topic)) return out;
  Executor executor(index_, nullptr);
  DocList positions;
  executor.Positions(*plan_, topic, &positions);
  const uint32_t headingWords = index_.HeadingWords(topic);
  const uint32_t bodyBase = index_.BodyBase(topic);
  auto next = positions.begin();
  for (int region = 0; region < 2; ++region) {
    const uint32_t base = region == 0 ? 0 : bodyBase;
    const uint32_t end = region == 0 ? headingWords : UINT32_MAX;
    Tokenizer tokens(region == 0 ? heading : body);
    uint32_t word = 0;
    while (next != positions.end() && *next < base) ++next;
    while (next != positions.end() && *next < end && tokens.Next()) {
      if (*next - base == word) {
        out.push_back({region, tokens.offset(), tokens.length()});
        ++next;
      }
      ++word;
    }
  }
  return out;
}

SearchResult RunQuery(const SearchIndex& index, const Query& query, const std::vector<uint32_t>* scope,
                      ProgressCallback progress) {
  SearchResult result;
  WorkMeter meter(std::move(progress));
  Planner planner(index, query.wordForms, &meter);
  auto plan = std::make_unique<PlanNode>(planner.Plan(query.root));
  if (meter.stopped()) result.error = SearchError::Stopped;
  else if (planner.error() != SearchError::None) result.error = planner.error();
  else if (plan->kind == NodeKind::Empty) result.error = SearchError::NothingSearchable;
  if (result.error != SearchError::None) return result;

  Executor executor(index, &meter);
  if (scope) {
    DocList within(scope->begin(), scope->end());
    std::sort(within.begin(), within.end());
    within.erase(std::unique(within.begin(), within.end()), within.end());
    within.erase(std::lower_bound(within.begin(), within.end(), index.topicCount()), within.end());
    result.topics = within.size() < plan->estimate ? executor.Filter(*plan, within)
                                                   : Intersect(executor.Evaluate(*plan), within);
  } else {
    result.topics = executor.Evaluate(*plan);
  }
  if (meter.stopped()) result.error = SearchError::Stopped;
  else if (executor.damaged()) result.error = SearchError::IndexDamaged;
  if (result.error != SearchError::None) {
    result.topics.clear();
    return result;
  }
  result.highlights = std::make_shared<HighlightSource>(index, std::move(plan), result.topics);
  return result;
}

SearchResult Search(const SearchIndex& index, std::string_view text, int option, const std::vector<uint32_t>* scope,
                    ProgressCallback progress) {
  ParseResult parsed = ParseQuery(text, option);
  if (parsed.error != SearchError::None) return {parsed.error, {}, nullptr};
  return RunQuery(index, parsed.query, scope, std::move(progress));
}

}  // namespace kro::search
