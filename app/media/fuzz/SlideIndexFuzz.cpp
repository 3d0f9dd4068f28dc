// Fuzz target: the illustrations gallery over a catalogue from disk. The first line is the
// typed text; the rest is "slides.dat", whose third fields become picture lists and whose
// titles the type-ahead walks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/media/SlideIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = std::min(input.find('\n'), input.size());
  const std::string typed = kro::media::NormaliseTyped(input.substr(0, split));
  const std::string_view text = split < input.size() ? input.substr(split + 1) : std::string_view();
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  const auto catalogue = kro::media::ParseCatalogue(bytes, 12500, true).Recovered();
  const auto field = [&](uint32_t offset, uint32_t length) { return std::string(text.substr(offset, length)); };
  for (const auto& r : catalogue.records) {
    const auto list = kro::media::BuildPictureList(field(r.thirdOffset, r.thirdLength), "t", "D:\\",
                                                   [](const std::string& f, const std::string& n) { return f + n; });
    for (const auto& p : list)
      if (p.thumbnailPath.empty()) __builtin_trap();
  }
  const int count = static_cast<int>(catalogue.records.size());
  const int found = kro::media::FindTyped(typed, catalogue, [&](int i) {
    if (i < 0 || i >= count) __builtin_trap();
    const auto& r = catalogue.records[static_cast<size_t>(i)];
    return field(r.titleOffset, r.titleLength);
  });
  if (found < 0 || (count > 0 && found >= count)) __builtin_trap();
  return 0;
}
