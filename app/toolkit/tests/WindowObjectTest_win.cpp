#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/toolkit/DefaultWindow.h"
#include "app/toolkit/ExplorerWindow.h"
#include "app/toolkit/ListWindow.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {
namespace {

// A top-level host for child window objects, shown so that painting happens.
struct HostWindow {
  HWND hwnd = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ~HostWindow() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
};

// Records which handler each message reached.
class RecordingWindow : public DefaultWindow {
public:
  explicit RecordingWindow(HWND parent) {
    RegisterClass("RecordingWindowClass", nullptr, nullptr, nullptr, CS_DBLCLKS);
    CreateBoundWindow(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, 7, "Окно");
  }
  const char* ClassName() const override { return "RecordingWindowClass"; }

  bool OnCreate(HWND hwnd) override { return Note("create"), DefaultWindow::OnCreate(hwnd); }
  LRESULT OnClose(WPARAM, LPARAM) override { return Note("close"); }
  LRESULT OnSize(WPARAM, LPARAM) override { return Note("size"); }
  LRESULT OnTimer(WPARAM, LPARAM) override { return Note("timer"); }
  LRESULT OnCommand(WPARAM, LPARAM) override { return Note("command"); }
  LRESULT OnMouseMove(WPARAM, LPARAM) override { return Note("mousemove"); }
  LRESULT OnLButtonDown(WPARAM, LPARAM) override { return Note("ldown"); }
  LRESULT OnLButtonUp(WPARAM, LPARAM) override { return Note("lup"); }
  LRESULT OnLButtonDoubleClick(WPARAM, LPARAM) override { return Note("ldouble"); }
  LRESULT OnRButtonDown(WPARAM, LPARAM) override { return Note("rdown"); }
  LRESULT OnRButtonUp(WPARAM, LPARAM) override { return Note("rup"); }
  LRESULT OnRButtonDoubleClick(WPARAM, LPARAM) override { return Note("rdouble"); }
  LRESULT OnKeyDown(WPARAM, LPARAM) override { return Note("keydown"); }
  LRESULT OnKeyUp(WPARAM, LPARAM) override { return Note("keyup"); }
  LRESULT OnEraseBackground(WPARAM, LPARAM) override { return Note("erase"); }
  LRESULT OnNcHitTest(WPARAM, LPARAM) override { return Note("hittest"); }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER + 1) throw std::runtime_error("handler failed");
    return DefaultWindow::OnMessage(message, wParam, lParam);
  }

  std::vector<std::string> heard;

private:
  LRESULT Note(const char* what) {
    heard.push_back(what);
    return 42;
  }
};

TEST(DefaultWindow, RegistersAClassOnlyOnce) {
  DefaultWindow window;
  ASSERT_TRUE(window.RegisterClass("OnceClass", nullptr, nullptr, nullptr, CS_DBLCLKS));
  EXPECT_TRUE(window.RegisterClass("OnceClass", nullptr, nullptr, nullptr, CS_HREDRAW));
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "OnceClass", &wc));
  EXPECT_EQ(wc.style, UINT{CS_DBLCLKS});  // the first registration stands
  EXPECT_EQ(wc.lpfnWndProc, &WindowObjectProc);
  EXPECT_EQ(wc.cbWndExtra, int(sizeof(LONG_PTR)));
  EXPECT_EQ(wc.hbrBackground, GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

TEST(DefaultWindow, RoutesEachMessageToItsHandler) {
  HostWindow host;
  RecordingWindow window(host.hwnd);
  ASSERT_NE(window.Hwnd(), nullptr);
  EXPECT_EQ(WindowObjectOf(window.Hwnd()), &window);
  EXPECT_EQ(GetDlgCtrlID(window.Hwnd()), 7);
  char title[16] = {};
  GetWindowTextA(window.Hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Окно");
  ASSERT_FALSE(window.heard.empty());
  EXPECT_EQ(window.heard.front(), "create");

  const struct {
    UINT message;
    const char* handler;
  } kRoutes[] = {
      {WM_CLOSE, "close"},         {WM_SIZE, "size"},          {WM_TIMER, "timer"},       {WM_COMMAND, "command"},
      {WM_MOUSEMOVE, "mousemove"}, {WM_LBUTTONDOWN, "ldown"},  {WM_LBUTTONUP, "lup"},     {WM_LBUTTONDBLCLK, "ldouble"},
      {WM_RBUTTONDOWN, "rdown"},   {WM_RBUTTONUP, "rup"},      {WM_RBUTTONDBLCLK, "rdouble"}, {WM_KEYDOWN, "keydown"},
      {WM_KEYUP, "keyup"},         {WM_ERASEBKGND, "erase"},   {WM_NCHITTEST, "hittest"},
  };
  for (const auto& route : kRoutes) {
    window.heard.clear();
    EXPECT_EQ(SendMessageA(window.Hwnd(), route.message, 0, 0), 42) << route.handler;
    EXPECT_EQ(window.heard, std::vector<std::string>{route.handler});
  }
  EXPECT_TRUE(IsWindow(window.Hwnd()));  // WM_CLOSE alone destroys nothing
}

TEST(DefaultWindow, OtherMessagesReachOnMessageAndExceptionsStopThere) {
  HostWindow host;
  RecordingWindow window(host.hwnd);
  SetWindowTextA(window.Hwnd(), "Текст");  // WM_SETTEXT through OnMessage to DefWindowProcA
  char text[16] = {};
  GetWindowTextA(window.Hwnd(), text, sizeof text);
  EXPECT_STREQ(text, "Текст");
  EXPECT_EQ(SendMessageA(window.Hwnd(), WM_USER + 1, 0, 0), 0);  // the throw did not escape
}

TEST(DefaultWindow, SystemDestructionLeavesTheObjectWithoutAHandle) {
  auto host = std::make_unique<HostWindow>();
  auto list = std::make_unique<ExplorerWindow>(nullptr, 10, 10, 100, 80, host->hwnd);
  const HWND hwnd = list->Hwnd();
  ASSERT_TRUE(IsWindow(hwnd));
  host.reset();  // destroys the child with its parent
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(list->Hwnd(), nullptr);
  list.reset();  // nothing left to destroy

  HostWindow other;
  ExplorerWindow* owned = new ExplorerWindow(nullptr, 0, 0, 10, 10, other.hwnd);
  const HWND live = owned->Hwnd();
  delete owned;  // the owner's delete takes the live window with it
  EXPECT_FALSE(IsWindow(live));
}

// An element that fills its window and remembers how it was asked to draw.
class FillElement : public Element {
public:
  FillElement() : Element(0, 0, 0, 0) {}
  bool Draw(HDC dc, int dx, int dy) override {
    ++draws;
    lastOffset = {dx, dy};
    const RECT area{dx + x, dy + y, dx + x + width, dy + y + height};
    UniqueBrush brush(CreateSolidBrush(RGB(0xC9, 0xA2, 0x27)));
    FillRect(dc, &area, brush.Get());
    return true;
  }
  int draws = 0;
  POINT lastOffset{-1, -1};
};

class PaintedExplorer : public ExplorerWindow {
public:
  PaintedExplorer(HWND parent) : ExplorerWindow(nullptr, 20, 30, 60, 40, parent) {
    auto element = std::make_unique<FillElement>();
    fill = element.get();
    ReplaceElement(std::move(element));
    fill->x = fill->y = 0;  // the element draws in the window's own coordinates
  }
  FillElement* fill;
};

TEST(ExplorerWindow, PaintsThroughItsElement) {
  HostWindow host;
  PaintedExplorer window(host.hwnd);
  char name[32];
  GetClassNameA(window.Hwnd(), name, sizeof name);
  EXPECT_STREQ(name, "ExplorerWindowClass");
  EXPECT_EQ(GetWindowLongA(window.Hwnd(), GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(window.fill->width, 60);

  InvalidateRect(window.Hwnd(), nullptr, TRUE);
  UpdateWindow(window.Hwnd());
  EXPECT_GE(window.fill->draws, 1);
  EXPECT_EQ(window.fill->lastOffset.x, 0);
  EXPECT_EQ(window.fill->lastOffset.y, 0);
  WindowDc dc(window.Hwnd());
  EXPECT_EQ(GetPixel(dc.Get(), 59, 39), RGB(0xC9, 0xA2, 0x27));
}

TEST(ListWindow, TakesDoubleClicksAndClipsChildren) {
  HostWindow host;
  ListWindow window(nullptr, 5, 6, 70, 50, host.hwnd);
  char name[32];
  GetClassNameA(window.Hwnd(), name, sizeof name);
  EXPECT_STREQ(name, "ListWindowClass");
  EXPECT_TRUE(GetClassLongA(window.Hwnd(), GCL_STYLE) & CS_DBLCLKS);
  EXPECT_TRUE(GetWindowLongA(window.Hwnd(), GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(window.BackgroundColour(), kNoColour);
  EXPECT_EQ(window.Parent(), host.hwnd);

  window.Move(1, 2, 30, 40, true);
  RECT r;
  GetWindowRect(window.Hwnd(), &r);
  MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom, 42);
  window.MoveTo(Box{3, 4, 50, 60}, true);
  GetWindowRect(window.Hwnd(), &r);
  MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.right, 53);
  EXPECT_EQ(r.bottom, 64);
}

class TypedElement : public Element {
public:
  TypedElement(ElementType kind) : Element(1, 2, 30, 40) { SetType(kind); }
};

TEST(Element, StartsClearAndTakesItsTypesKeywordAndDecoration) {
  const Element plain(1, 2, 30, 40);
  EXPECT_EQ(plain.checked + plain.hover + plain.current + plain.decoration, 0u);
  EXPECT_EQ(plain.type, kElementNone);
  EXPECT_STREQ(plain.typeName, "");
  EXPECT_EQ(plain.node, nullptr);

  TypedElement checker(kElementSelectChecker);
  EXPECT_STREQ(checker.typeName, "SELECTCHECKER");
  EXPECT_EQ(checker.decoration, 1u);
  EXPECT_EQ(checker.GetWidth(), 30);
  checker.SetState(1);
  EXPECT_EQ(checker.GetState(), 0u);  // the base keeps no state
  TypedElement text(kElementText);
  EXPECT_STREQ(text.typeName, "TEXT");
  EXPECT_EQ(text.decoration, 0u);
}

}  // namespace
}  // namespace kro::toolkit
