#include "app/toolkit/ScrollBar.h"
#include "app/toolkit/tests/TestBitmapFiles.h"
#include "tests/support/Messages_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kro::toolkit {
namespace {

void WriteBitmap(const std::string& name, int width, int height) {
  testing::WriteSolidBitmap(name, width, height, 0x808080);
}

struct Report {
  int code, position;
  bool operator==(const Report&) const = default;
};
std::vector<Report> gReports;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_VSCROLL) gReports.push_back({LOWORD(wParam), static_cast<short>(HIWORD(wParam))});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class ScrollBarTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    wintest::RegisterTestClass("KroScrollOwner", OwnerProc);
    WriteBitmap("sb_up.bmp", 16, 16 * 4);
    WriteBitmap("sb_down.bmp", 16, 16 * 4);
    WriteBitmap("sb_thumb.bmp", 16, 20 * 4);
    WriteBitmap("sb_track.bmp", 16, 32);
  }
  void SetUp() override {
    gReports.clear();
    owner_ = CreateWindowA("KroScrollOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 300, nullptr, nullptr, nullptr, nullptr);
    bar_ = std::make_unique<ScrollBar>(owner_, 100, Box{0, 0, 10, 10});
    ASSERT_TRUE(bar_->Parse("180, 0, 16, 200, 1, \"sb_up.bmp\", \"sb_down.bmp\", \"sb_thumb.bmp\", \"sb_track.bmp\"", ""));
    bar_->SetActive(true);
    ShowWindow(bar_->Hwnd(), SW_SHOW);
    bar_->SetRange(0, 10);
  }
  void TearDown() override {
    bar_.reset();
    DestroyWindow(owner_);
  }
  HWND Child(int command) const {
    return GetDlgItem(bar_->Hwnd(), command);
  }
  HWND owner_{};
  std::unique_ptr<ScrollBar> bar_;
};

TEST_F(ScrollBarTest, DescriptionPlacesArrowsThumbAndBox) {
  EXPECT_EQ(bar_->Geometry().x, 180);
  EXPECT_EQ(bar_->Geometry().height, 200);
  RECT down;
  GetWindowRect(Child(ScrollBar::kArrowAfter), &down);
  MapWindowPoints(HWND_DESKTOP, bar_->Hwnd(), reinterpret_cast<POINT*>(&down), 2);
  EXPECT_EQ(down.top, 200 - 16);
  RECT thumb;
  GetWindowRect(Child(ScrollBar::kThumb), &thumb);
  MapWindowPoints(HWND_DESKTOP, bar_->Hwnd(), reinterpret_cast<POINT*>(&thumb), 2);
  EXPECT_EQ(thumb.top, 16);
  EXPECT_EQ(thumb.bottom - thumb.top, 20);
  bar_->SetPosition(10);  // free track 200 - 16 - 16 - 20 = 148 over a range of 10
  GetWindowRect(Child(ScrollBar::kThumb), &thumb);
  MapWindowPoints(HWND_DESKTOP, bar_->Hwnd(), reinterpret_cast<POINT*>(&thumb), 2);
  EXPECT_EQ(thumb.top, 16 + 148);
}

TEST_F(ScrollBarTest, ArrowsStepAndStayQuietAtTheEnds) {
  const HWND down = Child(ScrollBar::kArrowAfter);
  const HWND up = Child(ScrollBar::kArrowBefore);
  SendMessageA(up, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(up, WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(gReports.empty());  // already at the minimum
  SendMessageA(down, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(down, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gReports, (std::vector<Report>{{SB_LINEDOWN, 1}}));
  bar_->SetPosition(10);
  SendMessageA(down, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(down, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(gReports.size(), 1u);
  EXPECT_EQ(bar_->Position(), 10);
}

TEST_F(ScrollBarTest, TrackClicksPageAndStopAtTheMaximum) {
  bar_->SetPage(5);
  bar_->SetPosition(8);
  SendMessageA(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 195));
  EXPECT_EQ(gReports, (std::vector<Report>{{SB_PAGEDOWN, 10}}));
  SendMessageA(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 17));
  EXPECT_EQ(gReports.back(), (Report{SB_PAGEUP, 5}));
  SendMessageA(bar_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 17));
  EXPECT_EQ(gReports.back(), (Report{SB_PAGEUP, 0}));
}

TEST_F(ScrollBarTest, ThumbDragReportsTheTrackedPosition) {
  SendMessageA(bar_->Hwnd(), WM_COMMAND, ScrollBar::kThumb, 74);  // half of the free track
  EXPECT_EQ(gReports, (std::vector<Report>{{SB_THUMBTRACK, 5}}));
  EXPECT_EQ(bar_->Position(), 5);
}

TEST_F(ScrollBarTest, ThumbDragWithoutFreeTrackKeepsThePosition) {
  // 16 + 16 + 20: the arrows and the thumb fill a bar of 52 pixels.
  ScrollBar full(owner_, 102, Box{0, 0, 10, 10});
  ASSERT_TRUE(full.Parse("0, 0, 16, 52, 1, \"sb_up.bmp\", \"sb_down.bmp\", \"sb_thumb.bmp\", \"sb_track.bmp\"", ""));
  full.SetActive(true);
  full.SetRange(0, 10);
  full.SetPosition(3);
  SendMessageA(full.Hwnd(), WM_COMMAND, ScrollBar::kThumb, 30);
  EXPECT_EQ(full.Position(), 3);
  EXPECT_EQ(gReports.back(), (Report{SB_THUMBTRACK, 3}));
  // A drag past the track's end stops at the maximum.
  SendMessageA(bar_->Hwnd(), WM_COMMAND, ScrollBar::kThumb, 1000);
  EXPECT_EQ(bar_->Position(), 10);
}

TEST_F(ScrollBarTest, MissingFieldsStopQuietly) {
  ScrollBar plain(owner_, 101, Box{0, 0, 16, 100});
  EXPECT_TRUE(plain.Parse("5, 6", ""));
  EXPECT_EQ(plain.Geometry().x, 5);
  EXPECT_EQ(GetWindow(plain.Hwnd(), GW_CHILD), nullptr);
  plain.SetRange(0, 3);
  plain.SetPosition(7);
  EXPECT_EQ(plain.Position(), 3);
}

}  // namespace
}  // namespace kro::toolkit
