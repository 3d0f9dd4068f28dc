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
    case kVlbGetTextLengthRequest: {
      const int i = ItemOf(r, byData);
      return i >= 0 && i < n ? static_cast<LRESULT>(gOwner.items[i].size()) : -1;
    }
    case kVlbGetDataRequest: Answer(r, ItemOf(r, byData)); return 0;
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

// The scroll bar's pixels down its middle, from the window's own DC (the bar is nonclient).
std::vector<COLORREF> BarPixels(HWND control) {
  RECT window;
  GetWindowRect(control, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  const int x = width - GetSystemMetrics(SM_CXVSCROLL) / 2 - 1;
  std::vector<COLORREF> pixels;
  HDC dc = GetWindowDC(control);
  for (int y = 0; y < height; ++y) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(control, dc);
  return pixels;
}

// A thumb moved by a load is drawn with the next paint, as a full redraw would draw it.
TEST_F(VirtualListBoxTest, AMovedThumbIsDrawnWithTheNextPaint) {
  Create();
  wintest::PumpRounds(5);
  const std::vector<COLORREF> before = BarPixels(control_);
  SendMessageA(control_, kVlbSetSelection, kVlbItemAt, 80);
  wintest::PumpRounds(5);
  const std::vector<COLORREF> painted = BarPixels(control_);
  RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::vector<COLORREF> redrawn = BarPixels(control_);
  EXPECT_NE(before, redrawn);
  EXPECT_EQ(painted, redrawn);
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

TEST_F(VirtualListBoxTest, ListBoxTextOfARowAgreesWithItsLengthAfterScrolling) {
  gOwner.items[12] = "a much longer text than its neighbours";
  Create();
  Scroll(SB_LINEDOWN);
  Scroll(SB_LINEDOWN);  // row 10 is item 12, item 10 is short
  const auto length = SendMessageA(list_, LB_GETTEXTLEN, 10, 0);
  ASSERT_EQ(length, static_cast<LRESULT>(gOwner.items[12].size()));
  std::string buffer(static_cast<size_t>(length) + 1 + 8, '#');
  EXPECT_EQ(SendMessageA(list_, LB_GETTEXT, 10, reinterpret_cast<LPARAM>(buffer.data())), length);
  EXPECT_EQ(buffer.substr(0, static_cast<size_t>(length) + 1), gOwner.items[12] + '\0');
  EXPECT_EQ(buffer.substr(static_cast<size_t>(length) + 1), std::string(8, '#'));  // nothing beyond
  EXPECT_EQ(SendMessageA(list_, LB_GETTEXT, visible_ + 5, reinterpret_cast<LPARAM>(buffer.data())), LB_ERR);
}

TEST_F(VirtualListBoxTest, AGetTextWithoutASizeCopiesNoMoreThanTheTextLength) {
  Create();
  // An item off the page: the owner's length request sizes the copy.
  std::string buffer(32, '#');
  VlbRecord record{0, 0, 0, 77, buffer.data(), nullptr};
  EXPECT_EQ(SendMessageA(control_, kVlbGetTextLength, 0, reinterpret_cast<LPARAM>(&record)), 6);
  EXPECT_EQ(SendMessageA(control_, kVlbGetText, 0, reinterpret_cast<LPARAM>(&record)), 6);
  EXPECT_EQ(buffer.substr(0, 8), std::string("item77\0#", 8));
  // An owner that knows no length for the item: nothing is copied.
  record.index = 500;
  EXPECT_EQ(SendMessageA(control_, kVlbGetText, 0, reinterpret_cast<LPARAM>(&record)), -1);
}

TEST_F(VirtualListBoxTest, SizingKeepsWholeRowsAndMeasuringRecountsThem) {
  Create();
  const int itemHeight = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  RECT window;
  GetWindowRect(control_, &window);
  SetWindowPos(control_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + itemHeight / 2,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(control_, &client);
  EXPECT_EQ(client.bottom % itemHeight, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetVisibleRows, 0, 0), client.bottom / itemHeight);
  // An owner-drawn row height from WM_MEASUREITEM changes how many rows fit.
  MEASUREITEMSTRUCT measure{ODT_LISTBOX, 0, 0, 0, static_cast<UINT>(2 * itemHeight), 0};
  SendMessageA(control_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(SendMessageA(control_, kVlbGetVisibleRows, 0, 0), client.bottom / (2 * itemHeight));
}

TEST_F(VirtualListBoxTest, TheMovesAndQueriesTheDialogsUse) {
  Create();
  const auto Sel = [&] { return SendMessageA(control_, kVlbGetSelection, 0, 0); };
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbLastItem, 0), 0);
  EXPECT_EQ(Sel(), 99);
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbPreviousItem, 99), 0);
  EXPECT_EQ(Sel(), 98);
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbFirstItem, 0), 0);
  EXPECT_EQ(Sel(), 0);
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbPreviousItem, 0), -1);  // nothing before the first
  EXPECT_EQ(SendMessageA(control_, kVlbSetSelection, kVlbNextItem, visible_ - 1), 0);
  EXPECT_EQ(Sel(), visible_);
  EXPECT_EQ(Top(), 1);
  // Item data and rectangles: loaded rows answer from the page, others from the owner.
  VlbRecord record{0, 0, 0, 5, nullptr, nullptr};
  EXPECT_EQ(SendMessageA(control_, kVlbGetItemData, 0, reinterpret_cast<LPARAM>(&record)), 50);
  record.index = 90;
  EXPECT_EQ(SendMessageA(control_, kVlbGetItemData, 0, reinterpret_cast<LPARAM>(&record)), 900);
  EXPECT_EQ(SendMessageA(control_, kVlbSetItemData, 0, reinterpret_cast<LPARAM>(&record)), -1);
  RECT rect{};
  record = {0, 0, 0, 2, reinterpret_cast<const char*>(&rect), nullptr};
  EXPECT_NE(SendMessageA(control_, kVlbGetItemRect, 0, reinterpret_cast<LPARAM>(&record)), -1);
  EXPECT_GT(rect.bottom, rect.top);
  record.index = 90;
  EXPECT_EQ(SendMessageA(control_, kVlbGetItemRect, 0, reinterpret_cast<LPARAM>(&record)), -1);
  // Exact finds select nothing.
  record = {0, 0, 0, 0, nullptr, "item33"};
  EXPECT_EQ(SendMessageA(control_, kVlbFindStringExact, 0, reinterpret_cast<LPARAM>(&record)), -1);  // the owner has no exact find
  EXPECT_EQ(Sel(), visible_);
  // Top and paging.
  EXPECT_EQ(SendMessageA(control_, kVlbSetTop, 0, 40), 0);
  EXPECT_EQ(Top(), 40);
  SendMessageA(control_, kVlbScrollDown, 0, 0);
  EXPECT_EQ(Top(), 40 + visible_);
  SendMessageA(control_, kVlbScrollUp, 2, 0);
  EXPECT_EQ(Top(), 40 - 2);
  SendMessageA(control_, kVlbSetHorizontalExtent, 2000, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetHorizontalExtent, 0, 0), 2000);
  // A refresh after the list shrank below the page starts it earlier (the horizontal bar
  // took a row or two).
  const auto rows = static_cast<int>(SendMessageA(control_, kVlbGetVisibleRows, 0, 0));
  EXPECT_LT(rows, visible_);
  gOwner.items.resize(45);
  SendMessageA(control_, kVlbRefresh, 0, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetCount, 0, 0), 45);
  EXPECT_EQ(Top(), 45 - rows);
  EXPECT_EQ(RowText(rows - 1), "item44");
  // Row heights go to the inner list box.
  SendMessageA(control_, kVlbSetItemHeight, 0, 20);
  EXPECT_EQ(SendMessageA(control_, kVlbGetItemHeight, 0, 0), 20);
}

TEST_F(VirtualListBoxTest, PageKeysMoveByAPageAndReport) {
  Create();
  SendMessageA(control_, kVlbSetSelection, kVlbItemAt, 0);
  gOwner.selChanges = 0;
  SetFocus(list_);
  SendMessageA(list_, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), visible_ - 1);  // to the last row first
  SendMessageA(list_, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(Top(), visible_ - 1);  // then a page less one row
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), 2 * visible_ - 2);
  SendMessageA(list_, WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(SendMessageA(control_, kVlbGetSelection, 0, 0), visible_ - 1);
  EXPECT_EQ(gOwner.selChanges, 3);
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
