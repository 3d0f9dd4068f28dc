#include "app/timeline/StripModel.h"

#include <algorithm>

#include "runtime/base/ByteReader.h"
#include "runtime/base/ByteWriter.h"

namespace kro::timeline {
namespace {

constexpr size_t kRegionBytes = 48;
constexpr size_t kContextBytes = 32;
constexpr int kLineStep = 5;
constexpr int kPageStep = 50;

}  // namespace

Result<StripHeader> ParseStripHeader(std::span<const uint8_t> fileStart) {
  ByteReader r(fileStart);
  const uint16_t type = r.U16();
  if (r.ok() && type != 0x4D42) return ParseError{0, ParseCause::BadMagic, "not a 'BM' bitmap"};
  r.Skip(6);
  const uint16_t frames = r.U16();
  r.Skip(4);
  const auto info = r.Bytes(kStripInfoBytes);
  if (!r.ok()) return r.Error("strip header");
  if (frames == 0) return ParseError{8, ParseCause::BadValue, "frame count 0"};
  ByteReader h(info, 14);
  const uint32_t headerSize = h.U32();
  const int32_t width = h.I32();
  const int32_t height = h.I32();
  h.U16();  // planes
  const uint16_t bitCount = h.U16();
  const uint32_t compression = h.U32();
  if (headerSize != 40)
    return ParseError{14, ParseCause::UnknownVersion,
                      "bitmap header size " + std::to_string(headerSize) + ", the strip reads 40"};
  if (bitCount != 8)
    return ParseError{28, ParseCause::Unsupported, "bit count " + std::to_string(bitCount) + ", the strip is 8-bit"};
  if (compression != 0) return ParseError{30, ParseCause::Unsupported, "compression " + std::to_string(compression)};
  // Rows are not padded in the file, so only widths that need no padding work.
  if (width <= 0 || width % 4 != 0)
    return ParseError{18, ParseCause::BadValue,
                      "width " + std::to_string(width) + ", expected a positive multiple of 4"};
  if (height <= 0 || height / frames == 0)
    return ParseError{22, ParseCause::BadValue,
                      "height " + std::to_string(height) + " for " + std::to_string(frames) + " frames"};
  StripHeader header;
  header.frames = frames;
  header.width = width;
  header.height = height / frames;
  header.frameInfo.assign(info.begin(), info.end());
  PutLE32(header.frameInfo.data() + 8, static_cast<uint32_t>(header.height));
  return header;
}

std::optional<CachePlan> PlanCache(int width, int height, int frames, int viewportWidth) {
  if (width <= 0 || height <= 0 || frames <= 0 || viewportWidth < 0) return std::nullopt;
  CachePlan plan;
  plan.visible = viewportWidth / width + (viewportWidth % width == 0 ? 1 : 2);
  const int64_t frameBytes = int64_t{width} * height;
  int64_t total = frameBytes * frames;
  while (total > kFrameBudgetBytes) total -= frameBytes;
  plan.slots = static_cast<int>(std::min<int64_t>(total / frameBytes, kMaxCachedFrames));
  // A picture narrower than the viewport shows all of its frames at once.
  plan.visible = std::min(plan.visible, frames);
  if (plan.slots < plan.visible) return std::nullopt;
  return plan;
}

Result<std::vector<Region>> ParseRegions(std::span<const uint8_t> file) {
  ByteReader r(file);
  const uint16_t count = r.U16();
  if (!r.ok()) return r.Error("region count");
  if (!RangeFits(r.offset(), uint64_t{count} * kRegionBytes, file.size()))
    return ParseError{2, ParseCause::Truncated,
                      std::to_string(count) + " regions need " + std::to_string(count * kRegionBytes) + " bytes, " +
                          std::to_string(file.size() - 2) + " left"};
  std::vector<Region> regions(count);
  std::optional<ParseError> fault;
  for (size_t i = 0; i < regions.size(); ++i) {
    Region& region = regions[i];
    const size_t at = r.offset();
    region.left = r.I32();
    region.top = r.I32();
    region.right = r.I32();
    region.bottom = r.I32();
    const std::string_view context = r.Text(kContextBytes);
    if (!fault && context.find('\0') == std::string_view::npos)
      fault = ParseError{at + 16, ParseCause::MalformedText,
                         "region " + std::to_string(i) + ": context string without its NUL"};
    region.context.assign(context.substr(0, std::min(context.find('\0'), kContextBytes - 1)));
    // The hit test stops at the first region to the right of the point.
    if (!fault && i > 0 && region.left < regions[i - 1].left)
      fault = ParseError{at, ParseCause::OutOfOrder, "region " + std::to_string(i) + " starts left of the one before"};
  }
  if (fault) return {*std::move(fault), std::move(regions)};
  return regions;
}

int HitRegion(const std::vector<Region>& regions, int64_t pictureX, int32_t y) {
  for (size_t i = 0; i < regions.size(); ++i) {
    const Region& region = regions[i];
    if (region.right < pictureX) continue;
    if (region.left > pictureX) return -1;  // sorted: nothing further can contain x
    if (region.top < y && y < region.bottom) return static_cast<int>(i);
  }
  return -1;
}

StripScroller::StripScroller(const StripHeader& header, const CachePlan& plan, int viewportWidth, FrameLoader loader)
    : frames_(header.frames), width_(header.width), plan_(plan), viewportWidth_(viewportWidth),
      loader_(std::move(loader)), held_(static_cast<size_t>(plan.slots), -1) {}

int64_t StripScroller::MaxX() const {
  return std::max<int64_t>(0, int64_t{width_} * frames_ - viewportWidth_);
}

int StripScroller::Position() const {
  const int64_t span = MaxX();
  return span == 0 ? 0 : static_cast<int>(x_ * kScrollMax / span);
}

int StripScroller::SlotOf(int frame) const {
  if (frame < firstCached_ || frame >= endCached_) return -1;
  const int slot = (baseSlot_ + frame - firstCached_) % plan_.slots;
  return held_[slot] == frame ? slot : -1;
}

bool StripScroller::LoadFirstFrames() {
  Reload(0);
  for (int f = 0; f < plan_.visible; ++f)
    if (SlotOf(f) < 0) return false;
  return true;
}

// A slot whose read fails keeps its old bitmap, which no longer belongs to any frame.
void StripScroller::Load(int frame, int slot) {
  held_[slot] = loader_(frame, slot) ? frame : -1;
}

void StripScroller::RetryMissing() {
  const int first = FirstVisible();
  const int last = std::min(first + plan_.visible, endCached_);
  for (int f = std::max(first, firstCached_); f < last; ++f)
    if (SlotOf(f) < 0) Load(f, (baseSlot_ + f - firstCached_) % plan_.slots);
}

void StripScroller::Reload(int first) {
  baseSlot_ = 0;
  firstCached_ = first;
  endCached_ = first;
  const int last = std::min(first + plan_.visible, frames_);
  for (int f = first; f < last; ++f) {
    Load(f, f - first);
    endCached_ = f + 1;
  }
}

// One frame more on the right; the oldest frame goes when the ring is full.
void StripScroller::CacheRight() {
  if (endCached_ - firstCached_ == plan_.slots) {
    baseSlot_ = (baseSlot_ + 1) % plan_.slots;
    ++firstCached_;
  }
  Load(endCached_, (baseSlot_ + endCached_ - firstCached_) % plan_.slots);
  ++endCached_;
}

// One frame more on the left; the newest frame goes when the ring is full.
void StripScroller::CacheLeft() {
  if (endCached_ - firstCached_ == plan_.slots) --endCached_;
  baseSlot_ = (baseSlot_ - 1 + plan_.slots) % plan_.slots;
  --firstCached_;
  Load(firstCached_, baseSlot_);
}

void StripScroller::MoveTo(int64_t x) {
  x_ = std::clamp<int64_t>(x, 0, MaxX());
  const int first = FirstVisible();
  const int last = std::min(first + plan_.visible, frames_);  // one past the last visible frame
  if (first >= endCached_ || last <= firstCached_ || last - first > plan_.slots) {
    Reload(first);
    return;
  }
  RetryMissing();
  // Single steps read at most one new frame per frame boundary crossed.
  while (endCached_ < last) CacheRight();
  while (firstCached_ > first) CacheLeft();
}

int StripScroller::Scroll(int code, int position) {
  switch (code) {
    case 0: MoveTo(x_ - kLineStep); break;
    case 1: MoveTo(x_ + kLineStep); break;
    case 2: MoveTo(x_ - kPageStep); break;
    case 3: MoveTo(x_ + kPageStep); break;
    // Rounded up, so that jumping to a position the scroller reported comes back to the
    // same pixel and reports the same position (the timeline reopens where it was left).
    case 4: MoveTo((MaxX() * std::clamp(position, 0, kScrollMax) + kScrollMax - 1) / kScrollMax); break;
    default: break;
  }
  return Position();
}

}  // namespace kro::timeline
