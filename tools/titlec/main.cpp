// titlec: builds, dumps and verifies title files.
//   titlec build FOLDER -o TITLE [--quiet]   compile an authoring folder
//   titlec dump TITLE                          print every section in readable form
//   titlec verify TITLE                        check every checksum, topic and index
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/base/Cp1251.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "tools/titlec/Compiler.h"

namespace {

using namespace kro;

int Usage() {
  std::fprintf(stderr, "usage: titlec build FOLDER -o TITLE [--quiet] | titlec dump TITLE | titlec verify TITLE\n");
  return 2;
}

// Written beside the target and renamed over it, so a failed build never leaves half a title.
// The disc folder is made when it does not exist yet. Returns an empty string or the reason.
std::string WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  if (ec) return ec.message();
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::filesystem::remove(temp, ec);
      return "the file cannot be created or written";
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (!ec) return {};
  const std::string reason = ec.message();
  std::filesystem::remove(temp, ec);
  return reason;
}

// The full-text index over exactly the texts the runtime gives back, so highlight offsets
// land on the characters the reader sees.
std::vector<uint8_t> BuildFullTextIndex(std::span<const titlec::RegionText> texts) {
  search::SearchIndexBuilder builder;
  for (const titlec::RegionText& t : texts) builder.Add(t.topic, static_cast<int>(t.region), t.text);
  return builder.Finish();
}

int Build(const std::string& folder, const std::string& output, bool quiet) {
  const titlec::DiskFolder source(folder);
  titlec::Diagnostics diags;
  titlec::CompileOptions options;
  options.indexer = BuildFullTextIndex;
  if (!quiet) options.progress = [](const std::string& line) { std::fprintf(stderr, "titlec: %s\n", line.c_str()); };
  const auto start = std::chrono::steady_clock::now();
  const auto result = titlec::Compile(source, options, &diags);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!result) {
    std::fputs(diags.Report().c_str(), stderr);
    std::fprintf(stderr, "titlec: %zu error(s); no title written\n", diags.size());
    return 1;
  }
  if (const std::string why = WriteFileAtomically(output, result->title); !why.empty()) {
    std::fprintf(stderr, "titlec: cannot write %s: %s\n", output.c_str(), why.c_str());
    return 1;
  }
  if (!quiet)
    std::fprintf(stderr, "titlec: %s: %u topics (%u articles), %zu bytes from %llu source bytes in %.2f s (%.1f MB/s)\n",
                 output.c_str(), result->topicCount, result->articleCount, result->title.size(),
                 static_cast<unsigned long long>(result->sourceBytes), seconds,
                 seconds > 0 ? static_cast<double>(result->sourceBytes) / 1e6 / seconds : 0.0);
  return 0;
}

std::unique_ptr<mv::Title> OpenOrReport(const std::string& path) {
  auto title = mv::Title::OpenFile(path, {});
  if (!title) std::fprintf(stderr, "titlec: %s: %s\n", path.c_str(), title.error().ToString().c_str());
  return std::move(title).value_or(nullptr);
}

std::string Utf8(std::string_view cp1251) { return Cp1251ToUtf8(cp1251); }

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

void DumpRegion(const mv::Title& title, uint32_t n, mv::RegionIndex index, const char* label) {
  const auto decoded = title.DecodeRegion(n, index);
  if (!decoded) return (void)std::printf("  %s: DAMAGED %s\n", label, decoded.error().ToString().c_str());
  const mv::Region& region = *decoded;
  if (region.empty()) return;
  std::printf("  %s: %zu paragraphs, %zu runs, %zu hotspots\n", label, region.paragraphs.size(), region.runs.size(),
              region.hotspots.size());
  for (const mv::Hotspot& h : region.hotspots)
    std::printf("    hotspot kind %u hash %s data \"%s\" text %u..%u\n", static_cast<unsigned>(h.kind), Hex(h.hash).c_str(),
                Utf8(h.data).c_str(), h.textBegin, h.textEnd);
  std::printf("    text: %s\n", Utf8(mv::PlainText(region)).c_str());
}

void DumpFullTextIndex(const mv::Title& title) {
  search::SearchError error;
  if (const search::SearchIndex* index = title.FullTextIndex(&error))
    std::printf("full-text index: version %u, %zu bytes, %u topics, %u terms, %zu stop words, %zu pair words\n",
                index->version(), index->sizeBytes(), index->topicCount(), index->termCount(), index->stopWords().size(),
                index->pairWordCount());
  else
    std::printf("full-text index: none (error %d)\n", static_cast<int>(error));
}

int Dump(const std::string& path) {
  const auto title = OpenOrReport(path);
  if (!title) return 1;
  std::printf("topics %u, articles %u, contents %d, fonts %u\n", title->topicCount(), title->articleCount(),
              static_cast<int>(title->contentsTopic()), title->fontCount());
  for (uint32_t i = 0; i < title->fontCount(); ++i)
    if (const auto f = title->Font(i)) std::printf("font %u: %s charset %u\n", i, Utf8(f->face).c_str(), f->charset);
  for (uint32_t n = 0; n < title->topicCount(); ++n) {
    std::printf("topic %u %s \"%s\" prev %d next %d\n", n, std::string(title->TopicContext(n).value_or("?")).c_str(),
                Utf8(title->TopicTitle(n).value_or("")).c_str(), static_cast<int>(title->BrowsePrev(n)),
                static_cast<int>(title->BrowseNext(n)));
    if (const auto data = title->TopicData(n)) std::printf("  data: %s\n", Utf8(*data).c_str());
    DumpRegion(*title, n, mv::RegionIndex::Heading, "heading");
    DumpRegion(*title, n, mv::RegionIndex::Body, "body");
  }
  if (const auto wheel = title->OpenWordWheel("|a")) std::printf("word wheel |a: %u entries\n", wheel->size());
  for (const std::string_view name : title->StoredListNames()) {
    const auto list = title->StoredList(name);
    std::printf("list %s:", Utf8(name).c_str());
    for (const uint32_t t : list.value_or(std::vector<uint32_t>{})) std::printf(" %u", t);
    std::printf("\n");
  }
  for (const std::string_view name : title->BaggageNames())
    std::printf("baggage %s: %zu bytes\n", Utf8(name).c_str(), title->BaggageFile(name).value_or(std::span<const uint8_t>{}).size());
  DumpFullTextIndex(*title);
  return 0;
}

int Verify(const std::string& path) {
  const auto title = OpenOrReport(path);
  if (!title) return 1;
  if (const auto fault = title->Verify()) {
    std::fprintf(stderr, "titlec: %s: %s\n", path.c_str(), fault->ToString().c_str());
    return 1;
  }
  std::printf("%s: sound, %u topics\n", path.c_str(), title->topicCount());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "dump" && argc == 3) return Dump(argv[2]);
  if (command == "verify" && argc == 3) return Verify(argv[2]);
  if (command != "build") return Usage();
  std::string folder, output;
  bool quiet = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc) output = argv[++i];
    else if (arg == "--quiet") quiet = true;
    else if (folder.empty()) folder = arg;
    else return Usage();
  }
  if (folder.empty() || output.empty()) return Usage();
  return Build(folder, output, quiet);
}
