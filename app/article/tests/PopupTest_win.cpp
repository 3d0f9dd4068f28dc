// Popup topics: opened from hotspots and by context string, in both modes; closed by Esc
// (directly and through the hook from a child window), by a click outside, a right click
// and a jump; reused by a popup link inside a popup.
#include <gtest/gtest.h>

#include "app/article/tests/ArticleTestSupport_win.h"

namespace kro::article::test {
namespace {

class PopupTest : public ArticleTest {
protected:
  void SetUp() override {
    ArticleTest::SetUp();
    main_ = CreateMainArticleWindow(GetModuleHandleA(nullptr), FixtureTitle(), host_.MainWindow());
    ASSERT_NE(main_, nullptr);
    MoveWindow(main_->topicWindow, 20, 20, 400, 300, TRUE);
    Pump();
    body_ = main_->scrollingPane;
  }
  // Tab to the popup link "дельта" and press Enter.
  HWND OpenDeltaPopup() {
    PressKey(body_, VK_TAB);
    PressKey(body_, VK_TAB);
    PressKey(body_, VK_RETURN);
    return OpenPopup();
  }

  TopicRecord* main_ = nullptr;
  HWND body_ = nullptr;
};

RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

TEST_F(PopupTest, AHotspotOpensABlackFullScreenPopupThatEscCloses) {
  HWND popup = OpenDeltaPopup();
  ASSERT_NE(popup, nullptr);
  const LONG style = GetWindowLongA(popup, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_TRUE(style & WS_VISIBLE);
  const RECT r = ScreenRect(popup);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetCapture(), popup);
  EXPECT_EQ(PaneKindOf(popup), kPopupPane);
  LPMV display = PaneDisplay(popup);
  EXPECT_EQ(ShownAddress(display), AddressOf("pop_delta"));
  EXPECT_EQ(RegionText(display).rfind("Дельта", 0), 0u);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrA(popup, GCLP_HBRBACKGROUND)), GetStockObject(BLACK_BRUSH));

  // The topic sits in the middle of the screen: the screen's centre is not black.
  Pump();
  UpdateWindow(popup);
  HDC screen = GetDC(nullptr);
  const SIZE size{LOWORD(ptMVGetSize(display)), HIWORD(ptMVGetSize(display))};
  int lit = 0;
  for (int x = -size.cx / 2; x < size.cx / 2; x += 2)
    lit += GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2 + x, GetSystemMetrics(SM_CYSCREEN) / 2) != RGB(0, 0, 0);
  EXPECT_EQ(GetPixel(screen, 5, 5), RGB(0, 0, 0));
  ReleaseDC(nullptr, screen);
  EXPECT_GT(lit, 0);

  PressKey(popup, VK_ESCAPE);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), host_.MainWindow());
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrA(body_, GCLP_HBRBACKGROUND)), GetStockObject(WHITE_BRUSH));
}

TEST_F(PopupTest, EscTypedInAChildOfThePopupReachesItThroughTheHook) {
  HWND popup = OpenDeltaPopup();
  ASSERT_NE(popup, nullptr);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, popup, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  HWND grandchild = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, child, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  PostMessageA(grandchild, WM_KEYDOWN, 'X', 1);
  Pump();
  EXPECT_TRUE(IsWindow(popup));  // only Esc
  PostMessageA(grandchild, WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(OpenPopup(), nullptr);

  // No popup, no hook: Esc in an ordinary window stays there.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host_.MainWindow(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  PostMessageA(other, WM_KEYDOWN, VK_ESCAPE, 1);
  Pump();
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
}

TEST_F(PopupTest, ByContextStringInModeOneItIsCentredAtItsNaturalSize) {
  EXPECT_EQ(ShowPopupByContextString("no_such_popup", 1), 0);
  EXPECT_EQ(OpenPopup(), nullptr);
  ASSERT_EQ(ShowPopupByContextString("pop_arm", 1), 1);
  HWND popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(GetWindowLongA(popup, GWL_STYLE) & WS_BORDER);
  const DWORD size = ptMVGetSize(PaneDisplay(popup));
  const RECT r = ScreenRect(popup);
  EXPECT_EQ(r.right - r.left, LOWORD(size));
  EXPECT_EQ(r.bottom - r.top, HIWORD(size));
  EXPECT_LT(r.right - r.left, 400);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - LOWORD(size)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - HIWORD(size)) / 2);
  EXPECT_EQ(GetCapture(), popup);

  // A right click anywhere closes it.
  SendMessageA(popup, WM_RBUTTONDOWN, 0, 0);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PopupTest, AClickOutsideClosesItAndThePaneBelowTakesTheClick) {
  ASSERT_EQ(ShowPopupByContextString("pop_arm", 1), 1);
  HWND popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  host_.log.notices.clear();
  main_->selectionPane = nullptr;
  // The captured click arrives at the popup, in its coordinates, over the article body.
  POINT onBody{30, 200};
  ClientToScreen(body_, &onBody);
  POINT local = onBody;
  ScreenToClient(popup, &local);
  SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(main_->selectionPane, body_);  // the body handled the click itself
  ASSERT_EQ(host_.log.notices.size(), 1u);
  EXPECT_EQ(GetCapture(), body_);  // and started a selection drag
  SendMessageA(body_, WM_LBUTTONUP, 0, MAKELPARAM(30, 200));
  EXPECT_EQ(GetCapture(), nullptr);

  // A click inside stays in the popup.
  ASSERT_EQ(ShowPopupByContextString("pop_arm", 1), 1);
  popup = OpenPopup();
  SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_TRUE(IsWindow(popup));
  SendMessageA(popup, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(GetCapture(), popup);  // given back after the drag
}

// A window the sound topic embeds: it counts the clicks that reach it.
int gEmbeddedClicks = 0;
LRESULT CALLBACK PopupEmbedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) ++gEmbeddedClicks;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(PopupTest, APopupHoldsTheWindowsItsTopicEmbedsUntilItCloses) {
  ASSERT_TRUE(wintest::RegisterTestClass("PopupEmbed", PopupEmbedProc));
  ASSERT_EQ(ShowPopupByContextString("pop_sound", 2), 1);
  HWND popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  HWND embedded = hwndMVGetEmbeddedWindow(PaneDisplay(popup), nullptr, 0);
  ASSERT_NE(embedded, nullptr);
  EXPECT_EQ(GetParent(embedded), popup);
  char text[32] = {};
  GetWindowTextA(embedded, text, sizeof text);
  EXPECT_STREQ(text, "rec.mov");
  // Laid out for the popup's last frame: on the screen, inside the centred topic.
  RECT box;
  GetWindowRect(embedded, &box);
  EXPECT_EQ(box.right - box.left, 100);
  EXPECT_GT(box.left, 0);
  EXPECT_LT(box.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_TRUE(IsWindowVisible(embedded));

  // The popup holds the capture, yet a click on the embedded window reaches it and the
  // popup stays open.
  gEmbeddedClicks = 0;
  POINT inside{box.left + 5, box.top + 5};
  ScreenToClient(popup, &inside);
  SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
  Pump();
  EXPECT_EQ(gEmbeddedClicks, 1);
  EXPECT_TRUE(IsWindow(popup));

  PressKey(popup, VK_ESCAPE);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_FALSE(IsWindow(embedded));
}

TEST_F(PopupTest, LinksInsideAPopupReuseItOrCloseIt) {
  HWND popup = OpenDeltaPopup();
  ASSERT_NE(popup, nullptr);
  const auto links = HotspotRects(PaneDisplay(popup));
  ASSERT_EQ(links.size(), 2u);  // "рукав" (popup), "Волга" (jump)
  Click(popup, CentreOf(links[0]));
  EXPECT_EQ(OpenPopup(), popup);  // the same window shows the new topic
  EXPECT_EQ(ShownAddress(PaneDisplay(popup)), AddressOf("pop_arm"));
  EXPECT_EQ(GetCapture(), popup);

  ShowPopupTopic(PaneDisplay(popup), links[0], AddressOf("pop_delta"), 2);
  ASSERT_EQ(OpenPopup(), popup);
  PressKey(popup, VK_TAB);
  PressKey(popup, VK_TAB);
  PressKey(popup, VK_RETURN);  // the jump: the popup closes, the body under it follows
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_EQ(ShownAddress(PaneDisplay(body_)), AddressOf("topic_volga"));
}

TEST_F(PopupTest, TheArticleLooksAsTheLookSays) {
  HDC screen = GetDC(nullptr);
  UpdateWindow(main_->topicWindow);
  RECT body;
  GetWindowRect(body_, &body);
  // The white background of the look at the body's right edge, below the text's first line.
  EXPECT_EQ(GetPixel(screen, body.right - GetSystemMetrics(SM_CXVSCROLL) - 3, body.bottom - 3), RGB(255, 255, 255));
  // The gold rule closes the heading.
  RECT heading;
  GetWindowRect(main_->nonScrollingPane, &heading);
  EXPECT_EQ(GetPixel(screen, heading.left + 50, heading.bottom - 1), RGB(0xC9, 0xA2, 0x27));
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace kro::article::test
