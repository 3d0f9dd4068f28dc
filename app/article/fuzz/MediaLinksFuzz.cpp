// Fuzz target: the article data-string parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/article/MediaLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto links = kro::article::ParseMediaLinks(text, "D:\\KRO\\", "a");
  for (const auto& picture : links.pictures)
    if (picture.caption.size() > kro::article::kMaxPictureCaption) __builtin_trap();
  return 0;
}
