// Finding articles on a generated title of N topics (100,000 by default): how long typing a
// prefix in the contents takes to find its entry, unfiltered and in a category filter; the
// longest gap between two calls of the message pump while a query runs; and the work of
// opening a result with its highlights (the topic's texts and its found words).
//   finder_bench [--topics N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/navigation/ContentsPosition.h"
#include "runtime/mediaview/bench/GeneratedTitles.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/TopicList.h"
#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "tools/titlec/Compiler.h"

namespace {

using namespace kro;
using bench::TitleOf;
using bench::U8;
using bench::Word;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Thirty categories; every topic is in one or two of them, every third is illustrated.
void Generate(titlec::MemoryFolder* folder, uint32_t topics) {
  std::mt19937 rng(4321);
  std::string manifest = U8(u8"contents: topic_0\nlist 107: Статьи с иллюстрациями\n");
  for (int c = 0; c < 30; ++c) manifest += "list " + std::to_string(200 + c) + U8(u8": Раздел\n");
  folder->Put("manifest.txt", manifest);
  for (uint32_t i = 0; i < topics; ++i) {
    std::string lists = std::to_string(200 + rng() % 30);
    if (rng() % 4 == 0) lists += ", " + std::to_string(200 + (i + 7) % 30);
    if (i % 3 == 0) lists += ", 107";
    std::string text = "---\ncontext: topic_" + std::to_string(i) + "\ntitle: " + TitleOf(i) + "\nlists: " + lists + "\n---\n# " +
                       TitleOf(i) + "\n\n";
    for (int p = 0; p < 4; ++p) {
      text += U8(u8"Река и город, ") + Word(rng() % 3000);
      for (int w = 0; w < 25; ++w) text += " " + Word(rng() % 30000);
      text += ".\n\n";
    }
    folder->Put("articles/" + std::to_string(i) + ".md", text);
  }
}

struct Spread {
  double median = 0, worst = 0;
};

Spread SpreadOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.back()};
}

// Where the contents dialog puts the selection for `prefix`: the word-wheel entry, or
// within a filter the entry's first topic's place in the shown list.
int32_t Select(const mv::WordWheel& wheel, const mv::TopicList* shown, const std::string& prefix) {
  const uint32_t entry = wheel.Prefix(prefix);
  if (!shown) return static_cast<int32_t>(entry);
  uint32_t topic = 0;
  if (entry >= wheel.size() || wheel.Addresses(entry, 0, {&topic, 1}) != 1) return static_cast<int32_t>(shown->size());
  return navigation::PositionInList(static_cast<int32_t>(topic), static_cast<int32_t>(shown->size()),
                                    [shown](int32_t i) { return static_cast<int32_t>(shown->At(i)); });
}

void MeasurePrefixes(const mv::Title& title, std::mt19937& rng) {
  const auto wheel = title.OpenWordWheel("|a");
  mv::TopicList shown;
  for (const char* name : {"200", "201", "202", "203"})
    shown = mv::TopicList::Combine(mv::ListOp::Union, shown, mv::TopicList(*title.StoredList(name)));
  shown = mv::TopicList::Combine(mv::ListOp::Intersection, shown, mv::TopicList(*title.StoredList("107")));
  std::vector<std::string> prefixes;
  for (int i = 0; i < 20000; ++i) {
    const std::string key(*wheel->Key(rng() % wheel->size()));
    prefixes.push_back(key.substr(0, 8 + rng() % 8));
  }
  const mv::TopicList* const lists[] = {nullptr, &shown};
  for (const mv::TopicList* list : lists) {
    std::vector<double> times;
    int64_t sum = 0;
    for (const std::string& p : prefixes) {
      const auto start = Clock::now();
      sum += Select(*wheel, list, p);
      times.push_back(Ms(Clock::now() - start) * 1000);
    }
    const Spread s = SpreadOf(times);
    std::printf("prefix to selection, %s: median %.2f us, worst %.1f us (a frame is 16,700 us) [%lld]\n",
                list ? "four categories and the illustrated box" : "no filter", s.median, s.worst,
                static_cast<long long>(sum % 10));
  }
  std::printf("  filtered list: %u of %u entries\n", shown.size(), wheel->size());
}

void MeasureQueries(const mv::Title& title, std::mt19937& rng) {
  search::SearchError error{};
  const search::SearchIndex* index = title.FullTextIndex(&error);
  if (!index) return void(std::puts("no full-text index"));
  // Queries are cp1251, as the programs pass them (the sources above are UTF-8 authoring text).
  const std::string queries[] = {"река", "река ИЛИ город", "\"река и город\"", "ба* ИЛИ ве*", "река НЕ город",
                                 "река РЯДОМ город"};
  std::shared_ptr<search::HighlightSource> highlights;
  std::vector<uint32_t> found;
  for (const std::string& q : queries) {
    for (int option : {0, 1}) {
      Clock::time_point last = Clock::now();
      const Clock::time_point start = last;
      double gap = 0;
      int calls = 0;
      const auto result = search::Search(*index, q, option, nullptr, [&] {
        const auto now = Clock::now();
        gap = std::max(gap, Ms(now - last));
        last = now;
        ++calls;
        return 0;
      });
      gap = std::max(gap, Ms(Clock::now() - last));
      std::printf("query %-22s %s: %6zu found in %7.1f ms, %4d pump calls, longest gap %.1f ms (goal under 30)\n",
                  ("'" + q + "'").c_str(), option == 0 ? "forms" : "exact", result.topics.size(), Ms(Clock::now() - start),
                  calls, gap);
      if (!highlights && option == 0 && result.highlights) {
        highlights = result.highlights;
        found = result.topics;
      }
    }
  }
  if (!highlights || found.empty()) return;
  std::vector<double> times;
  size_t words = 0;
  for (int i = 0; i < 2000; ++i) {
    const uint32_t topic = found[rng() % found.size()];
    const auto start = Clock::now();
    const std::string heading = title.RegionText(topic, mv::RegionIndex::Heading).value_or("");
    const std::string body = title.RegionText(topic, mv::RegionIndex::Body).value_or("");
    words += highlights->InTopic(topic, heading, body).size();
    times.push_back(Ms(Clock::now() - start));
  }
  const Spread s = SpreadOf(times);
  std::printf("opening a result: texts and highlights of the topic, median %.3f ms, worst %.3f ms (goal under 20) [%zu words]\n",
              s.median, s.worst, words);
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t topics = 100000;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::string(argv[i]) == "--topics") topics = static_cast<uint32_t>(std::atoi(argv[i + 1]));
  titlec::MemoryFolder folder;
  Generate(&folder, topics);
  titlec::Diagnostics diags;
  titlec::CompileOptions options;
  options.indexer = [](std::span<const titlec::RegionText> texts) {
    search::SearchIndexBuilder builder;
    for (const titlec::RegionText& t : texts) builder.Add(t.topic, static_cast<int>(t.region), t.text);
    return builder.Finish();
  };
  const auto start = Clock::now();
  const auto compiled = titlec::Compile(folder, options, &diags);
  if (!compiled) return std::fputs(diags.Report().substr(0, 2000).c_str(), stderr), 1;
  std::printf("%u topics compiled in %.1f s into a %.1f MB title\n", topics, Ms(Clock::now() - start) / 1000,
              compiled->title.size() / 1e6);
  auto opened = mv::Title::Open(compiled->title, {});
  if (!opened) return std::fprintf(stderr, "open failed: %s\n", opened.error().ToString().c_str()), 1;
  std::mt19937 rng(99);
  MeasurePrefixes(**opened, rng);
  MeasureQueries(**opened, rng);
  return 0;
}
