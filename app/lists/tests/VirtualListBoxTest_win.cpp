#include "app/lists/VirtualListBox_win.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Messages_win.h"

namespace kro::lists {
namespace {

// An owner over a vector of texts; item i carries data i * 10 so index and data differ.
struct Owner {
  std::vector<std::string> items;
  bool countFails = false;
  std::vector<std::pair<UINT, LPARAM>> notes;
  int selChanges = 0;
};
Owner gOwner;

int ItemOf(const VlbRecord& r, bool byData) { return byData ? r.data / 10 : r.index; }

void Answer(VlbRecord& r, int i) {
  const int n = static_cast<int>(gOwner.items.size());
  r.status = i >= 0 && i < n ? 0 : 1;
  if (r.status) return;
  r.index = i;
  r.data = i * 10;
  r.text = gOwner.items[i].c_str();
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& r = *reinterpret_cast<VlbRecord*>(lParam);
  const bool byData = gOwner.countFails;
  const int n = static_cast<int>(gOwner.items.size());
  switch (msg) {
    case kVlbFirstItem: Answer(r, 0); return 0;
    case kVlbLastItem: Answer(r, n - 1); return 0;
    case kVlbPreviousItem: Answer(r, ItemOf(r, true) - 1); return 0;
    case kVlbNextItem: Answer(r, ItemOf(r, true) + 1); return 0;
    case kVlbItemAt: Answer(r, ItemOf(r, byData)); return 0;
    case kVlbGetTextRequest: Answer(r, ItemOf(r, byData)); return 0;
    case kVlbItemAtPercentage: Answer(r, (n - 1) * r.index / 100); return 0;
    case kVlbCountRequest:
      r.status = gOwner.countFails ? 1 : 0;
      r.index = n;
      return 0;
    case kVlbFindRequest:
      for (int i = 0; i < n; ++i)
        if (gOwner.items[i].rfind(r.findString, 0) == 0) return Answer(r, i), 0;
      r.status = 1;
      return 0;
    case kVlbItemLeftPage:
    case kVlbPageEmptied:
      gOwner.notes.emplace_back(msg, lParam);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == LBN_SELCHANGE) ++gOwner.selChanges;
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class VirtualListBoxTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    RegisterVirtualListBoxClass(GetModuleHandleA(nullptr));
    wintest::RegisterTestClass("KroVlbOwner", OwnerProc);
  }
  void SetUp() override {
    gOwner = {};
    for (int i = 0; i < 100; ++i) gOwner.items.push_back("item" + std::to_string(i));
    owner_ = CreateWindowA("KroVlbOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  void Create(DWORD extraStyle = 0) {
    control_ = CreateWindowA(kVirtualListBoxClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY | extraStyle, 10,
                             10, 200, 200, owner_, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(control_, nullptr);
    list_ = GetWindow(control_, GW_CHILD);
    SendMessageA(control_, kVlbInitialise, 0, 0);
    visible_ = static_cast<int>(SendMessageA(control_, kVlbGetVisibleRows, 0, 0));
    ASSERT_GT(visible_, 3);
  }
  int Rows() const { return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)); }
  std::string Row(int row) const {
    char text[64] = {};
    SendMessageA(list_, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::string RowText(int row) const {
    // Straight from the inner list box's own storage.
    char text[64] = {};
    CallWindowProcA(reinterpret_cast<WNDPROC>(GetClassLongPtrA(list_, GCLP_WNDPROC)), list_, LB_GETTEXT, row,
                    reinterpret_cast<LPARAM>(text));
    return text;
  }
  LRESULT Top() const { return SendMessageA(control_, kVlbGetTop, 0, 0); }
  int Thumb() const { return GetScrollPos(control_, SB_VERT); }
  bool BarShown() const { return GetWindowLongA(control_, GWL_STYLE) & WS_VSCROLL; }
  void Scroll(int code, int position = 0) { SendMessageA(control_, WM_VSCROLL, MAKEWPARAM(code, position), 0); }

  HWND owner_{}, control_{}, list_{};
  int visible_ = 0;
};

TEST_F(VirtualListBoxTest, InitialiseLoadsOnePageOnly) {
  Create();
  EXPECT_EQ(Rows(), visible_);
  EXPECT_EQ(RowText(0), "item0");
  EXPECT_EQ(RowText(visible_ - 1), "item" + std::to_string(visible_ - 1));
  EXPECT_EQ(SendMessageA(control_, kVlbGetCount, 0, 0), 100);
  EXPECT_EQ(Top(), 0);
  EXPECT_TRUE(BarShown());
  EXPECT_EQ(Thumb(), 0);
}

TEST_F(VirtualListBoxTest, ThumbAtTheEndShowsTheLastItemAtTheBottom) {
  Create();
  Scroll(SB_THUMBPOSITION, 100);
  EXPECT_EQ(Rows(), visible_);
  EXPECT_EQ(RowText(visible_ - 1), "item99");
  EXPECT_EQ(Top(), 100 - visible_);
  EXPECT_EQ(Thumb(), 100);
  Scroll(SB_THUMBPOSITION, 50);
  EXPECT_EQ(Top(), (100 - visible_ + 1) * 50 / 100);
}

TEST_F(VirtualListBoxTest, ScrollingOneRowTellsTheOwnerWhichItemLeft) {
  Create();
  gOwner.notes.clear();
  Scroll(SB_LINEDOWN);
  ASSERT_EQ(gOwner.notes.size(), 1u);
  EXPECT_EQ(gOwner.notes[0], std::make_pair(UINT{kVlbItemLeftPage}, LPARAM{0}));
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(RowText(0), "item1");
  Scroll(SB_LINEUP);
  Scroll(SB_LINEUP);  // already at the start: nothing changes
  EXPECT_EQ(Top(), 0);
  EXPECT_EQ(RowText(0), "item0");
}

TEST_F(VirtualListBoxTest, SelectingAFarItemReloadsWithItInRowZero) {
  Create();
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbItemAt, 60), 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 60);
  EXPECT_EQ(Top(), 60);
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), 0);
  // Near the end the page fills upwards so it stays full.
  SendMessageA(control_, kVlbSetSelection, kVlbItemAt, 98);
  EXPECT_EQ(Rows(), visible_);
  EXPECT_EQ(RowText(visible_ - 1), "item99");
  EXPECT_EQ(Top(), 100 - visible_);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 98);
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbItemAt, -1), -1);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), -1);
}

TEST_F(VirtualListBoxTest, ShrinkingByTwoRowsReleasesTheBottomTwoFirst) {
  Create();
  const int itemHeight = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  RECT rect;
  GetWindowRect(control_, &rect);
  gOwner.notes.clear();
  SetWindowPos(control_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top - 2 * itemHeight,
               SWP_NOMOVE | SWP_NOZORDER);
  const std::vector<std::pair<UINT, LPARAM>> expected = {{kVlbItemLeftPage, visible_ - 1}, {kVlbItemLeftPage, visible_ - 2}};
  EXPECT_EQ(gOwner.notes, expected);
  EXPECT_EQ(Rows(), visible_ - 2);
}

TEST_F(VirtualListBoxTest, ResetOfAnEmptyListLeavesNothingAndHidesTheBar) {
  Create();
  gOwner.items.clear();
  SendMessageA(control_, kVlbReset, 0, 0);
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(BarShown());
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), -1);
  EXPECT_EQ(SendMessageA(control_, kVlbGetCount, 0, 0), 0);
}

TEST_F(VirtualListBoxTest, WithoutACountTheControlWorksByData) {
  gOwner.countFails = true;
  Create();
  EXPECT_EQ(SendMessageA(control_, kVlbGetCount, 0, 0), -1);
  EXPECT_EQ(Thumb(), 50);
  EXPECT_EQ(Top(), 0);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(Top(), 10);  // row 0's data
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbItemAt, 500), 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 500);
  EXPECT_EQ(RowText(0), "item50");
}

TEST_F(VirtualListBoxTest, ArrowDownOnTheLastRowScrollsAndReportsTheChange) {
  Create();
  SendMessageA(control_, kVlbSetSelection, kVlbItemAt, visible_ - 1);
  gOwner.selChanges = 0;
  SetFocus(list_);
  SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), visible_);
  EXPECT_EQ(Top(), 1);
  EXPECT_EQ(gOwner.selChanges, 1);
  SendMessageA(list_, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 99);
  SendMessageA(list_, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 0);
  EXPECT_EQ(Top(), 0);
}

TEST_F(VirtualListBoxTest, TextCopiesRespectTheCallersBuffer) {
  Create();
  char small[4] = {'x', 'x', 'x', 'x'};
  VlbRecord record{0, 0, 0, 42, small, nullptr};
  EXPECT_EQ(SendMessageA(control_, kVlbGetText, sizeof small, reinterpret_cast<LPARAM>(&record)), 3);
  EXPECT_EQ(std::string(small), "ite");
  char big[32] = {};
  record.text = big;
  EXPECT_EQ(SendMessageA(control_, kVlbGetText, sizeof big, reinterpret_cast<LPARAM>(&record)), 6);
  EXPECT_EQ(std::string(big), "item42");
  record.index = 500;  // not in the list
  EXPECT_EQ(SendMessageA(control_, kVlbGetText, sizeof big, reinterpret_cast<LPARAM>(&record)), -1);
}

TEST_F(VirtualListBoxTest, SelectStringFindsThroughTheOwner) {
  Create();
  VlbRecord record{0, 0, 0, 0, nullptr, "item77"};
  EXPECT_EQ(SendMessageA(control_, kVlbSelectString, 0, reinterpret_cast<LPARAM>(&record)), 77);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 77);
  record.findString = "nothing";
  EXPECT_EQ(SendMessageA(control_, kVlbFindString, 0, reinterpret_cast<LPARAM>(&record)), -1);
}

}  // namespace
}  // namespace kro::lists
