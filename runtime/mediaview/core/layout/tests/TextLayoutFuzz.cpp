// Fuzz target: any region bytes that decode are laid out at a width taken from the first
// two bytes, then hit, ranged, walked with the caret and paginated. Lines must stay inside
// the width (from 100 px) and hit offsets inside the text.
#include <cstdint>
#include <cstdlib>

#include "runtime/mediaview/core/layout/TextLayout.h"

namespace {

class FuzzMeasurer : public kro::mv::layout::Measurer {
public:
  FuzzMeasurer() {
    for (int c = 0; c < 256; ++c) metrics_.advance[c] = static_cast<int16_t>(c % 13);
    metrics_.ascent = 9;
    metrics_.descent = 3;
  }
  const kro::mv::layout::FontMetrics& Metrics(const kro::mv::CharFormat& f) override {
    metrics_.ascent = 4 + f.halfPoints / 3;
    return metrics_;
  }
  kro::mv::layout::Size PictureSize(std::string_view name) override {
    return {static_cast<int>(name.size()) * 37, static_cast<int>(name.size()) * 11};
  }
  int DotsPerInch() const override { return 96; }

private:
  kro::mv::layout::FontMetrics metrics_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int width = 100 + ((data[0] << 8 | data[1]) % 1024);
  const auto decoded = kro::mv::DecodeRegion({data + 2, size - 2}, 4);
  if (!decoded) return 0;
  const kro::mv::Region& region = *decoded;
  FuzzMeasurer measurer;
  const kro::mv::layout::TextLayout layout(region, measurer, {width, 8, 4, 4, 300});
  for (const auto& line : layout.lines())
    if (line.right > width && line.fragmentCount > 1 && line.right - line.left > width) std::abort();
  for (int y = -10; y < layout.height() + 10; y += 7) {
    const auto hit = layout.HitTest((y * 31) % (width + 20) - 10, y);
    if (hit.offset > region.textLength) std::abort();
    layout.MoveCaret(hit.offset, static_cast<kro::mv::layout::CaretMove>(y % 6 < 0 ? 0 : y % 6));
  }
  layout.RangeRects(region.textLength / 3, region.textLength);
  layout.Paginate(50, 200);
  layout.NaturalSize();
  return 0;
}
