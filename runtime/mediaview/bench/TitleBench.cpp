// Title benchmark: generates a title of N topics (100,000 by default) with titlec's
// compiler, then times what the programs do with it.
//   title_bench [--topics N] [--keep PATH]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "runtime/mediaview/bench/GeneratedTitles.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/TopicList.h"
#include "tools/titlec/Compiler.h"

namespace {

using namespace kro;
using bench::TitleOf;
using bench::U8;
using bench::Word;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void Generate(titlec::MemoryFolder* folder, uint32_t topics) {
  std::mt19937 rng(12345);
  folder->Put("manifest.txt", U8(u8"contents: topic_0\nlist 107: Статьи с иллюстрациями\n"));
  for (uint32_t i = 0; i < topics; ++i) {
    std::string text = "---\ncontext: topic_" + std::to_string(i) + "\ntitle: " + TitleOf(i) + "\nlists: " +
                       std::to_string(rng() % 30) + (i % 3 == 0 ? ", 107" : "") + "\n";
    if (i % 5 == 0) text += "pict: p" + std::to_string(i) + U8(u8".jpg | Подпись к картинке\n");
    text += "---\n# " + TitleOf(i) + "\n\n";
    for (int p = 0; p < 3; ++p) {
      text += U8(u8"Абзац о предмете **") + Word(rng() % 5000) + U8(u8"** и его истории; см. [статью](#topic_") +
              std::to_string(rng() % topics) + U8(u8") и [пояснение](popup:topic_") + std::to_string(rng() % topics) + ").";
      for (int w = 0; w < 12; ++w) text += " " + Word(rng() % 20000);
      text += ".\n\n";
    }
    folder->Put("articles/" + std::to_string(i) + ".md", text);
  }
}

template <typename Fn>
double Median(int runs, Fn fn) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    fn();
    t.push_back(Seconds(start));
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t topics = 100000;
  std::string keep;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--topics") topics = static_cast<uint32_t>(std::atoi(argv[i + 1]));
    else if (std::string(argv[i]) == "--keep") keep = argv[i + 1];
  }
  titlec::MemoryFolder folder;
  auto start = Clock::now();
  Generate(&folder, topics);
  std::printf("generated %u topics in %.2f s\n", topics, Seconds(start));

  titlec::Diagnostics diags;
  start = Clock::now();
  const auto result = titlec::Compile(folder, {}, &diags);
  const double compileSeconds = Seconds(start);
  if (!result) {
    std::fputs(diags.Report().substr(0, 2000).c_str(), stderr);
    return 1;
  }
  std::printf("titlec: %.1f MB of sources -> %.1f MB title in %.2f s: %.1f MB/s\n", result->sourceBytes / 1e6,
              result->title.size() / 1e6, compileSeconds, result->sourceBytes / 1e6 / compileSeconds);

  const std::string path = keep.empty() ? (std::filesystem::temp_directory_path() / "title_bench.m14").string() : keep;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(result->title.data()), result->title.size());

  const double open = Median(21, [&] { (void)mv::Title::OpenFile(path, {}); });
  std::printf("open: %.3f ms (median of 21; goal under 5 ms)\n", open * 1e3);
  auto opened = mv::Title::OpenFile(path, {});
  if (!opened) return std::fprintf(stderr, "open failed: %s\n", opened.error().ToString().c_str()), 1;
  const auto title = *std::move(opened);
  start = Clock::now();
  const auto wheel = title->OpenWordWheel("|a");
  const auto firstName = title->TopicTitle(topics / 2);
  std::printf("first word wheel open and topic title (checks their sections once): %.3f ms\n", Seconds(start) * 1e3);
  if (!wheel || !firstName) return 1;

  std::mt19937 rng(7);
  constexpr int kLookups = 100000;
  std::vector<uint32_t> indexes(kLookups);
  for (auto& i : indexes) i = rng() % wheel->size();
  start = Clock::now();
  size_t bytes = 0;
  for (const uint32_t i : indexes) bytes += wheel->Key(i)->size();
  std::printf("word wheel lookup by index: %.0f ns\n", Seconds(start) / kLookups * 1e9);
  std::vector<std::string> prefixes;
  for (int i = 0; i < 10000; ++i) {
    const std::string key(*wheel->Key(rng() % wheel->size()));
    prefixes.push_back(key.substr(0, 8 + rng() % 6));
  }
  start = Clock::now();
  for (const std::string& p : prefixes) bytes += wheel->Prefix(p);
  std::printf("word wheel lookup by prefix: %.2f us\n", Seconds(start) / prefixes.size() * 1e6);

  std::vector<uint32_t> evens, thirds;
  for (uint32_t i = 0; i < 100000; ++i) {
    evens.push_back(2 * i);
    thirds.push_back(3 * i);
  }
  const mv::TopicList a(evens), b(thirds);
  for (const auto& [op, name] : {std::pair{mv::ListOp::Intersection, "intersection"}, std::pair{mv::ListOp::Union, "union"},
                                 std::pair{mv::ListOp::Difference, "difference"}}) {
    const double t = Median(11, [&] { bytes += mv::TopicList::Combine(op, a, b).size(); });
    std::printf("topic-list %s of two 100,000-entry lists: %.3f ms\n", name, t * 1e3);
  }
  if (keep.empty()) std::filesystem::remove(path);
  return bytes == 0;  // keeps the measured work from being optimised away
}
