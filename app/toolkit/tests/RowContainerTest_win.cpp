#include "app/toolkit/RowContainer.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/toolkit/tests/TestBitmapFiles.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Messages_win.h"

namespace kro::toolkit {
namespace {

using Note = wintest::Message;
std::vector<Note> gNotes;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= kRowChecked && msg <= kRowGroupSwitched) gNotes.push_back({msg, wParam, lParam});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A part of a given type and size that draws nothing.
class TestPart : public Element {
public:
  TestPart(ElementType partType, int16_t w, int16_t h) : Element(0, 0, w, h) { SetType(partType); }
  std::unique_ptr<Element> Clone() const override { return std::make_unique<TestPart>(*this); }
  void SetState(uint32_t value) override { state = value; }
  uint32_t GetState() override { return state; }
  uint32_t state = 0;
};

// select checker 0..15, text 16..115, checker 116..131
std::unique_ptr<RowElement> MakeRow(int16_t height) {
  auto row = std::make_unique<RowElement>(132, height);
  row->Append(std::make_unique<TestPart>(kElementSelectChecker, 16, height));
  row->Append(std::make_unique<TestPart>(kElementText, 100, height));
  row->Append(std::make_unique<TestPart>(kElementChecker, 16, height));
  row->LayOut();
  return row;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

class RowContainerTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    wintest::RegisterTestClass("KroRowParent", ParentProc);
  }
  void SetUp() override {
    gNotes.clear();
    parent_ = CreateWindowA("KroRowParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 240, 140, nullptr, nullptr, nullptr, nullptr);
    container_ = std::make_unique<RowContainer>(GetModuleHandleA(nullptr), parent_, 0, 0, 200, 100, 8, RGB(255, 255, 255));
    container_->SetActive(true);
  }
  void TearDown() override {
    container_.reset();
    DestroyWindow(parent_);
  }
  void AddRows(int count, int16_t height) {
    for (int i = 0; i < count; ++i) container_->AppendRow(MakeRow(height));
  }
  void Scroll(int code) { SendMessageA(container_->Hwnd(), WM_VSCROLL, MAKEWPARAM(code, 0), 0); }
  void Click(int x, int y) { SendMessageA(container_->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y)); }
  void Key(WPARAM key) { SendMessageA(container_->Hwnd(), WM_KEYDOWN, key, 0); }
  COLORREF PixelAt(int x, int y) {
    container_->Redraw();
    return wintest::WindowPixel(container_->Hwnd(), {x, y});
  }

  HWND parent_{};
  std::unique_ptr<RowContainer> container_;
};

TEST_F(RowContainerTest, RowsThatFitHideTheBar) {
  AddRows(3, 30);
  EXPECT_EQ(container_->Bottom(), 2);
  EXPECT_TRUE(container_->LastWhole());
  EXPECT_FALSE(container_->BarVisible());
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(container_->Top(), 0);
}

TEST_F(RowContainerTest, PartlyVisibleLastRowScrollsUntilWhole) {
  AddRows(4, 30);  // 3 whole rows and 10 pixels of the fourth
  EXPECT_EQ(container_->Bottom(), 3);
  EXPECT_FALSE(container_->LastWhole());
  EXPECT_TRUE(container_->BarVisible());
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(container_->Top(), 1);
  EXPECT_TRUE(container_->LastWhole());
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(container_->Top(), 1);
  Scroll(SB_LINEUP);
  Scroll(SB_LINEUP);
  EXPECT_EQ(container_->Top(), 0);
}

TEST_F(RowContainerTest, PageDownStopsAtTheEnd) {
  AddRows(10, 30);
  Scroll(SB_PAGEDOWN);
  EXPECT_EQ(container_->Top(), 3);
  Scroll(SB_PAGEDOWN);
  Scroll(SB_PAGEDOWN);
  Scroll(SB_PAGEDOWN);
  EXPECT_EQ(container_->Top(), 7);
  EXPECT_EQ(container_->Bottom(), 9);
  EXPECT_TRUE(container_->LastWhole());
  Scroll(SB_PAGEUP);  // back by the rows that were in view
  EXPECT_EQ(container_->Top(), 5);
  Scroll(SB_PAGEUP);
  EXPECT_EQ(container_->Top(), 2);
  Scroll(SB_PAGEUP);
  EXPECT_EQ(container_->Top(), 0);
  SendMessageA(container_->Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0);
  EXPECT_EQ(container_->Top(), 5);
  Scroll(SB_TOP);
  EXPECT_EQ(container_->Top(), 0);
}

TEST_F(RowContainerTest, SelectCheckerClickChecksBeforeMovingTheCurrentRow) {
  AddRows(3, 30);
  Click(5, 45);
  const std::vector<Note> expected{{kRowChecked, 1, 1}, {kRowCurrent, 0, 0}, {kRowCurrent, 1, 1}};
  EXPECT_EQ(gNotes, expected);
  EXPECT_EQ(container_->Current(), 1);
  EXPECT_TRUE(container_->Row(1)->IsChecked());
  EXPECT_TRUE(container_->Row(1)->Part(1)->IsChecked());
  EXPECT_TRUE(container_->Row(1)->Part(1)->IsCurrent());
  EXPECT_FALSE(container_->Row(0)->Part(1)->IsCurrent());
}

TEST_F(RowContainerTest, CheckerClickReportsStateAndPartIndex) {
  AddRows(2, 30);
  Click(120, 5);
  ASSERT_EQ(gNotes.size(), 3u);
  EXPECT_EQ(gNotes[2], (Note{kRowCheckerSwitched, 0, 1 | 2 << 16}));
  // Below the rows nothing happens.
  gNotes.clear();
  Click(120, 80);
  EXPECT_TRUE(gNotes.empty());
}

TEST_F(RowContainerTest, InactiveContainerIgnoresClicks) {
  AddRows(2, 30);
  container_->SetActive(false);
  Click(5, 5);
  EXPECT_TRUE(gNotes.empty());
}

TEST_F(RowContainerTest, KeysMoveWithoutCurrentNotifications) {
  AddRows(5, 30);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(container_->Current(), 3);
  EXPECT_EQ(container_->Top(), 1);  // row 3 was cut: the list scrolled until it was whole
  Key(VK_SPACE);
  const std::vector<Note> expected{{kRowChecked, 3, 1}};
  EXPECT_EQ(gNotes, expected);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(container_->Current(), 4);
  for (int i = 0; i < 6; ++i) Key(VK_UP);
  EXPECT_EQ(container_->Current(), 0);
  EXPECT_EQ(container_->Top(), 0);
}

TEST_F(RowContainerTest, HoverFollowsThePointerWithCapture) {
  AddRows(3, 30);
  SendMessageA(container_->Hwnd(), WM_MOUSEMOVE, 0, Point(50, 40));
  EXPECT_EQ(container_->HoverRow(), container_->Row(1));
  EXPECT_TRUE(container_->Row(1)->Part(1)->IsHover());
  EXPECT_EQ(GetCapture(), container_->Hwnd());
  SendMessageA(container_->Hwnd(), WM_MOUSEMOVE, 0, Point(50, 95));  // below the rows
  EXPECT_EQ(container_->HoverRow(), nullptr);
  EXPECT_FALSE(container_->Row(1)->Part(1)->IsHover());
  SendMessageA(container_->Hwnd(), WM_MOUSEMOVE, 0, Point(-5, 40));
  EXPECT_NE(GetCapture(), container_->Hwnd());
}

TEST_F(RowContainerTest, DoubleClickReportsTheRowUnderThePointer) {
  AddRows(2, 30);
  SendMessageA(container_->Hwnd(), WM_LBUTTONDBLCLK, 0, Point(50, 35));
  SendMessageA(container_->Hwnd(), WM_LBUTTONDBLCLK, 0, Point(50, 90));
  const std::vector<Note> expected{{kRowActivated, 1, 0}, {kRowActivated, static_cast<WPARAM>(-1), 0}};
  EXPECT_EQ(gNotes, expected);
}

TEST_F(RowContainerTest, CurrentRowFollowsInsertionsAndRemovals) {
  AddRows(4, 20);
  container_->SetCurrent(2);
  RowElement* current = container_->Row(2);
  container_->InsertRow(0, MakeRow(20));
  EXPECT_EQ(container_->Row(container_->Current()), current);
  EXPECT_TRUE(container_->RemoveRow(container_->Current()));
  EXPECT_EQ(container_->Current(), 3);
  EXPECT_TRUE(container_->Row(3)->IsCurrent());
  EXPECT_FALSE(container_->RemoveRow(9));
  EXPECT_FALSE(container_->InsertRow(9, MakeRow(20)));
}

TEST_F(RowContainerTest, DrawsBackgroundCurrentHighlightAndCheckedPicture) {
  ASSERT_TRUE(testing::WriteSolidBitmap("rc_checked.bmp", 200, 100, 0x00FF00));
  container_->SetBackground(RGB(255, 255, 255), RGB(0, 0, 128), nullptr, nullptr, "rc_checked.bmp");
  AddRows(3, 30);
  container_->SetCurrent(0);
  container_->Row(2)->SetChecked(1);
  EXPECT_EQ(PixelAt(20, 10), RGB(0, 0, 128));     // behind the current row's text
  EXPECT_EQ(PixelAt(8, 10), RGB(255, 255, 255));  // its select checker is not text
  EXPECT_EQ(PixelAt(20, 40), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(20, 70), RGB(0, 255, 0));     // the checked row
  EXPECT_EQ(PixelAt(20, 95), RGB(255, 255, 255));
}

TEST_F(RowContainerTest, CustomBarScrollsTheRows) {
  ASSERT_TRUE(testing::WriteSolidBitmap("rc_up.bmp", 16, 64, 0x808080));
  ASSERT_TRUE(testing::WriteSolidBitmap("rc_down.bmp", 16, 64, 0x808080));
  ASSERT_TRUE(testing::WriteSolidBitmap("rc_thumb.bmp", 16, 80, 0x404040));
  ASSERT_TRUE(testing::WriteSolidBitmap("rc_track.bmp", 16, 16, 0xC0C0C0));
  container_->UseCustomBar("184, 0, 16, 100, 1, \"rc_up.bmp\", \"rc_down.bmp\", \"rc_thumb.bmp\", \"rc_track.bmp\"", "");
  ASSERT_NE(container_->CustomBar(), nullptr);
  EXPECT_EQ(container_->BarWidth(), 16);
  AddRows(10, 30);
  EXPECT_TRUE(IsWindowVisible(container_->CustomBar()->Hwnd()));
  const HWND down = GetDlgItem(container_->CustomBar()->Hwnd(), ScrollBar::kArrowAfter);
  ASSERT_NE(down, nullptr);
  SendMessageA(down, WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
  SendMessageA(down, WM_LBUTTONUP, 0, Point(2, 2));
  EXPECT_EQ(container_->Top(), 1);
  EXPECT_EQ(container_->CustomBar()->Position(), 1);
  // The window made again keeps the bar and its buttons.
  ASSERT_TRUE(container_->Recreate(parent_, 0, 0, 200, 120));
  ASSERT_NE(container_->CustomBar()->Hwnd(), nullptr);
  EXPECT_EQ(GetParent(container_->CustomBar()->Hwnd()), container_->Hwnd());
  EXPECT_NE(GetDlgItem(container_->CustomBar()->Hwnd(), ScrollBar::kArrowAfter), nullptr);
  EXPECT_EQ(container_->Top(), 1);
}

}  // namespace
}  // namespace kro::toolkit
