// Fuzz target: a whole description read as a file and as memory: every header value
// through the field lists, the body into the id tree, and every entry text read back.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/lists/DescriptionFields.h"
#include "app/lists/DescriptionLoader.h"
#include "app/lists/DescriptionText.h"

namespace {

using namespace kro::lists;

struct ParsingSink : HeaderSink {
  void Apply(Keyword, std::string_view value) override {
    if (value.size() > kMaxLineChars) __builtin_trap();
    ParseTextFields(value);
    ParseCheckerFields(value);
    ParseSelectCheckerFields(value);
    ParseBackground(value);
    ParseSpace(value);
    if (ParseRowStruct(value).parts.size() > kMaxRowParts) __builtin_trap();
    for (std::string_view part : SplitParts(value)) ParsePictureFields(part);
  }
};

void ReadEveryEntry(std::string_view text, SourceKind kind, const kro::toolkit::TreeNode& root) {
  std::vector<const kro::toolkit::TreeNode*> stack{&root};
  while (!stack.empty()) {
    const auto* node = stack.back();
    stack.pop_back();
    const std::string_view entry = EntryText(text, node->textOffset, kind);
    if (entry.size() > kMaxLineChars) __builtin_trap();
    for (std::string_view part : SplitParts(entry)) ParseTextFields(part);
    for (int32_t i = 0; i < node->ChildCount(); ++i) stack.push_back(node->Child(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (SourceKind kind : {SourceKind::kFile, SourceKind::kMemory}) {
    ParsingSink sink;
    kro::toolkit::TreeNode root(0, nullptr);
    auto loaded = LoadDescription(text, kind, root, sink);
    if (!loaded && loaded.error().offset > size) __builtin_trap();
    const uint32_t entries = std::move(loaded).Recovered();
    if (entries > kMaxEntries) __builtin_trap();
    ReadEveryEntry(text, kind, root);
  }
  return 0;
}
