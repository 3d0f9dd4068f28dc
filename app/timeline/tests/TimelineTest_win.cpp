// The strip bitmap on real windows and DCs, and the timeline frame driven by the messages a
// user's mouse would send.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/timeline/StripBitmap_win.h"
#include "app/timeline/TimelineWindow_win.h"
#include "app/timeline/tests/StripFiles_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::timeline {
namespace {

using testing::FrameColour;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kFrameBytes = 200 * 400;

// A top-level window the size of the timeline's strip, for the strip bitmap alone.
class StripBitmapTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(wintest::RegisterTestClass("StripHost", DefWindowProcA));
    window_ = CreateWindowExA(0, "StripHost", "", WS_POPUP, 0, 0, 598, 416, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window_);
  }
  void TearDown() override { DestroyWindow(window_); }

  StripBitmap Make(int frames, int keepFrames = -1) {
    EXPECT_TRUE(testing::WriteStripFile(folder_ / "strip.bmp", frames, 200, 400, keepFrames));
    EXPECT_TRUE(testing::WriteRegionFile(folder_ / "strip.rhs", {{100, 10, 300, 100, "topic_a"},
                                                                  {300, 10, 500, 100, "topic_b"},
                                                                  {1500, 200, 1700, 300, "topic_c"}}));
    return StripBitmap({window_, {0, 0, 598, 400}, folder_ / "strip.bmp", folder_ / "strip.rhs", nullptr});
  }
  // The frame on screen at viewport x, told by its colour; -1 for white, -2 for anything else.
  int FrameAt(StripBitmap& strip, int x) {
    wintest::Canvas canvas(598, 416, RGB(1, 2, 3));
    RECT all{0, 0, 598, 416};
    strip.Paint(&all, window_, canvas.Dc());
    const COLORREF c = canvas.At(x, 200);
    if (c == kWhite) return -1;
    for (int f = 0; f < 255; ++f)
      if (c == FrameColour(f)) return f;
    return -2;
  }
  // The one WM_COMMAND the strip bitmap posted, or 0.
  WPARAM PostedCommand(LPARAM* lParam) {
    MSG msg;
    if (!PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) return 0;
    *lParam = msg.lParam;
    return msg.wParam;
  }

  wintest::TemporaryFolder folder_;
  HWND window_ = nullptr;
};

TEST_F(StripBitmapTest, ShowsTheFramesSideBySideAndScrollsThem) {
  StripBitmap strip = Make(10);
  ASSERT_TRUE(strip.LoadFirstFrames());
  EXPECT_EQ(strip.Kind(), 7);
  EXPECT_EQ(strip.Scroller()->Visible(), 4);  // 598 = 2 * 200 + 198: two more
  EXPECT_EQ(strip.Counters().framesRead, 4);
  EXPECT_EQ(FrameAt(strip, 0), 0);
  EXPECT_EQ(FrameAt(strip, 199), 0);
  EXPECT_EQ(FrameAt(strip, 200), 1);
  EXPECT_EQ(FrameAt(strip, 597), 2);

  EXPECT_EQ(strip.Scroll(SB_LINERIGHT, 0), 5 * 32767 / (2000 - 598));
  EXPECT_EQ(FrameAt(strip, 194), 0);
  EXPECT_EQ(FrameAt(strip, 195), 1);
  EXPECT_EQ(strip.Scroll(SB_PAGELEFT, 0), 0);  // stops at the picture's start
  EXPECT_EQ(FrameAt(strip, 0), 0);

  EXPECT_EQ(strip.Scroll(SB_THUMBPOSITION, 32767), 32767);
  EXPECT_EQ(FrameAt(strip, 597), 9);  // the picture's right edge on the viewport's
  EXPECT_EQ(FrameAt(strip, 597 - 199), 9);
  EXPECT_EQ(FrameAt(strip, 597 - 200), 8);
  EXPECT_EQ(strip.Scroll(SB_PAGERIGHT, 0), 32767);
  EXPECT_EQ(strip.Scroll(SB_THUMBTRACK, 100), 32767);  // dragging moves nothing
  // The jump past the cache read the visible frames into the slots of the first ones.
  EXPECT_EQ(strip.Counters().peakBytesHeld, 4 * kFrameBytes);
}

TEST_F(StripBitmapTest, UnreadableFramesAreWhiteAndKnown) {
  StripBitmap strip = Make(10, 2);  // the file ends after frame 1
  EXPECT_FALSE(strip.LoadFirstFrames());
  EXPECT_EQ(strip.Counters().framesRead, 2);
  EXPECT_EQ(FrameAt(strip, 100), 0);
  EXPECT_EQ(FrameAt(strip, 300), 1);
  EXPECT_EQ(FrameAt(strip, 500), -1);
  EXPECT_EQ(strip.Counters().bytesHeld, 2 * kFrameBytes);
}

TEST_F(StripBitmapTest, AnUnusablePictureDrawsNothingAndIgnoresTheMouse) {
  StripBitmap missing({window_, {0, 0, 598, 400}, folder_ / "none.bmp", folder_ / "none.rhs", nullptr});
  EXPECT_EQ(missing.StateValue(), RectView::kUnusable);
  EXPECT_FALSE(missing.LoadFirstFrames());
  EXPECT_EQ(FrameAt(missing, 10), -2);  // the canvas as it was
  EXPECT_FALSE(missing.MouseMove(150, 50, 0, window_, 1));
  EXPECT_EQ(missing.Scroll(SB_PAGERIGHT, 0), 0);

  ASSERT_TRUE(testing::WriteStripFile(folder_ / "zero.bmp", 0, 200, 400));  // no frames
  StripBitmap zero({window_, {0, 0, 598, 400}, folder_ / "zero.bmp", "", nullptr});
  EXPECT_EQ(zero.StateValue(), RectView::kUnusable);
}

TEST_F(StripBitmapTest, TheClickReportsTheRegionOfTheLastMouseMove) {
  StripBitmap strip = Make(10);
  ASSERT_TRUE(strip.LoadFirstFrames());
  EXPECT_EQ(strip.RegionCount(), 3u);
  LPARAM from = 0;
  EXPECT_TRUE(strip.MouseMove(300, 50, 0, window_, 1));  // the edge a and b share: a
  EXPECT_EQ(strip.SelectedRegionText(), "topic_a");
  EXPECT_TRUE(strip.ButtonUp(590, 390, window_, 1));  // the release point is not tested again
  EXPECT_EQ(PostedCommand(&from), kRegionClicked);
  EXPECT_EQ(from, reinterpret_cast<LPARAM>(&strip));

  EXPECT_TRUE(strip.MouseMove(550, 50, 0, window_, 1));  // between the regions
  EXPECT_EQ(strip.SelectedRegionText(), std::nullopt);
  strip.ButtonUp(150, 50, window_, 1);
  EXPECT_EQ(PostedCommand(&from), 0u);

  // Regions are in picture coordinates: c comes into view at the end.
  strip.Scroll(SB_THUMBPOSITION, 32767);
  EXPECT_TRUE(strip.MouseMove(1600 - (2000 - 598), 250, 0, window_, 1));
  EXPECT_EQ(strip.SelectedRegionText(), "topic_c");
  EXPECT_FALSE(strip.MouseMove(100, 410, 0, window_, 1));  // below the viewport: kept
  EXPECT_EQ(strip.SelectedRegionText(), "topic_c");
  strip.SetState(RectView::kIgnoresMouse, nullptr);
  EXPECT_FALSE(strip.ButtonUp(10, 10, window_, 1));
  EXPECT_EQ(PostedCommand(&from), 0u);
}

// --- the timeline frame --------------------------------------------------------------------

std::vector<std::string> gOpened;
void RememberArticle(const char* context) { gOpened.emplace_back(context); }

class TimelineTest : public ::testing::Test {
protected:
  void SetUp() override {
    gOpened.clear();
    ASSERT_TRUE(wintest::RegisterTestClass(kTimelineFrameClass, TimelineFrameProc));
    ASSERT_TRUE(wintest::RegisterTestClass(kTimelineStripClass, TimelineStripProc));
    ASSERT_TRUE(wintest::RegisterTestClass("TimelineOwner", DefWindowProcA));
    owner_ = CreateWindowExA(0, "TimelineOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_TRUE(owner_);
    CreateDirectoryA((disc_ / "timeline").c_str(), nullptr);
    ASSERT_TRUE(testing::WriteStripFile(disc_ / "timeline\\timeline.bmp", 10, 200, 400));
    ASSERT_TRUE(testing::WriteRegionFile(disc_ / "timeline\\timeline.rhs",
                                         {{100, 10, 300, 100, "topic_a"}, {1500, 200, 1700, 300, "topic_c"}}));
    host_.productDir = disc_.Path() + "\\";
    host_.regionCursor = LoadCursorA(nullptr, IDC_HAND);
    host_.openArticle = RememberArticle;
  }
  void TearDown() override {
    if (HWND frame = Frame()) DestroyWindow(frame);
    DestroyWindow(owner_);
  }
  HWND Frame() const { return FindWindowA(kTimelineFrameClass, "TimeLine"); }
  bool Closed() { return wintest::PumpUntil([&] { return Frame() == nullptr; }, 50); }
  void Scroll(int code, int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageA(TimelineStrip(), WM_HSCROLL, MAKEWPARAM(code, 0), 0);
  }
  void MoveAndRelease(POINT move, POINT release) {
    SendMessageA(TimelineStrip(), WM_MOUSEMOVE, 0, MAKELPARAM(move.x, move.y));
    SendMessageA(TimelineStrip(), WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    wintest::PumpRounds(5);
  }

  wintest::TemporaryFolder disc_;
  TimelineHost host_;
  HWND owner_ = nullptr;
};

TEST_F(TimelineTest, OpensCentredOverADisabledOwnerAndEveryCloseEnablesIt) {
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  HWND frame = Frame();
  ASSERT_TRUE(frame);
  RECT r;
  GetWindowRect(frame, &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 640) / 2);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(GetParent(TimelineStrip()), frame);
  EXPECT_FALSE(IsWindowEnabled(owner_));
  SendMessageA(frame, WM_COMMAND, kCmdCloseTimeline, 0);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(TimelineStrip(), nullptr);

  ASSERT_TRUE(OpenTimeline(owner_, host_));
  EXPECT_FALSE(IsWindowEnabled(owner_));
  PostMessageA(Frame(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_TRUE(gOpened.empty());
}

TEST_F(TimelineTest, AClickOpensTheRegionOfTheLastMoveAndSavesThePosition) {
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  Scroll(SB_LINERIGHT, 4);  // 20 pixels
  const int position = GetScrollPos(TimelineStrip(), SB_HORZ);
  EXPECT_EQ(position, 20 * 32767 / (2000 - 598));

  MoveAndRelease({400, 50}, {150, 50});  // nothing under the move, a region under the release
  EXPECT_TRUE(Frame());
  EXPECT_TRUE(gOpened.empty());

  MoveAndRelease({150, 50}, {500, 300});
  EXPECT_TRUE(Closed());
  EXPECT_EQ(gOpened, std::vector<std::string>{"topic_a"});
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(SavedTimelinePosition(), position);

  // Reopened at the saved place; closing with the button keeps it.
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  EXPECT_EQ(GetScrollPos(TimelineStrip(), SB_HORZ), position);
  Scroll(SB_PAGERIGHT, 3);
  EXPECT_GT(GetScrollPos(TimelineStrip(), SB_HORZ), position);
  SendMessageA(Frame(), WM_COMMAND, kCmdCloseTimeline, 0);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(SavedTimelinePosition(), position);
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  EXPECT_EQ(GetScrollPos(TimelineStrip(), SB_HORZ), position);
}

TEST_F(TimelineTest, TheThumbMovesThePictureOnlyWhenReleased) {
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  HWND strip = TimelineStrip();
  SendMessageA(strip, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20000), 0);
  EXPECT_EQ(GetScrollPos(strip, SB_HORZ), 0);
  SendMessageA(strip, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 32767), 0);
  EXPECT_EQ(GetScrollPos(strip, SB_HORZ), 32767);
  Scroll(SB_LINERIGHT);
  EXPECT_EQ(GetScrollPos(strip, SB_HORZ), 32767);
  Scroll(SB_LINELEFT);
  EXPECT_EQ(GetScrollPos(strip, SB_HORZ), (2000 - 598 - 5) * 32767 / (2000 - 598));
}

TEST_F(TimelineTest, AMissingPictureOpensBlankAndStillCloses) {
  host_.productDir = disc_ / "elsewhere\\";
  ASSERT_TRUE(OpenTimeline(owner_, host_));
  MoveAndRelease({150, 50}, {150, 50});
  EXPECT_TRUE(Frame());
  EXPECT_TRUE(gOpened.empty());
  PostMessageA(Frame(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

}  // namespace
}  // namespace kro::timeline
