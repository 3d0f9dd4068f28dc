// Fuzz target: catalogue and caption parsing; the first byte picks the parser.
#include <cstddef>
#include <cstdint>

#include "app/media/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> rest(data + 1, size - 1);
  if (data[0] & 1) {
    auto parsed = kro::media::ParseCatalogue(rest, 600, true);
    if (!parsed && parsed.error().offset > rest.size()) __builtin_trap();
    const auto catalogue = std::move(parsed).Recovered();
    for (const auto& r : catalogue.records)
      if (r.titleOffset + r.titleLength > rest.size() || r.thirdOffset + r.thirdLength > rest.size()) __builtin_trap();
  } else {
    kro::media::FindCaption(rest, "key");
  }
  return 0;
}
