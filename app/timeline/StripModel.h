#pragma once
// The timeline's frame-strip picture and its regions, without drawing. Portable: the file
// formats, the frame cache plan and the scroll state with its ring of cached frames.
//
// Strip picture: a BMP with an 8-bit palette whose pixel rows hold F frames of H rows:
//   0   u16 'BM'      8  u16 F (bfReserved2), 1..65535
//   14  BITMAPINFOHEADER (40 bytes): biWidth = W (a multiple of 4), biHeight = F * H,
//       biBitCount 8, uncompressed
//   54  256 RGBQUAD colours
//   1078  pixels: frame f is the W * H bytes at 1078 + f * W * H, frame 0 leftmost
// Region file: u16 count N, then N records of 48 bytes: i32 left, top, right, bottom
//   (left in picture x, top and bottom in viewport y) and a 32-byte context string;
//   sorted by left edge.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::timeline {

constexpr size_t kStripPixelsOffset = 1078;
constexpr size_t kStripInfoBytes = 40 + 1024;  // BITMAPINFOHEADER and the colour table
constexpr int64_t kFrameBudgetBytes = 1'000'000;
constexpr int kMaxCachedFrames = 20;
constexpr int kScrollMax = 32767;

struct StripHeader {
  int frames = 0;
  int width = 0;
  int height = 0;
  // The BITMAPINFOHEADER and colours with biHeight set to one frame's height, so they
  // describe a single frame.
  std::vector<uint8_t> frameInfo;
};

// Refuses anything but an uncompressed 8-bit 'BM' with at least one frame of whole,
// unpadded rows, naming the field at fault.
Result<StripHeader> ParseStripHeader(std::span<const uint8_t> fileStart);

struct CachePlan {
  int visible = 0;  // frames that can show in the viewport at once
  int slots = 0;    // frames the cache holds
};

// Slots come from the pixel budget, capped by the ring's size; nullopt when the budget
// cannot hold the visible frames.
std::optional<CachePlan> PlanCache(int width, int height, int frames, int viewportWidth);

struct Region {
  int32_t left, top, right, bottom;
  std::string context;
};

// A short file is refused (the picture then has no regions). A context string without its
// NUL or regions out of left-edge order are faults too, but Recovered() keeps the regions:
// a cut context and a hit test that stops early still work.
Result<std::vector<Region>> ParseRegions(std::span<const uint8_t> file);
// The region under (pictureX, y), or -1. Regions are sorted by left edge; a point on an
// edge two regions share belongs to the first.
int HitRegion(const std::vector<Region>& regions, int64_t pictureX, int32_t y);

// Scroll position and the ring of cached frames. The loader puts frame f into slot s and
// answers whether it could; a failed load leaves the slot as it was, and the scroller
// remembers that the slot does not hold the frame: it is shown as empty and read again
// the next time the view moves.
class StripScroller {
public:
  using FrameLoader = std::function<bool(int frame, int slot)>;
  StripScroller(const StripHeader& header, const CachePlan& plan, int viewportWidth, FrameLoader loader);

  // True when every visible frame was read.
  bool LoadFirstFrames();
  // Scroll codes as for a horizontal scroll bar: 0/1 by 5 pixels, 2/3 by 50, 4 jumps to
  // `position` (0..32767). Answers the new position.
  int Scroll(int code, int position);
  int Position() const;

  int FirstVisible() const { return static_cast<int>(x_ / width_); }
  int Offset() const { return static_cast<int>(x_ % width_); }
  int64_t PictureX() const { return x_; }
  // The ring slot holding `frame`, or -1 when it is not cached or its read failed.
  int SlotOf(int frame) const;
  int Visible() const { return plan_.visible; }

private:
  int64_t MaxX() const;
  void MoveTo(int64_t x);
  void CacheRight();
  void CacheLeft();
  void Reload(int first);
  void Load(int frame, int slot);
  void RetryMissing();

  int frames_, width_;
  CachePlan plan_;
  int viewportWidth_;
  FrameLoader loader_;
  int64_t x_ = 0;      // picture x at the viewport's left edge
  int firstCached_ = 0;
  int endCached_ = 0;  // frames firstCached_ .. endCached_ - 1 are cached
  int baseSlot_ = 0;   // slot of firstCached_
  std::vector<int> held_;  // the frame each slot holds, -1 for none
};

}  // namespace kro::timeline
