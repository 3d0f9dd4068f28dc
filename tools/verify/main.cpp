// kroverify: checks files of the sample discs with the readers the programs use, and says
// where and why a file is refused.
//   kroverify KIND FILE...   KIND: title movie picture bitmap strip regions catalogue
//                            description bookmarks position
//   kroverify disc FOLDER    every file of a disc folder whose name tells its kind; the
//                            title's catalogues are checked inside it
// Prints "FILE: ok (...)" or "FILE: offset N: cause: message" per file and exits 1
// when any file has a fault.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/lists/DescriptionLoader.h"
#include "app/media/Catalogue.h"
#include "app/navigation/StateFiles.h"
#include "app/timeline/StripModel.h"
#include "app/toolkit/core/BitmapFile.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/quicktime/core/MovieContainer.h"
#include "runtime/quicktime/core/PictureFormat.h"

namespace {

using namespace kro;
using Bytes = std::vector<uint8_t>;

// Catalogue capacities in records: the illustrations gallery, the archive, the others.
constexpr size_t kSlidesCapacity = 12500;
constexpr size_t kArchiveCapacity = 400;
constexpr size_t kGalleryCapacity = 600;

struct Report {
  int faults = 0;
  void Ok(const std::string& name, const std::string& what) {
    std::printf("%s: ok (%s)\n", name.c_str(), what.c_str());
  }
  void Fault(const std::string& name, const ParseError& error) {
    ++faults;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), error.ToString().c_str());
  }
  template <typename T>
  bool Check(const std::string& name, const Result<T>& result) {
    if (!result) Fault(name, result.error());
    return result.ok();
  }
};

std::optional<Bytes> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Num(uint64_t value) { return std::to_string(value); }

void CheckCatalogue(Report& report, const std::string& name, std::span<const uint8_t> bytes, size_t capacity) {
  const bool slides = name.ends_with("slides.dat");
  const auto catalogue = media::ParseCatalogue(bytes, slides ? kSlidesCapacity : capacity, slides);
  if (report.Check(name, catalogue)) report.Ok(name, Num(catalogue->records.size()) + " entries");
}

void CheckTitle(Report& report, const std::string& path) {
  const auto title = mv::Title::OpenFile(path, {});
  if (!report.Check(path, title)) return;
  if (const auto fault = (*title)->Verify()) return report.Fault(path, *fault);
  report.Ok(path, Num((*title)->topicCount()) + " topics");
  for (const std::string_view baggage : (*title)->BaggageNames()) {
    if (!baggage.ends_with(".dat")) continue;  // the caption files have no faults to find
    if (const auto bytes = (*title)->BaggageFile(baggage))
      CheckCatalogue(report, path + "|" + std::string(baggage), *bytes, kGalleryCapacity);
  }
}

struct NullSink : lists::HeaderSink {
  void Apply(lists::Keyword, std::string_view) override {}
};

// Checks one file of a kind other than a title.
void CheckBytes(Report& report, const std::string& kind, const std::string& path, const Bytes& bytes) {
  if (kind == "movie") {
    qt::MemorySource source(bytes);
    const auto movie = qt::ParseMovie(source);
    if (report.Check(path, movie))
      report.Ok(path, Num(movie->width) + " x " + Num(movie->height) + (movie->video ? ", video" : "") +
                          (movie->audio ? ", sound" : ""));
  } else if (kind == "picture") {
    if (const auto sniff = qt::SniffPicture(bytes); report.Check(path, sniff))
      report.Ok(path, qt::FourccText(qt::PictureFormatCode(sniff->format)) + " at " + Num(sniff->offset));
  } else if (kind == "bitmap") {
    if (const auto dib = toolkit::ReadBitmapFile(bytes); report.Check(path, dib))
      report.Ok(path, Num(dib->header.width) + " x " +
                          Num(dib->header.height < 0 ? -dib->header.height : dib->header.height) + ", " +
                          Num(dib->header.bitCount) + " bits");
  } else if (kind == "strip") {
    if (const auto strip = timeline::ParseStripHeader(bytes); report.Check(path, strip))
      report.Ok(path, Num(strip->frames) + " frames of " + Num(strip->width) + " x " + Num(strip->height));
  } else if (kind == "regions") {
    if (const auto regions = timeline::ParseRegions(bytes); report.Check(path, regions))
      report.Ok(path, Num(regions->size()) + " regions");
  } else if (kind == "catalogue") {
    CheckCatalogue(report, path, bytes, kArchiveCapacity);
  } else if (kind == "description") {
    toolkit::TreeNode root(0, nullptr);
    NullSink sink;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const auto entries = lists::LoadDescription(text, lists::SourceKind::kFile, root, sink);
        report.Check(path, entries))
      report.Ok(path, Num(*entries) + " entries");
  } else if (kind == "bookmarks") {
    if (const auto marks = navigation::ParseBookmarks(bytes); report.Check(path, marks))
      report.Ok(path, Num(marks->size()) + " bookmarks");
  } else if (kind == "position") {
    if (const auto entry = navigation::ParseLastPosition(bytes); report.Check(path, entry))
      report.Ok(path, "address " + Num(static_cast<uint32_t>(entry->address)));
  }
}

void CheckFile(Report& report, const std::string& kind, const std::string& path) {
  if (kind == "title") return CheckTitle(report, path);
  const auto bytes = ReadFile(path);
  if (!bytes) return report.Fault(path, {0, ParseCause::Unreadable, "cannot read the file"});
  CheckBytes(report, kind, path, *bytes);
}

// The kind a disc file's name tells, or "" for files no reader of ours reads.
std::string KindOf(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  const std::string ext = file.extension().string();
  if (ext == ".m14") return "title";
  if (ext == ".mov") return "movie";
  if (ext == ".pic" || ext == ".jpg" || ext == ".png" || ext == ".gif") return "picture";
  if (name == "timeline.bmp") return "strip";
  if (ext == ".bmp") return "bitmap";
  if (ext == ".rhs") return "regions";
  if (ext == ".dat") return "catalogue";
  if (name.starts_with("content") && ext == ".txt") return "description";
  if (name == "bookmark.tmp") return "bookmarks";
  if (name == "last.tmp") return "position";
  return "";
}

int Usage() {
  std::fprintf(stderr,
               "usage: kroverify KIND FILE... | kroverify disc FOLDER\n"
               "  KIND: title movie picture bitmap strip regions catalogue description bookmarks position\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  Report report;
  if (command == "disc") {
    if (argc != 3) return Usage();
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[2], error))
      if (entry.is_regular_file()) files.push_back(entry.path());
    if (error) return std::fprintf(stderr, "kroverify: %s: %s\n", argv[2], error.message().c_str()), 2;
    std::sort(files.begin(), files.end());
    int checked = 0;
    for (const auto& file : files)
      if (const std::string kind = KindOf(file); !kind.empty()) {
        CheckFile(report, kind, file.string());
        ++checked;
      }
    std::printf("kroverify: %d files checked, %d with faults\n", checked, report.faults);
  } else {
    static const char* const kKinds[] = {"title",   "movie",     "picture",     "bitmap",    "strip",
                                         "regions", "catalogue", "description", "bookmarks", "position"};
    if (std::find(std::begin(kKinds), std::end(kKinds), command) == std::end(kKinds)) return Usage();
    for (int i = 2; i < argc; ++i) CheckFile(report, command, argv[i]);
  }
  return report.faults == 0 ? 0 : 1;
}
