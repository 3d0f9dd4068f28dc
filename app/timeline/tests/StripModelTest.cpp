#include "app/timeline/StripModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace kro::timeline {
namespace {

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> StripFile(int frames, int width, int height, int bits = 8) {
  std::vector<uint8_t> b(kStripPixelsOffset, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 8, frames, 2);
  Put(b, 14, 40, 4);
  Put(b, 18, width, 4);
  Put(b, 22, height * frames, 4);
  Put(b, 26, 1, 2);
  Put(b, 28, bits, 2);
  return b;
}

TEST(StripHeader, ReadsFramesAndDescribesOneFrame) {
  const auto header = ParseStripHeader(StripFile(10, 200, 400));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->frames, 10);
  EXPECT_EQ(header->width, 200);
  EXPECT_EQ(header->height, 400);
  ASSERT_EQ(header->frameInfo.size(), kStripInfoBytes);
  int32_t height;
  std::memcpy(&height, header->frameInfo.data() + 8, 4);
  EXPECT_EQ(height, 400);
}

TEST(StripHeader, RefusesWhatCannotBeDrawn) {
  auto bad = StripFile(10, 200, 400);
  bad[0] = 'X';
  auto tooFewRows = StripFile(10, 200, 400);
  Put(tooFewRows, 22, 9, 4);  // fewer rows than frames
  auto infoV5 = StripFile(10, 200, 400);
  Put(infoV5, 14, 124, 4);
  const struct {
    std::vector<uint8_t> file;
    const char* error;
  } kCases[] = {
      {bad, "offset 0: bad magic: not a 'BM' bitmap"},
      {StripFile(0, 200, 400), "offset 8: bad value: frame count 0"},
      {infoV5, "offset 14: unknown version: bitmap header size 124, the strip reads 40"},
      {StripFile(10, 202, 400), "offset 18: bad value: width 202, expected a positive multiple of 4"},  // padded rows
      {StripFile(10, 200, 400, 24), "offset 28: unsupported: bit count 24, the strip is 8-bit"},
      {StripFile(10, -200, 400), "offset 18: bad value: width -200, expected a positive multiple of 4"},
      {tooFewRows, "offset 22: bad value: height 9 for 10 frames"},
  };
  for (const auto& c : kCases) {
    const auto header = ParseStripHeader(c.file);
    ASSERT_FALSE(header) << c.error;
    EXPECT_EQ(header.error().ToString(), c.error);
  }
  const auto good = StripFile(3, 8, 4);
  for (size_t size = 0; size < kStripPixelsOffset; ++size) {
    const auto header = ParseStripHeader(std::span(good).first(size));
    ASSERT_FALSE(header) << size;
    EXPECT_EQ(header.error().cause, ParseCause::Truncated) << size;
  }
  EXPECT_EQ(ParseStripHeader(std::span(good).first(1000)).error().ToString(),
            "offset 14: truncated: strip header: needs 1064 bytes, 986 left");
}

TEST(CachePlan, BudgetAndViewportGiveTheCounts) {
  const struct { int w, h, f, viewport, visible, slots; } kCases[] = {
      {200, 400, 10, 598, 4, 10},   // 598/200 leaves a rest: + 2; F caps the slots
      {200, 400, 10, 600, 4, 10},   // exact multiple: + 1
      {300, 400, 20, 598, 3, 8},    // the 1,000,000-byte budget
      {40, 100, 500, 598, 16, 20},  // small frames: capped by the ring's size
      {200, 100, 2, 598, 2, 2},     // narrower than the viewport: all frames at once
  };
  for (const auto& c : kCases) {
    const auto plan = PlanCache(c.w, c.h, c.f, c.viewport);
    ASSERT_TRUE(plan) << c.w << 'x' << c.h;
    EXPECT_EQ(plan->visible, c.visible) << c.w;
    EXPECT_EQ(plan->slots, c.slots) << c.w;
  }
  EXPECT_FALSE(PlanCache(1200, 900, 10, 4000));  // one frame fits the budget, four must show
}

std::vector<uint8_t> RegionFile(const std::vector<Region>& regions) {
  std::vector<uint8_t> b(2 + regions.size() * 48, 0);
  Put(b, 0, static_cast<uint32_t>(regions.size()), 2);
  for (size_t i = 0; i < regions.size(); ++i) {
    const size_t at = 2 + i * 48;
    Put(b, at, regions[i].left, 4);
    Put(b, at + 4, regions[i].top, 4);
    Put(b, at + 8, regions[i].right, 4);
    Put(b, at + 12, regions[i].bottom, 4);
    std::memcpy(&b[at + 16], regions[i].context.data(), regions[i].context.size());
  }
  return b;
}

TEST(Regions, ParseAndHitTestInFileOrder) {
  const std::vector<Region> input = {{0, 10, 100, 90, "topic_a"}, {100, 10, 200, 90, "topic_b"},
                                     {300, 10, 400, 50, "topic_c"}};
  const auto file = RegionFile(input);
  const auto parsed = ParseRegions(file);
  ASSERT_TRUE(parsed) << parsed.error().ToString();
  const std::vector<Region>& regions = *parsed;
  ASSERT_EQ(regions.size(), 3u);
  EXPECT_EQ(regions[1].context, "topic_b");
  EXPECT_EQ(HitRegion(regions, 50, 20), 0);
  EXPECT_EQ(HitRegion(regions, 100, 20), 0);   // a shared edge belongs to the first
  EXPECT_EQ(HitRegion(regions, 150, 20), 1);
  EXPECT_EQ(HitRegion(regions, 250, 20), -1);  // a gap
  EXPECT_EQ(HitRegion(regions, 350, 60), -1);  // below region c
  EXPECT_EQ(HitRegion(regions, 150, 10), -1);  // top and bottom are exclusive
  EXPECT_EQ(HitRegion(regions, 500, 20), -1);
  EXPECT_TRUE(ParseRegions(RegionFile({}))->empty());
}

// A short file leaves no regions; a damaged string or order is reported, the regions kept.
TEST(Regions, FaultsAreNamedByOffset) {
  const auto file = RegionFile({{0, 10, 100, 90, "topic_a"}, {100, 10, 200, 90, "topic_b"}});
  auto unterminated = RegionFile({{0, 0, 10, 10, ""}});
  std::memset(&unterminated[18], 'x', 32);
  const struct {
    std::vector<uint8_t> file;
    const char* error;
    size_t recovered;
  } kCases[] = {
      {{}, "offset 0: truncated: region count: needs 2 bytes, 0 left", 0},
      {std::vector<uint8_t>(file.begin(), file.end() - 1), "offset 2: truncated: 2 regions need 96 bytes, 95 left", 0},
      {unterminated, "offset 18: malformed text: region 0: context string without its NUL", 1},
      {RegionFile({{100, 10, 200, 90, "b"}, {0, 10, 100, 90, "a"}}), "offset 50: out of order: region 1 starts left of the one before", 2},
  };
  for (const auto& c : kCases) {
    auto regions = ParseRegions(c.file);
    ASSERT_FALSE(regions) << c.error;
    EXPECT_EQ(regions.error().ToString(), c.error);
    EXPECT_EQ(std::move(regions).Recovered().size(), c.recovered) << c.error;
  }
  EXPECT_EQ(ParseRegions(unterminated).Recovered()[0].context, std::string(31, 'x'));
}

class ScrollerTest : public testing::Test {
protected:
  void Make(int frames, int width, int viewport) {
    header_ = *ParseStripHeader(StripFile(frames, width, 400));
    plan_ = *PlanCache(width, 400, frames, viewport);
    scroller_.emplace(header_, plan_, viewport, [this](int frame, int slot) {
      slots_[slot] = frame;
      ++loads_;
      return true;
    });
    ASSERT_TRUE(scroller_->LoadFirstFrames());
  }
  // Every visible frame that exists is in the slot the scroller names.
  void ExpectVisibleCached() {
    const int first = scroller_->FirstVisible();
    for (int f = first; f < std::min(first + plan_.visible, header_.frames); ++f) {
      const int slot = scroller_->SlotOf(f);
      ASSERT_GE(slot, 0) << "frame " << f;
      EXPECT_EQ(slots_[slot], f);
    }
  }
  StripHeader header_;
  CachePlan plan_;
  std::optional<StripScroller> scroller_;
  std::map<int, int> slots_;
  int loads_ = 0;
};

TEST_F(ScrollerTest, StepsReadOneFramePerBoundaryAndKeepTheEdges) {
  Make(20, 300, 598);
  EXPECT_EQ(loads_, 3);
  for (int i = 0; i < 6; ++i) scroller_->Scroll(3, 0);  // 300 pixels right
  EXPECT_EQ(scroller_->FirstVisible(), 1);
  EXPECT_EQ(scroller_->Offset(), 0);
  EXPECT_EQ(loads_, 4);
  ExpectVisibleCached();
  for (int i = 0; i < 200; ++i) scroller_->Scroll(3, 0);
  EXPECT_EQ(scroller_->PictureX(), 20 * 300 - 598);  // right edge on the viewport's
  EXPECT_EQ(scroller_->Position(), kScrollMax);
  ExpectVisibleCached();
  for (int i = 0; i < 2000; ++i) scroller_->Scroll(0, 0);
  EXPECT_EQ(scroller_->PictureX(), 0);
  EXPECT_EQ(scroller_->Position(), 0);
  ExpectVisibleCached();
}

TEST_F(ScrollerTest, JumpsRereadOnlyTheVisibleFramesOutsideTheCache) {
  Make(20, 300, 598);
  loads_ = 0;
  EXPECT_EQ(scroller_->Scroll(4, kScrollMax), kScrollMax);
  EXPECT_EQ(scroller_->PictureX(), 20 * 300 - 598);
  EXPECT_EQ(loads_, 2);  // frames 18 and 19: no frame lies past the picture's end
  ExpectVisibleCached();
  loads_ = 0;
  EXPECT_EQ(scroller_->Scroll(4, 0), 0);
  EXPECT_EQ(loads_, 3);
  EXPECT_EQ(scroller_->Scroll(7, 123), 0);  // thumb tracking changes nothing
  const int middle = scroller_->Scroll(4, 16000);
  EXPECT_NEAR(middle, 16000, 10);
  ExpectVisibleCached();
}

TEST_F(ScrollerTest, AReportedPositionJumpsBackToTheSamePixel) {
  Make(10, 200, 598);  // 1402 pixels to scroll over 32767 positions
  for (int64_t x : {1, 20, 701, 1401}) {
    scroller_->Scroll(4, 0);
    while (scroller_->PictureX() < x) scroller_->Scroll(1, 0);
    const int64_t reached = scroller_->PictureX();
    const int position = scroller_->Position();
    scroller_->Scroll(4, 0);
    EXPECT_EQ(scroller_->Scroll(4, position), position) << x;
    EXPECT_EQ(scroller_->PictureX(), reached) << x;
  }
}

TEST_F(ScrollerTest, RingWrapsBothWays) {
  Make(100, 40, 598);  // 20 slots, 16 visible
  for (int i = 0; i < 150; ++i) {
    scroller_->Scroll(1, 0);
    ExpectVisibleCached();
  }
  for (int i = 0; i < 150; ++i) {
    scroller_->Scroll(0, 0);
    ExpectVisibleCached();
  }
  EXPECT_EQ(scroller_->PictureX(), 0);
}

TEST(Scroller, UnreadFramesAreKnownShownEmptyAndReadAgain) {
  const StripHeader header = *ParseStripHeader(StripFile(10, 200, 400));
  const CachePlan plan = *PlanCache(200, 400, 10, 598);
  std::map<int, int> slots;
  bool failing = true;
  int reads = 0;
  StripScroller scroller(header, plan, 598, [&](int frame, int slot) {
    ++reads;
    if (failing && frame == 2) return false;
    slots[slot] = frame;
    return true;
  });
  EXPECT_FALSE(scroller.LoadFirstFrames());
  EXPECT_EQ(scroller.SlotOf(1), 1);
  EXPECT_EQ(scroller.SlotOf(2), -1);  // its slot is not frame 2's
  EXPECT_EQ(reads, 4);
  scroller.Scroll(0, 0);  // no move at the left edge, but the frame is tried again
  EXPECT_EQ(reads, 5);
  failing = false;
  scroller.Scroll(1, 0);
  EXPECT_EQ(scroller.SlotOf(2), 2);
  EXPECT_EQ(slots[2], 2);
  EXPECT_EQ(reads, 6);
  scroller.Scroll(1, 0);
  EXPECT_EQ(reads, 6);  // everything visible is held now
}

TEST(Scroller, AllReadsFailingIsNoSuccess) {
  const StripHeader header = *ParseStripHeader(StripFile(10, 200, 400));
  StripScroller scroller(header, *PlanCache(200, 400, 10, 598), 598, [](int, int) { return false; });
  EXPECT_FALSE(scroller.LoadFirstFrames());
  for (int f = 0; f < 4; ++f) EXPECT_EQ(scroller.SlotOf(f), -1) << f;
}

}  // namespace
}  // namespace kro::timeline
