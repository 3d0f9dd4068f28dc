// search_bench: our full-text index against SQLite FTS5 and Xapian on one generated corpus.
//   search_bench --corpus FILE [--work DIR] [--runs N] [--queries N] [--peers 0|1] [--only CLASS]
//                [--reuse 0|1] [--baseline FILE]
// --reuse 1 opens the peers' indexes an earlier run left in --work (of the same corpus)
// instead of building them again (a peer with none there is built); their build times are
// the ones that run recorded. --baseline names the output of an earlier run, whose classes
// the goal of not getting slower is checked against.
// The corpus comes from tools/corpus (`corpus --articles N --plain FILE`). Prints, per
// query class, the median and 95th percentile latency of each engine, its best run of each
// query summed over the class, our ratio to each peer, the result counts and whether they agree, then index sizes, build times and the
// goals, each met or not.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "runtime/mediaview/core/search/Tokenizer.h"
#include "tools/bench/search/Goals.h"
#include "tools/bench/search/Peers.h"
#include "tools/corpus/CorpusFile.h"

namespace {

using kro::bench::QueryOp;
using Clock = std::chrono::steady_clock;

struct Options {
  std::string corpus;
  std::string work = "/tmp/search_bench";
  int runs = 5;
  int queries = 40;
  bool peers = true;
  std::string only;  // run just the query class of this name
  bool reuse = false;
  std::string baseline;
};

struct BenchQuery {
  QueryOp op;
  std::vector<std::string> words;  // cp1251, folded
};

struct QueryClass {
  std::string name;
  std::vector<BenchQuery> queries;
};

struct TermStat {
  std::string term;
  uint32_t docs;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
double ThreadCpu() { return CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }
double ProcessCpu() { return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

// A peer's build time (CPU seconds) is kept beside its index, for runs that reuse it.
std::string BuildTimeFile(const std::string& indexPath) { return indexPath + ".build-cpu-seconds"; }
double ReadBuildTime(const std::string& indexPath) {
  std::ifstream in(BuildTimeFile(indexPath));
  double seconds = -1;
  return in >> seconds ? seconds : -1;
}

static_assert(kro::bench::kNearWords == kro::search::kNearDistance);

std::string Joined(const std::vector<std::string>& words, const char* between, const char* after) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : between) + w + after;
  return out;
}

// Our query text for a benchmark query, and the option that goes with it.
std::string OurText(const BenchQuery& q) {
  switch (q.op) {
    case QueryOp::Word:
    case QueryOp::Forms: return q.words[0];
    case QueryOp::And: return Joined(q.words, " ", "");
    case QueryOp::Phrase: return "\"" + Joined(q.words, " ", "") + "\"";
    case QueryOp::WildPhrase: return "\"" + Joined(q.words, " ", "*") + "\"";
    case QueryOp::Near: return q.words[0] + " NEAR " + q.words[1];
    case QueryOp::Prefix: return q.words[0] + "*";
    case QueryOp::Or: return q.words[0] + " OR " + q.words[1];
    case QueryOp::Not: return q.words[0] + " NOT " + q.words[1];
  }
  return {};
}

// Chooses the queries of each class from the index's own term statistics. Words with е
// are left out: the peers do not fold ё to е, so their counts would differ for them.
class QueryPicker {
public:
  QueryPicker(const kro::search::SearchIndex& index, const std::vector<std::array<std::string, 2>>& texts, int count)
      : index_(index), texts_(texts), count_(count), random_(1997) {
    index.VisitTerms("", [&](std::string_view term, const kro::search::TermInfo& info) {
      if (term.find('\xE5') == std::string_view::npos && term.size() >= 3) stats_.push_back({std::string(term), info.docCount});
      return true;
    });
    n_ = index.topicCount();
  }

  std::vector<QueryClass> Classes() {
    std::vector<QueryClass> classes;
    classes.push_back({"rare word", Singles(QueryOp::Word, 2, 5)});
    classes.push_back({"common word", Common()});
    classes.push_back({"two-word AND", Tuples(QueryOp::And, 2, 0.05, 0.2)});
    classes.push_back({"three-word AND", Tuples(QueryOp::And, 3, 0.05, 0.3)});
    classes.push_back({"phrase, common words", Phrases(0.15, 1.0, 2)});
    classes.push_back({"phrase, rarer words", Phrases(0.002, 0.02, 2)});
    classes.push_back({"4-letter prefix", Prefixes()});
    classes.push_back({"OR", Tuples(QueryOp::Or, 2, 0.02, 0.1)});
    classes.push_back({"AND NOT", Tuples(QueryOp::Not, 2, 0.1, 0.3)});
    classes.push_back({"word forms", Singles(QueryOp::Forms, static_cast<uint32_t>(0.01 * n_) + 1, static_cast<uint32_t>(0.1 * n_))});
    // Drawn after the others, so that those draw the same queries as before these came.
    classes.push_back({"3-word phrase, common", Phrases(0.15, 1.0, 3)});
    classes.push_back({"NEAR", Tuples(QueryOp::Near, 2, 0.02, 0.2)});
    classes.push_back({"phrase of prefixes", WildPhrases()});
    return classes;
  }

private:
  std::vector<const TermStat*> InRange(uint32_t low, uint32_t high) const {
    std::vector<const TermStat*> out;
    for (const TermStat& s : stats_) {
      if (s.docs >= low && s.docs <= high) out.push_back(&s);
    }
    return out;
  }

  const std::string& Pick(const std::vector<const TermStat*>& from) { return from[random_() % from.size()]->term; }

  std::vector<BenchQuery> Singles(QueryOp op, uint32_t low, uint32_t high) {
    const auto from = InRange(low, high);
    std::vector<BenchQuery> out;
    for (int i = 0; i < count_ && !from.empty(); ++i) out.push_back({op, {Pick(from)}});
    return out;
  }

  // The words whose document count is nearest to 42% of the articles.
  std::vector<BenchQuery> Common() {
    std::vector<const TermStat*> all;
    for (const TermStat& s : stats_) all.push_back(&s);
    const double target = 0.42 * n_;
    std::sort(all.begin(), all.end(), [&](const TermStat* a, const TermStat* b) {
      return std::abs(a->docs - target) < std::abs(b->docs - target);
    });
    std::vector<BenchQuery> out;
    for (size_t i = 0; i < all.size() && i < 10; ++i) out.push_back({QueryOp::Word, {all[i]->term}});
    return out;
  }

  std::vector<BenchQuery> Tuples(QueryOp op, size_t words, double low, double high) {
    const auto from = InRange(static_cast<uint32_t>(low * n_), static_cast<uint32_t>(high * n_));
    std::vector<BenchQuery> out;
    for (int i = 0; i < count_ && from.size() > words; ++i) {
      BenchQuery q{op, {}};
      while (q.words.size() < words) {
        const std::string& w = Pick(from);
        if (std::find(q.words.begin(), q.words.end(), w) == q.words.end()) q.words.push_back(w);
      }
      out.push_back(q);
    }
    return out;
  }

  uint32_t DocsOf(std::string_view term) const {
    kro::search::TermInfo info;
    bool found = false;
    return index_.FindTerm(term, &info, &found) && found ? info.docCount : 0;
  }

  // `length` adjacent words of a body, none of them twice, none with е.
  std::vector<std::string> Adjacent(size_t length) {
    const std::string& body = texts_[random_() % texts_.size()][1];
    kro::search::Tokenizer tokens(body);
    std::vector<std::string> words;
    while (tokens.Next()) words.emplace_back(tokens.term());
    if (words.size() < length) return {};
    const size_t at = random_() % (words.size() - length + 1);
    std::vector<std::string> out(words.begin() + static_cast<std::ptrdiff_t>(at),
                                 words.begin() + static_cast<std::ptrdiff_t>(at + length));
    for (size_t i = 0; i < out.size(); ++i) {
      if (out[i].find('\xE5') != std::string::npos || std::find(out.begin(), out.begin() + i, out[i]) != out.begin() + i)
        return {};
    }
    return out;
  }

  // Adjacent words of the bodies whose rarest word has a document share in the range.
  std::vector<BenchQuery> Phrases(double low, double high, size_t length) {
    std::vector<BenchQuery> out;
    for (int attempt = 0; attempt < 400000 && static_cast<int>(out.size()) < count_; ++attempt) {
      std::vector<std::string> words = Adjacent(length);
      if (words.empty()) continue;
      uint32_t docs = UINT32_MAX;
      for (const std::string& w : words) docs = std::min(docs, DocsOf(w));
      if (docs >= low * n_ && docs <= high * n_) out.push_back({QueryOp::Phrase, std::move(words)});
    }
    return out;
  }

  // Two adjacent words of a body, each cut to its first three letters: "мос* кра*".
  std::vector<BenchQuery> WildPhrases() {
    std::vector<BenchQuery> out;
    for (int attempt = 0; attempt < 400000 && static_cast<int>(out.size()) < count_; ++attempt) {
      std::vector<std::string> words = Adjacent(2);
      if (words.empty() || words[0].size() < 4 || words[1].size() < 4) continue;
      for (std::string& w : words) w.resize(3);
      out.push_back({QueryOp::WildPhrase, std::move(words)});
    }
    return out;
  }

  // Prefixes of four letters that expand to between 100 and 400 terms.
  std::vector<BenchQuery> Prefixes() {
    std::map<std::string, int> counts;
    for (const TermStat& s : stats_) {
      if (s.term.size() > 4) ++counts[s.term.substr(0, 4)];
    }
    std::vector<const TermStat*> all;
    std::vector<std::string> prefixes;
    for (const auto& [prefix, n] : counts) {
      if (n >= 100 && n <= 400) prefixes.push_back(prefix);
    }
    std::vector<BenchQuery> out;
    for (int i = 0; i < count_ && !prefixes.empty(); ++i) out.push_back({QueryOp::Prefix, {prefixes[random_() % prefixes.size()]}});
    return out;
  }

  const kro::search::SearchIndex& index_;
  const std::vector<std::array<std::string, 2>>& texts_;
  int count_;
  std::mt19937_64 random_;
  std::vector<TermStat> stats_;
  uint32_t n_ = 0;
};

struct Latencies {
  std::vector<double> seconds;
  double Percentile(double p) {
    if (seconds.empty()) return 0;
    std::sort(seconds.begin(), seconds.end());
    return seconds[std::min(seconds.size() - 1, static_cast<size_t>(p * static_cast<double>(seconds.size())))];
  }
};

std::string Micro(double seconds) {
  char buffer[32];
  if (seconds >= 1e-3) std::snprintf(buffer, sizeof buffer, "%.2f ms", seconds * 1e3);
  else std::snprintf(buffer, sizeof buffer, "%.1f us", seconds * 1e6);
  return buffer;
}

std::string Tenths(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  return buffer;
}

std::string FirstOf(const std::vector<uint32_t>& topics) {
  std::string out;
  for (size_t i = 0; i < topics.size() && i < 12; ++i) out += " " + std::to_string(topics[i]);
  return out + (topics.size() > 12 ? " ..." : "");
}

// Names the topics only one side found, for tracing a difference to its texts.
void ReportDifference(const std::string& name, const std::string& query, const char* peer,
                      const std::vector<uint32_t>& ours, const std::vector<uint32_t>& theirs) {
  std::vector<uint32_t> onlyOurs, onlyTheirs;
  std::set_difference(ours.begin(), ours.end(), theirs.begin(), theirs.end(), std::back_inserter(onlyOurs));
  std::set_difference(theirs.begin(), theirs.end(), ours.begin(), ours.end(), std::back_inserter(onlyTheirs));
  std::fprintf(stderr, "%s: %s differs from %s: only ours%s; only %s%s\n", name.c_str(), kro::Cp1251ToUtf8(query).c_str(),
               peer, FirstOf(onlyOurs).c_str(), peer, FirstOf(onlyTheirs).c_str());
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--corpus") o->corpus = argv[i + 1];
    else if (key == "--work") o->work = argv[i + 1];
    else if (key == "--runs") o->runs = std::atoi(argv[i + 1]);
    else if (key == "--queries") o->queries = std::atoi(argv[i + 1]);
    else if (key == "--peers") o->peers = std::atoi(argv[i + 1]) != 0;
    else if (key == "--only") o->only = argv[i + 1];
    else if (key == "--reuse") o->reuse = std::atoi(argv[i + 1]) != 0;
    else if (key == "--baseline") o->baseline = argv[i + 1];
    else return false;
  }
  return argc % 2 == 1 && !o->corpus.empty() && o->runs > 0 && o->queries > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  // A run takes many minutes: each line is written as it comes, for following it in a file.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (!ParseOptions(argc, argv, &o)) {
    std::fprintf(stderr,
                 "usage: search_bench --corpus FILE [--work DIR] [--runs N] [--queries N] [--peers 0|1] [--only CLASS] "
                 "[--reuse 0|1] [--baseline FILE]\n");
    return 2;
  }
  std::vector<std::array<std::string, 2>> texts;
  uint64_t textBytes = 0, words = 0;
  if (!kro::corpus::ReadPlainCorpus(o.corpus, [&](const kro::corpus::Article& a) {
        texts.push_back({a.title, kro::corpus::BodyText(a)});
        textBytes += texts.back()[0].size() + texts.back()[1].size();
      })) {
    std::fprintf(stderr, "search_bench: cannot read %s\n", o.corpus.c_str());
    return 1;
  }
  for (const auto& t : texts) {
    for (const auto& region : t) {
      kro::search::Tokenizer tokens(region);
      while (tokens.Next()) ++words;
    }
  }
  std::printf("corpus: %zu articles, %.1f MB of cp1251 text, %.2f M words\n\n", texts.size(), textBytes / 1e6, words / 1e6);

  // Ours.
  const double buildCpuStart = ProcessCpu();
  const auto buildStart = Clock::now();
  kro::search::SearchIndexBuilder builder;
  for (uint32_t i = 0; i < texts.size(); ++i) {
    builder.Add(i, 0, texts[i][0]);
    builder.Add(i, 1, texts[i][1]);
  }
  const std::vector<uint8_t> blob = builder.Finish();
  const double ourBuild = Seconds(Clock::now() - buildStart);
  const double ourBuildCpu = ProcessCpu() - buildCpuStart;
  auto opened = kro::search::SearchIndex::Open(blob);
  if (!opened) return std::fprintf(stderr, "index: %s\n", opened.error().ToString().c_str()), 1;
  const kro::search::SearchIndex& index = *opened;

  // Peers.
  std::vector<std::unique_ptr<kro::bench::PeerEngine>> peers;
  std::vector<double> peerBuild, peerBuildCpu;  // negative: reused
  if (o.peers) {
    std::filesystem::create_directories(o.work);
    std::vector<kro::bench::PeerArticle> utf8;
    peers.push_back(kro::bench::MakeFts5());
    peers.push_back(kro::bench::MakeXapian());
    for (auto& peer : peers) {
      const std::string path = o.work + "/" + peer->name();
      if (o.reuse && std::filesystem::exists(path)) {
        if (!peer->Open(path)) {
          std::fprintf(stderr, "search_bench: the %s index in %s does not open\n", peer->name(), path.c_str());
          return 1;
        }
        peerBuild.push_back(-1);
        peerBuildCpu.push_back(ReadBuildTime(path));
        continue;
      }
      for (size_t i = utf8.size(); i < texts.size(); ++i)
        utf8.push_back({kro::Cp1251ToUtf8(texts[i][0]), kro::Cp1251ToUtf8(texts[i][1])});
      std::fprintf(stderr, "building %s...\n", peer->name());
      const double cpuStart = ProcessCpu();
      const auto start = Clock::now();
      if (!peer->Build(utf8, path)) {
        std::fprintf(stderr, "search_bench: %s build failed\n", peer->name());
        return 1;
      }
      peerBuild.push_back(Seconds(Clock::now() - start));
      peerBuildCpu.push_back(ProcessCpu() - cpuStart);
      std::ofstream(BuildTimeFile(path)) << peerBuildCpu.back() << "\n";
    }
  }

  QueryPicker picker(index, texts, o.queries);
  std::printf("%-22s %4s %22s %10s", "query class", "n", "ours median / p95", "ours best");
  for (auto& peer : peers) {
    std::printf(" %22s %10s %13s", (std::string(peer->name()) + " median / p95").c_str(), (std::string(peer->name()) + " best").c_str(),
                "ours/peer");
  }
  std::printf("  %s\n", "results ours (peers) agree");
  // The longest stretch of one of our queries without a progress call (the title runtime
  // turns those calls into the programs' message pump, which wants one every 20 ms), in
  // the thread's CPU time and on the wall clock, which also counts the other programs of a
  // loaded machine.
  double longestStretch = 0, longestCpuStretch = 0;
  std::string longestClass, longestCpuClass;
  kro::bench::BenchFigures figures;
  figures.articles = texts.size();
  for (auto& peer : peers) figures.peerNames.push_back(peer->name());
  for (const QueryClass& c : picker.Classes()) {
    if (!o.only.empty() && c.name != o.only) continue;
    Latencies ours;
    std::vector<Latencies> theirs(peers.size());
    uint64_t ourCount = 0;
    std::vector<uint64_t> peerCount(peers.size());
    std::vector<double> peerBest(peers.size(), 0);
    std::vector<int> agree(peers.size(), 0), compared(peers.size(), 0);
    std::string slowest;
    double slowestMedian = 0, best = 0;
    for (const BenchQuery& q : c.queries) {
      const std::string text = OurText(q);
      const int option = q.op == QueryOp::Forms ? kro::search::kMatchWordForms : kro::search::kMatchExactWords;
      std::vector<uint32_t> ourTopics;
      Latencies query;
      // The warm-up run measures the stretches between progress calls; reading the clocks
      // costs about a microsecond a call, as much as a cheap query takes, so the timed runs
      // get a callback that only answers.
      {
        auto last = Clock::now();
        double lastCpu = ThreadCpu(), stretch = 0, cpuStretch = 0;
        ourTopics = kro::search::Search(index, text, option, nullptr, [&] {
                      const auto now = Clock::now();
                      const double cpu = ThreadCpu();
                      stretch = std::max(stretch, Seconds(now - last));
                      cpuStretch = std::max(cpuStretch, cpu - lastCpu);
                      last = now;
                      lastCpu = cpu;
                      return 0;
                    }).topics;
        cpuStretch = std::max(cpuStretch, ThreadCpu() - lastCpu);
        stretch = std::max(stretch, Seconds(Clock::now() - last));
        if (cpuStretch > longestCpuStretch) longestCpuStretch = cpuStretch, longestCpuClass = c.name;
        if (stretch > longestStretch) longestStretch = stretch, longestClass = c.name;
      }
      for (int run = 1; run <= o.runs; ++run) {
        const auto start = Clock::now();
        const auto r = kro::search::Search(index, text, option, nullptr, [] { return 0; });
        const double seconds = Seconds(Clock::now() - start);
        ours.seconds.push_back(seconds);
        query.seconds.push_back(seconds);
        if (r.topics != ourTopics) std::fprintf(stderr, "%s: %s answers differently from run to run\n", c.name.c_str(),
                                                kro::Cp1251ToUtf8(text).c_str());
      }
      ourCount += ourTopics.size();
      best += *std::min_element(query.seconds.begin(), query.seconds.end());
      if (query.Percentile(0.5) > slowestMedian) slowestMedian = query.Percentile(0.5), slowest = text;
      std::vector<std::string> utf8Words;
      for (const auto& w : q.words) utf8Words.push_back(kro::Cp1251ToUtf8(w));
      for (size_t p = 0; p < peers.size(); ++p) {
        if (!peers[p]->Supports(q.op)) continue;
        std::vector<uint32_t> found;
        double fastest = 0;
        for (int run = 0; run <= o.runs; ++run) {
          const auto start = Clock::now();
          found = peers[p]->Run(q.op, utf8Words);
          const double seconds = Seconds(Clock::now() - start);
          if (run == 0) continue;
          theirs[p].seconds.push_back(seconds);
          fastest = run == 1 ? seconds : std::min(fastest, seconds);
        }
        peerBest[p] += fastest;
        peerCount[p] += found.size();
        ++compared[p];
        agree[p] += found == ourTopics ? 1 : 0;
        if (found != ourTopics) ReportDifference(c.name, text, peers[p]->name(), ourTopics, found);
      }
    }
    std::fprintf(stderr, "%s: slowest of ours %s, %s\n", c.name.c_str(), kro::Cp1251ToUtf8(slowest).c_str(),
                 Micro(slowestMedian).c_str());
    const double ourMedian = ours.Percentile(0.5);
    kro::bench::ClassFigures& figure = figures.classes[c.name];
    figure.median = ourMedian;
    figure.p95 = ours.Percentile(0.95);
    figure.best = best;
    for (size_t p = 0; p < peers.size(); ++p) {
      const bool ran = !theirs[p].seconds.empty();
      figure.peerMedian.push_back(ran ? theirs[p].Percentile(0.5) : -1);
      figure.peerP95.push_back(ran ? theirs[p].Percentile(0.95) : -1);
      figure.peerBest.push_back(ran ? peerBest[p] : -1);
    }
    std::printf("%-22s %4zu %22s %10s", c.name.c_str(), c.queries.size(),
                (Micro(ourMedian) + " / " + Micro(ours.Percentile(0.95))).c_str(), Micro(best).c_str());
    std::string counts = std::to_string(ourCount) + " (";
    for (size_t p = 0; p < peers.size(); ++p) {
      if (theirs[p].seconds.empty()) {
        std::printf(" %22s %10s %13s", "-", "-", "-");
        counts += std::string(p ? ", " : "") + "-";
        continue;
      }
      const double median = theirs[p].Percentile(0.5);
      char ratio[32];
      std::snprintf(ratio, sizeof ratio, "%.2f", ourMedian / median);
      std::printf(" %22s %10s %13s", (Micro(median) + " / " + Micro(theirs[p].Percentile(0.95))).c_str(),
                  Micro(peerBest[p]).c_str(), ratio);
      counts += std::string(p ? ", " : "") + std::to_string(peerCount[p]) + " " + std::to_string(agree[p]) + "/" +
                std::to_string(compared[p]);
    }
    std::printf("  %s)\n", counts.c_str());
  }
  std::printf("\nlongest stretch of a query without a progress call: %s of CPU time (%s), %s on the wall clock (%s)\n",
              Micro(longestCpuStretch).c_str(), longestCpuClass.c_str(), Micro(longestStretch).c_str(), longestClass.c_str());
  std::printf("\n%-8s %12s %12s %12s\n", "engine", "index MB", "build s", "build CPU s");
  std::printf("%-8s %12.1f %12.1f %12.1f\n", "ours", blob.size() / 1e6, ourBuild, ourBuildCpu);
  for (size_t p = 0; p < peers.size(); ++p) {
    std::printf("%-8s %12.1f %12s %12s\n", peers[p]->name(), peers[p]->SizeBytes() / 1e6,
                peerBuild[p] < 0 ? "reused" : Tenths(peerBuild[p]).c_str(), peerBuildCpu[p] < 0 ? "-" : Tenths(peerBuildCpu[p]).c_str());
    figures.peerBytes.push_back(static_cast<double>(peers[p]->SizeBytes()));
  }
  figures.longestGapCpu = longestCpuStretch;
  figures.longestGapWall = longestStretch;
  figures.ourBytes = static_cast<double>(blob.size());
  figures.ourBuildCpu = ourBuildCpu;
  figures.peerBuildCpu = peerBuildCpu;
  kro::bench::PrintGoals(figures, o.baseline.empty() ? std::map<std::string, kro::bench::ClassFigures>()
                                                     : kro::bench::ReadBaseline(o.baseline));
  return 0;
}
