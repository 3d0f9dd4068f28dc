#pragma once
// Builds a title from an authoring folder (docs/authoring.md). Every authoring error is
// collected with its file and line; the build succeeds only when there is none. The same
// sources always give the same bytes.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/mediaview/core/Title.h"
#include "tools/titlec/Diagnostics.h"
#include "tools/titlec/SourceFolder.h"

namespace kro::titlec {

// The plain text of one region, as the runtime gives it (offsets count its bytes).
struct RegionText {
  uint32_t topic;
  mv::RegionIndex region;
  std::string text;  // cp1251
};

// Produces the full-text index section from every region's plain text.
using FullTextIndexer = std::function<std::vector<uint8_t>(std::span<const RegionText>)>;

struct CompileOptions {
  std::function<void(const std::string&)> progress;  // long builds report here
  FullTextIndexer indexer;                          // none: the title has no full-text index
};

struct CompileResult {
  std::vector<uint8_t> title;
  uint64_t sourceBytes = 0;
  uint32_t topicCount = 0;
  uint32_t articleCount = 0;
};

std::optional<CompileResult> Compile(const SourceFolder& folder, const CompileOptions& options, Diagnostics* diags);

// The letter folder of an article title: taken from its first byte at or above 0xC0, as
// the reader does when it picks the picture folder; empty when the title has none.
std::string LetterFolder(std::string_view cp1251Title);

}  // namespace kro::titlec
