// Panes driven by the keys and mouse messages a reader would produce: scrolling, selection
// and copying through the real clipboard, the hotspot cursor and hotspot activation.
#include <gtest/gtest.h>

#include "app/article/tests/ArticleTestSupport_win.h"

namespace kro::article::test {
namespace {

class PaneTest : public ArticleTest {
protected:
  void SetUp() override {
    ArticleTest::SetUp();
    record_ = Open("topic_ros14", {0, 0, 360, 200});
    ASSERT_NE(record_, nullptr);
    body_ = record_->scrollingPane;
    display_ = PaneDisplay(body_);
  }
  LONG Position() const { return yMVGetYScrollPos(display_); }

  TopicRecord* record_ = nullptr;
  HWND body_ = nullptr;
  LPMV display_ = nullptr;
};

TEST_F(PaneTest, KeysScrollTheBodyAndTheScrollBarFollows) {
  int low = 0, high = 0;
  GetScrollRange(body_, SB_VERT, &low, &high);
  ASSERT_GT(high, 0);
  PressKey(body_, VK_DOWN);
  const LONG line = Position();
  EXPECT_GT(line, 0);
  EXPECT_EQ(GetScrollPos(body_, SB_VERT), line);
  PressKey(body_, VK_NEXT);
  EXPECT_GT(Position(), line + 40);
  PressKey(body_, VK_UP);
  EXPECT_LT(Position(), GetScrollPos(body_, SB_VERT) + 1);
  {
    HeldKeys control({VK_CONTROL});
    PressKey(body_, VK_END);
    EXPECT_EQ(Position(), high);
    EXPECT_EQ(GetScrollPos(body_, SB_VERT), high);
    PressKey(body_, VK_HOME);
    EXPECT_EQ(Position(), 0);
  }
  // Plain Home and End select nothing and scroll nothing.
  PressKey(body_, VK_END);
  EXPECT_EQ(Position(), 0);
  EXPECT_FALSE(fMVIsSelected(display_));

  // The scroll bar's own messages.
  SendMessageA(body_, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), 0);
  EXPECT_EQ(GetScrollPos(body_, SB_VERT), 3);
  EXPECT_EQ(Position(), 0);  // tracking moves the thumb alone
  SendMessageA(body_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  EXPECT_EQ(Position(), 3);
  SendMessageA(body_, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
  EXPECT_EQ(Position(), high);
  SendMessageA(body_, WM_VSCROLL, MAKEWPARAM(9, 0), 0);  // not a scroll code
  EXPECT_EQ(Position(), high);
  // The heading does not scroll.
  PressKey(record_->nonScrollingPane, VK_DOWN);
  EXPECT_EQ(yMVGetYScrollPos(PaneDisplay(record_->nonScrollingPane)), 0);
}

TEST_F(PaneTest, ShiftArrowsSelectAndControlCCopies) {
  ClearClipboard();
  const std::string all = RegionText(display_);
  ASSERT_EQ(all.rfind("Крупнейшая", 0), 0u) << all;
  // A click on the first word puts the caret there; Shift+Right takes three letters.
  const RECT link = HotspotRects(display_).at(0);
  Click(body_, {2, CentreOf(link).y});
  EXPECT_FALSE(fMVIsSelected(display_));
  {
    HeldKeys shift({VK_SHIFT});
    for (int i = 0; i < 3; ++i) PressKey(body_, VK_RIGHT);
  }
  {
    HeldKeys control({VK_CONTROL});
    PressKey(body_, 'C');
  }
  EXPECT_EQ(ClipboardText(), "Кру");
  EXPECT_TRUE(host_.log.commands.empty());  // Shift kept the arrows from navigating
  {
    HeldKeys shift({VK_SHIFT});
    PressKey(body_, VK_LEFT);
    PressKey(body_, VK_END);
    PressKey(body_, VK_DOWN);
  }
  {
    HeldKeys control({VK_CONTROL});
    PressKey(body_, 'C');
  }
  const std::string lines = ClipboardText();
  EXPECT_GT(lines.size(), 20u);
  EXPECT_EQ(all.rfind(lines, 0), 0u) << lines;

  {
    HeldKeys control({VK_CONTROL});
    PressKey(body_, 'A');
    PressKey(body_, 'C');
  }
  EXPECT_EQ(ClipboardText(), all);
  EXPECT_EQ(record_->selectionPane, body_);
}

TEST_F(PaneTest, CopyFallsBackToTheHeadingSelection) {
  ClearClipboard();
  LPMV heading = PaneDisplay(record_->nonScrollingPane);
  {
    HeldKeys control({VK_CONTROL});
    PressKey(body_, 'C');  // nothing selected anywhere: the clipboard stays as it was
  }
  EXPECT_EQ(ClipboardText(), "<none>");
  LONG err = 0;
  MVSelectPoint(heading, MV_SELECT_ALL, 0, 0, 0, &err);
  EXPECT_TRUE(CopySelection(record_));
  EXPECT_EQ(ClipboardText(), "РОССИЯ");
  // Ctrl+A in the body takes the selection from the heading.
  {
    HeldKeys control({VK_CONTROL});
    SendMessageA(record_->topicWindow, kPaneClicked, 0, reinterpret_cast<LPARAM>(record_->nonScrollingPane));
    PressKey(body_, 'A');
  }
  EXPECT_FALSE(fMVIsSelected(heading));
  EXPECT_TRUE(CopySelection(record_));
  EXPECT_EQ(ClipboardText(), RegionText(display_));
}

TEST_F(PaneTest, ArrowsWithoutShiftStepThroughArticlesThroughTheMainWindow) {
  PressKey(body_, VK_LEFT);
  PressKey(body_, VK_RIGHT);
  // The topic window hands keys to its selection pane.
  Click(body_, {5, 150});
  PressKey(record_->topicWindow, VK_RIGHT);
  EXPECT_EQ(host_.log.commands, (std::vector<WPARAM>{120, 119, 119}));
}

TEST_F(PaneTest, TheCursorShowsWhatIsUnderThePointer) {
  const auto links = HotspotRects(display_);
  ASSERT_EQ(links.size(), 2u);  // a jump, then a popup
  const HINSTANCE exe = GetModuleHandleA(nullptr);
  SendMessageA(body_, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(links[0]).x, CentreOf(links[0]).y));
  EXPECT_EQ(GetCursor(), LoadCursorA(exe, "HAND_T"));
  SendMessageA(body_, WM_MOUSEMOVE, 0, MAKELPARAM(CentreOf(links[1]).x, CentreOf(links[1]).y));
  EXPECT_EQ(GetCursor(), LoadCursorA(exe, "HAND_B"));
  SendMessageA(body_, WM_MOUSEMOVE, 0, MAKELPARAM(links[0].left - 8, CentreOf(links[0]).y));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_IBEAM));
  SendMessageA(record_->topicWindow, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(PaneTest, TabAndEnterFollowAJump) {
  PressKey(body_, VK_TAB);  // the first hotspot: Волга
  PressKey(body_, VK_RETURN);
  EXPECT_EQ(ShownAddress(display_), AddressOf("topic_volga"));
  EXPECT_EQ(RegionText(display_).rfind("Волга —", 0), 0u);
  int low = 0, high = 0;
  GetScrollRange(body_, SB_VERT, &low, &high);
  EXPECT_EQ(high, 0);  // fitted again to the short article
}

TEST_F(PaneTest, AClickOnAJumpFollowsItAndADragSelects) {
  const RECT link = HotspotRects(display_).at(0);
  Click(body_, CentreOf(link));
  EXPECT_EQ(ShownAddress(display_), AddressOf("topic_volga"));
  EXPECT_FALSE(fMVIsSelected(display_));
  EXPECT_EQ(GetCapture(), nullptr);

  // Down on text, move, up: a selection, and the capture goes back.
  SendMessageA(body_, WM_MOUSEMOVE, 0, MAKELPARAM(3, 10));
  SendMessageA(body_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 10));
  EXPECT_EQ(GetCapture(), body_);
  SendMessageA(body_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 10));
  SendMessageA(body_, WM_LBUTTONUP, 0, MAKELPARAM(120, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(fMVIsSelected(display_));
  EXPECT_EQ(ShownAddress(display_), AddressOf("topic_volga"));  // a drag is no click on a link
}

}  // namespace
}  // namespace kro::article::test
