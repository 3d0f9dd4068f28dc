// The index and the query engine against a brute-force matcher over the plain text: both
// must find the same topics and highlight the same words for thousands of random queries
// over a generated corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/search/RussianStemmer.h"
#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "runtime/mediaview/core/search/Tokenizer.h"
#include "runtime/mediaview/core/search/tests/IndexVersion1.h"
#include "tools/corpus/CorpusFile.h"

namespace kro::search {
namespace {

constexpr uint32_t kArticles = 1200;
constexpr int kQueries = 3000;

// A word's place: region << 24 | index of the word in the region.
using Place = uint32_t;
using Places = std::vector<Place>;

struct Word {
  uint32_t id;  // into the vocabulary
  uint32_t offset, length;
};

struct Corpus {
  std::vector<std::array<std::string, 2>> texts;
  std::vector<std::array<std::vector<Word>, 2>> words;
  std::vector<std::string> vocabulary;
  std::unordered_map<std::string, std::vector<uint32_t>> idsOfStem;
  std::vector<std::vector<std::pair<uint32_t, Place>>> occurrences;  // by id: (topic, place)
  std::unordered_map<std::string, uint32_t> ids;
  std::vector<uint8_t> index;
  std::vector<uint8_t> version1;  // the same texts as version 1 wrote them
};

const Corpus& GetCorpus() {
  static const Corpus corpus = [] {
    Corpus c;
    std::vector<std::string> forms;
    std::string error;
    EXPECT_TRUE(corpus::LoadRussianForms("/usr/share/hunspell/ru_RU.aff", "/usr/share/hunspell/ru_RU.dic", &forms, &error));
    corpus::CorpusGenerator generator(std::move(forms), 42);
    SearchIndexBuilder builder, previous(DefaultStopWords(), 2);
    for (uint32_t topic = 0; topic < kArticles; ++topic) {
      const corpus::Article article = generator.Next();
      c.texts.push_back({article.title, corpus::BodyText(article)});
      c.words.emplace_back();
      for (int region = 0; region < 2; ++region) {
        builder.Add(topic, region, c.texts[topic][region]);
        previous.Add(topic, region, c.texts[topic][region]);
        Tokenizer tokens(c.texts[topic][region]);
        while (tokens.Next()) {
          const auto [it, added] = c.ids.emplace(std::string(tokens.term()), static_cast<uint32_t>(c.vocabulary.size()));
          if (added) c.vocabulary.emplace_back(tokens.term());
          if (added) c.occurrences.emplace_back();
          c.occurrences[it->second].push_back({topic, static_cast<Place>(region) << 24 | static_cast<Place>(c.words[topic][region].size())});
          c.words[topic][region].push_back({it->second, tokens.offset(), tokens.length()});
        }
      }
    }
    c.index = builder.Finish();
    c.version1 = AsVersion1(previous.Finish());
    for (uint32_t id = 0; id < c.vocabulary.size(); ++id) {
      c.idsOfStem[std::string(RussianStem(c.vocabulary[id]))].push_back(id);
    }
    return c;
  }();
  return corpus;
}

bool Glob(std::string_view pattern, std::string_view text) {
  if (pattern.empty()) return text.empty();
  if (pattern[0] == '*') return Glob(pattern.substr(1), text) || (!text.empty() && Glob(pattern, text.substr(1)));
  return !text.empty() && (pattern[0] == '?' || pattern[0] == text[0]) && Glob(pattern.substr(1), text.substr(1));
}

// The query with stop words taken out and its words resolved to vocabulary entries.
struct RefNode {
  NodeKind kind = NodeKind::Empty;
  std::vector<Places> places;  // Word: by topic
  std::vector<uint32_t> offsets;
  std::vector<RefNode> children;
};

class Reference {
public:
  Reference(const Corpus& corpus, const SearchIndex& index, const std::vector<bool>& stops, bool wordForms)
      : corpus_(corpus), index_(index), stops_(stops), wordForms_(wordForms) {}

  RefNode Resolve(const QueryNode& q) {
    RefNode node;
    node.kind = q.kind;
    switch (q.kind) {
      case NodeKind::Word: {
        const bool wildcard = HasWildcard(q.word);
        if (!wildcard && index_.IsStopWord(q.word)) return {};
        node.places.resize(kArticles);
        std::vector<uint32_t> candidates;
        if (wildcard) {
          for (uint32_t id = 0; id < corpus_.vocabulary.size(); ++id) {
            if (Glob(q.word, corpus_.vocabulary[id])) candidates.push_back(id);
          }
        } else if (wordForms_) {
          const auto it = corpus_.idsOfStem.find(std::string(RussianStem(q.word)));
          if (it != corpus_.idsOfStem.end()) candidates = it->second;
        } else if (const auto it = corpus_.ids.find(q.word); it != corpus_.ids.end()) {
          candidates.push_back(it->second);
        }
        for (uint32_t id : candidates) {
          if (stops_[id]) continue;
          for (const auto& [topic, place] : corpus_.occurrences[id]) node.places[topic].push_back(place);
        }
        for (Places& places : node.places) std::sort(places.begin(), places.end());
        return node;
      }
      case NodeKind::Phrase: {
        uint32_t first = 0;
        for (uint32_t i = 0; i < q.children.size(); ++i) {
          RefNode word = Resolve(q.children[i]);
          if (word.kind == NodeKind::Empty) continue;
          if (node.children.empty()) first = i;
          node.offsets.push_back(i - first);
          node.children.push_back(std::move(word));
        }
        if (node.children.size() <= 1) return node.children.empty() ? RefNode() : node.children[0];
        return node;
      }
      case NodeKind::And:
      case NodeKind::Or:
        for (const QueryNode& child : q.children) {
          RefNode r = Resolve(child);
          if (r.kind != NodeKind::Empty) node.children.push_back(std::move(r));
        }
        if (node.children.size() <= 1) return node.children.empty() ? RefNode() : node.children[0];
        return node;
      case NodeKind::Not:
      case NodeKind::Near: {
        RefNode left = Resolve(q.children[0]), right = Resolve(q.children[1]);
        if (right.kind == NodeKind::Empty) return left;
        if (left.kind == NodeKind::Empty) return q.kind == NodeKind::Near ? right : RefNode();
        node.children = {std::move(left), std::move(right)};
        return node;
      }
      case NodeKind::Empty:
        break;
    }
    return {};
  }

  Places Evaluate(const RefNode& node, uint32_t topic) const {
    Places out;
    switch (node.kind) {
      case NodeKind::Word:
        return node.places[topic];
      case NodeKind::Phrase: {
        std::vector<Places> parts;
        for (const RefNode& child : node.children) parts.push_back(Evaluate(child, topic));
        for (Place start : parts[0]) {
          bool all = true;
          for (size_t k = 1; k < parts.size(); ++k) {
            all = all && std::binary_search(parts[k].begin(), parts[k].end(), start + node.offsets[k]);
          }
          if (!all) continue;
          for (uint32_t offset : node.offsets) out.push_back(start + offset);
        }
        break;
      }
      case NodeKind::Near: {
        const Places a = Evaluate(node.children[0], topic), b = Evaluate(node.children[1], topic);
        auto near = [](Place x, Place y) { return x >> 24 == y >> 24 && (x > y ? x - y : y - x) <= kNearDistance; };
        for (Place x : a) {
          if (std::any_of(b.begin(), b.end(), [&](Place y) { return near(x, y); })) out.push_back(x);
        }
        for (Place y : b) {
          if (std::any_of(a.begin(), a.end(), [&](Place x) { return near(x, y); })) out.push_back(y);
        }
        break;
      }
      case NodeKind::And:
      case NodeKind::Or:
        for (const RefNode& child : node.children) {
          const Places part = Evaluate(child, topic);
          if (part.empty() && node.kind == NodeKind::And) return {};
          out.insert(out.end(), part.begin(), part.end());
        }
        break;
      case NodeKind::Not:
        if (Evaluate(node.children[1], topic).empty()) out = Evaluate(node.children[0], topic);
        break;
      case NodeKind::Empty:
        break;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }

private:
  const Corpus& corpus_;
  const SearchIndex& index_;
  const std::vector<bool>& stops_;
  bool wordForms_;
};

// Random queries made of words that occur in the corpus.
class QueryMaker {
public:
  QueryMaker(const Corpus& corpus, uint64_t seed) : corpus_(corpus), random_(seed) {}

  std::string Make() { return Expression(0); }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }

private:
  const std::vector<Word>& SomeRegion() {
    topic_ = Below(kArticles);
    region_ = Below(5) == 0 ? 0 : 1;
    return corpus_.words[topic_][region_];
  }

  std::string SomeWord() {
    static const char* kStops[] = {"\xE8", "\xE2", "\xED\xE5", "\xED\xE0"};  // и в не на
    if (Below(12) == 0) return kStops[Below(4)];
    const auto& words = SomeRegion();
    if (words.empty()) return "\xE2\xEE\xEB\xE3\xE0";
    std::string word = corpus_.vocabulary[words[Below(static_cast<uint32_t>(words.size()))].id];
    switch (Below(12)) {
      case 0: return word.substr(0, std::min<size_t>(word.size(), 2 + Below(3))) + "*";
      case 1: word[Below(static_cast<uint32_t>(word.size()))] = '?'; return word;
      case 2: return "*" + word.substr(word.size() / 2);
      default: return word;
    }
  }

  // Two to four words that stand together in some region: folded words, one of them
  // perhaps a wildcard, or the text itself as written (capitals, ё, hyphens, commas).
  std::string SomePhrase() {
    const auto& words = SomeRegion();
    if (words.size() < 5) return SomeWord();
    const uint32_t length = 2 + Below(3);
    const uint32_t start = Below(static_cast<uint32_t>(words.size()) - length + 1);
    const Word &first = words[start], &last = words[start + length - 1];
    const std::string raw = corpus_.texts[topic_][region_].substr(first.offset, last.offset + last.length - first.offset);
    if (Below(3) == 0 && raw.find_first_of("\"\xAB\xBB*?") == std::string::npos) return "\"" + raw + "\"";
    const uint32_t wildcard = Below(3) == 0 ? Below(length) : length;
    std::string out = "\"";
    for (uint32_t i = 0; i < length; ++i) {
      const std::string& word = corpus_.vocabulary[words[start + i].id];
      out += (i ? " " : "") + (i == wildcard ? word.substr(0, std::min<size_t>(word.size(), 2 + Below(3))) + "*" : word);
    }
    return out + "\"";
  }

  std::string Operand(int depth) {
    const uint32_t pick = Below(10);
    if (pick < 6 || depth >= 3) return SomeWord();
    if (pick < 8) return SomePhrase();
    return "(" + Expression(depth + 1) + ")";
  }

  std::string Expression(int depth) {
    static const char* kOperators[] = {" ", " AND ", " OR ", " NOT ", " NEAR ", " \xC8 ", " \xC8\xCB\xC8 ",
                                       " \xCD\xC5 ", " \xD0\xDF\xC4\xCE\xCC ", " AND NOT "};
    std::string out = Operand(depth);
    for (uint32_t n = Below(3); n > 0; --n) out += kOperators[Below(10)] + Operand(depth);
    return out;
  }

  const Corpus& corpus_;
  std::mt19937_64 random_;
  uint32_t topic_ = 0, region_ = 0;
};

std::vector<Highlight> ReferenceHighlights(const Corpus& corpus, uint32_t topic, const Places& places) {
  std::vector<Highlight> out;
  for (Place p : places) {
    const int region = static_cast<int>(p >> 24);
    const Word& w = corpus.words[topic][region][p & 0xFFFFFF];
    out.push_back({region, w.offset, w.length});
  }
  return out;
}

TEST(ReferenceMatcher, AgreesWithTheIndexOnRandomQueries) {
  const Corpus& corpus = GetCorpus();
  const auto opened = SearchIndex::Open(corpus.index);
  ASSERT_TRUE(opened) << opened.error().ToString();
  const SearchIndex& index = *opened;
  const auto fault = index.Verify();
  ASSERT_FALSE(fault) << fault->ToString();
  // The corpus is big enough for pair words, so phrases of common words go through pairs.
  std::vector<bool> stops;
  for (const std::string& word : corpus.vocabulary) stops.push_back(index.IsStopWord(word));
  uint32_t common = 0;
  for (uint32_t id = 0; id < corpus.vocabulary.size(); ++id) {
    if (!stops[id] && corpus.occurrences[id].size() > corpus.occurrences[common].size()) common = id;
  }
  TermInfo commonInfo;
  bool found = false;
  ASSERT_TRUE(index.FindTerm(corpus.vocabulary[common], &commonInfo, &found) && found);
  ASSERT_GE(index.PairWord(commonInfo.ordinal), 0);
  // A version 1 index answers without pairs and strides: every query must come out the same.
  const auto oldOpened = SearchIndex::Open(corpus.version1);
  ASSERT_TRUE(oldOpened) << oldOpened.error().ToString();
  const SearchIndex& oldIndex = *oldOpened;
  ASSERT_EQ(oldIndex.version(), 1);
  ASSERT_EQ(oldIndex.PairWord(0), -1);
  const auto oldFault = oldIndex.Verify();
  ASSERT_FALSE(oldFault) << oldFault->ToString();
  QueryMaker maker(corpus, 7);
  int run = 0, nonEmpty = 0, phrases = 0;
  for (int q = 0; q < kQueries; ++q) {
    const std::string text = maker.Make();
    const int option = static_cast<int>(maker.Below(2));
    std::vector<uint32_t> scope;
    const bool scoped = maker.Below(5) == 0;
    for (uint32_t t = 0; scoped && t < kArticles + 5; t += 1 + maker.Below(4)) scope.push_back(t);
    const ParseResult parsed = ParseQuery(text, option);
    if (parsed.error != SearchError::None) continue;
    const SearchResult result = RunQuery(index, parsed.query, scoped ? &scope : nullptr, nullptr);

    Reference reference(corpus, index, stops, parsed.query.wordForms);
    const RefNode root = reference.Resolve(parsed.query.root);
    if (root.kind == NodeKind::Empty) {
      EXPECT_EQ(result.error, SearchError::NothingSearchable) << Cp1251ToUtf8(text);
      continue;
    }
    ASSERT_EQ(result.error, SearchError::None) << Cp1251ToUtf8(text);
    std::vector<uint32_t> expected;
    std::vector<Places> expectedPlaces;
    for (uint32_t topic = 0; topic < kArticles; ++topic) {
      if (scoped && !std::binary_search(scope.begin(), scope.end(), topic)) continue;
      Places places = reference.Evaluate(root, topic);
      if (places.empty()) continue;
      expected.push_back(topic);
      expectedPlaces.push_back(std::move(places));
    }
    ++run;
    nonEmpty += expected.empty() ? 0 : 1;
    phrases += text.find('"') != std::string::npos && !expected.empty() ? 1 : 0;
    ASSERT_EQ(result.topics, expected) << Cp1251ToUtf8(text) << " option " << option;
    const SearchResult old = RunQuery(oldIndex, parsed.query, scoped ? &scope : nullptr, nullptr);
    ASSERT_EQ(old.topics, expected) << Cp1251ToUtf8(text) << " option " << option << ", version 1";
    for (size_t i = 0; i < expected.size(); i += 1 + expected.size() / 3) {
      const uint32_t topic = expected[i];
      EXPECT_EQ(result.highlights->InTopic(topic, corpus.texts[topic][0], corpus.texts[topic][1]),
                ReferenceHighlights(corpus, topic, expectedPlaces[i]))
          << Cp1251ToUtf8(text) << " topic " << topic;
    }
  }
  std::printf("%d queries run, %d found topics, %d of them with phrases, vocabulary %zu\n", run, nonEmpty, phrases,
              corpus.vocabulary.size());
  EXPECT_GT(run, kQueries / 2);
  EXPECT_GT(nonEmpty, run / 3);
  EXPECT_GT(phrases, run / 10);
}

}  // namespace
}  // namespace kro::search
