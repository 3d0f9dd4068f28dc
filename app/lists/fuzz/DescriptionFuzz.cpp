// Fuzz target: description lines, header lines and every field list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/lists/DescriptionFields.h"
#include "app/lists/DescriptionText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kro::lists;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (SourceKind kind : {SourceKind::kFile, SourceKind::kMemory}) {
    for (const Line& line : SplitLines(text, kind)) {
      if (line.text.size() > kMaxLineChars) __builtin_trap();
      const auto header = ParseHeaderLine(line.text);
      if (!header) continue;
      ParseTextFields(header->value);
      ParseCheckerFields(header->value);
      ParseSelectCheckerFields(header->value);
      ParseBackground(header->value);
      if (ParseRowStruct(header->value).parts.size() > kMaxRowParts) __builtin_trap();
      for (std::string_view part : SplitParts(header->value)) ParsePictureFields(part);
    }
  }
  return 0;
}
