// Popup topics: one reusable popup pane above the article, holding the mouse capture while
// it is open so that a click anywhere first decides whether the popup closes, with a
// message hook that brings Esc typed in its child windows to it.
#include <algorithm>

#include "app/article/Pane_win.h"
#include "app/article/PaneState_win.h"
#include "app/article/TopicWindow_win.h"

namespace kro::article {
namespace {

constexpr int kNewPopupSize = 400;
constexpr RECT kContextPopupOrigin{160, 120, 480, 360};  // over the main display
constexpr int kMaxPopupChain = 8;  // bounds the close loops should a parent chain ever cycle

bool IsPopupPane(HWND window) { return IsPane(window) && PaneKindOf(window) == kPopupPane; }

SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The display's natural size, never larger than the screen (popups do not scroll).
SIZE NaturalSize(LPMV display) {
  const DWORD size = ptMVGetSize(display);
  const SIZE screen = ScreenSize();
  return {std::min<LONG>(LOWORD(size), screen.cx), std::min<LONG>(HIWORD(size), screen.cy)};
}

HWND CreatePopupPane(LPMV source, HWND sourcePane, int mode) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(sourcePane, GWLP_HINSTANCE));
  const DWORD style = mode == 1 ? WS_POPUP : WS_POPUP | WS_BORDER;
  HWND popup = CreateWindowExA(0, kPaneClass, "Pane", style, 0, 0, 0, 0, sourcePane, nullptr, instance, nullptr);
  if (!popup) return nullptr;
  LONG err = 0;
  LPMV display = lpMVDuplicate(source, &err);
  if (!display) {
    DestroyWindow(popup);
    return nullptr;
  }
  if (mode == 2) {
    SetClassLongPtrA(popup, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
    MVSetBkColor(display, RGB(0, 0, 0));
    // The duplicate keeps the article's black text, which would vanish on black.
    MVSetTextColor(display, RGB(255, 255, 255));
  }
  ShowWindow(popup, SW_HIDE);
  ShowScrollBar(popup, SB_BOTH, FALSE);
  fMVSetWindow(display, popup, &err);
  SetPaneWord(popup, PaneWord::kDisplay, reinterpret_cast<LONG_PTR>(display));
  SetPaneWord(popup, PaneWord::kKind, kPopupPane);
  SetPaneWord(popup, PaneWord::kParent, reinterpret_cast<LONG_PTR>(sourcePane));
  Panes().reusablePopup = popup;
  return popup;
}

// A new popup starts hidden at the centre of its hotspot, at a width to lay the topic out in.
void PlaceAtHotspot(HWND popup, HWND sourcePane, const RECT& hotspot) {
  POINT centre{(hotspot.left + hotspot.right) / 2, (hotspot.top + hotspot.bottom) / 2};
  ClientToScreen(sourcePane, &centre);
  SetWindowPos(popup, nullptr, centre.x, centre.y, kNewPopupSize, kNewPopupSize, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowCentred(HWND popup, LPMV display) {
  RealizePane(popup, nullptr);
  const SIZE size = NaturalSize(display);
  const SIZE screen = ScreenSize();
  MoveWindow(popup, (screen.cx - size.cx) / 2, (screen.cy - size.cy) / 2, size.cx, size.cy, TRUE);
  ShowWindow(popup, SW_SHOW);
}

// The whole screen, the topic laid out at its natural size in the middle.
void ShowFullScreen(HWND popup, LPMV display) {
  RealizePane(popup, nullptr);
  const SIZE size = NaturalSize(display);
  const SIZE screen = ScreenSize();
  MoveWindow(popup, 0, 0, screen.cx, screen.cy, TRUE);
  RECT client;
  GetClientRect(popup, &client);
  RECT centred{(client.right - size.cx) / 2, (client.bottom - size.cy) / 2, 0, 0};
  centred.right = centred.left + size.cx;
  centred.bottom = centred.top + size.cy;
  RealizePane(popup, &centred);
  ShowWindow(popup, SW_SHOW);
}

// Closes one popup; a popup parent takes over the capture. Answers the parent.
HWND CloseOnePopup(HWND popup) {
  PaneState& state = Panes();
  HWND parent = PaneParent(popup);
  if (IsPopupPane(parent)) {
    SetCapture(parent);
    state.captureHolder = parent;
  } else {
    if (GetCapture() == popup) ReleaseCapture();
    state.captureHolder = nullptr;
  }
  if (popup == state.reusablePopup)
    SetClassLongPtrA(popup, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
  DestroyPane(popup);
  return parent;
}

bool IsInsidePopup(HWND window, HWND popup) {
  HWND ancestor = window;
  for (int level = 0; level < 3 && ancestor; ++level) {
    ancestor = GetParent(ancestor);
    if (ancestor == popup) return true;
  }
  return false;
}

}  // namespace

void OnPopupCreated() {
  PaneState& state = Panes();
  if (!state.popupHook)
    state.popupHook.Reset(SetWindowsHookExA(WH_GETMESSAGE, PopupChildHookProc, nullptr, GetCurrentThreadId()));
}

void OnPopupDestroyed() { Panes().popupHook.Reset(); }

HWND OpenPopup() { return Panes().reusablePopup; }

void SetPopupFocusWindow(HWND window) { Panes().focusAfterPopups = window; }

int ShowPopupTopic(LPMV source, const RECT& hotspot, LONG address, int mode) {
  HWND sourcePane = source ? hwndMVGetWindow(source) : nullptr;
  if (!sourcePane || address == -1) return 0;
  PaneState& state = Panes();
  HWND popup = state.reusablePopup;
  const bool created = !popup;
  if (created && !(popup = CreatePopupPane(source, sourcePane, mode))) return 0;
  LPMV display = PaneDisplay(popup);
  SetPaneWord(popup, PaneWord::kFlags, kKeepLayoutOnSize);
  SetPaneWord(popup, PaneWord::kCallback, reinterpret_cast<LONG_PTR>(PaneCallback(sourcePane)));
  if (created) PlaceAtHotspot(popup, sourcePane, hotspot);
  PaneJump(popup, address, 0);
  if (mode == 1)
    ShowCentred(popup, display);
  else
    ShowFullScreen(popup, display);
  InvalidateRect(popup, nullptr, TRUE);
  SetCapture(popup);
  state.captureHolder = popup;
  fMVClearSelection(source);
  return 1;
}

int ShowPopupByContextString(const char* context, int mode) {
  TopicRecord* main = MainArticle();
  LPMV display = MainDisplay(main);
  if (!display || !context) return 0;
  if (mode == 2) {
    // The highlights come back at the article's next paint.
    Panes().highlightsApplied = false;
    LPMV body = PaneDisplay(main->scrollingPane);
    if (HGLOBAL highlights = hMVGetHighlights(body)) {
      LONG err = 0;
      hMVSetHighlights(body, nullptr, FALSE, &err);
      GlobalFree(highlights);
    }
  }
  HMVTITLE title = hMVGetTitle(display, 0);
  const LONG address = vaMVConvertAddr(title, addrMVConvertContextString(title, context));
  return ShowPopupTopic(display, kContextPopupOrigin, address, mode);
}

HWND ClosePopups(HWND window) {
  PaneState& state = Panes();
  HWND result = window;
  if (state.reusablePopup) result = CloseOnePopup(state.reusablePopup);
  for (int i = 0; i < kMaxPopupChain && state.captureHolder; ++i) result = CloseOnePopup(state.captureHolder);
  state.captureHolder = nullptr;
  if (state.focusAfterPopups) {
    SetFocus(state.focusAfterPopups);
    state.focusAfterPopups = nullptr;
  } else if (!window && Host() && Host()->MainWindow()) {
    UpdateWindow(Host()->MainWindow());
  }
  state.reusablePopup = nullptr;
  return result;
}

bool RouteClick(HWND pane, WPARAM keys, POINT point) {
  POINT screen = point;
  ClientToScreen(pane, &screen);
  HWND under = WindowFromPoint(screen);
  if (under == pane) return false;
  PaneState& state = Panes();
  for (int i = 0; i < kMaxPopupChain && state.captureHolder; ++i) {
    RECT holder;
    GetWindowRect(state.captureHolder, &holder);
    if (PtInRect(&holder, screen)) break;
    HWND parent = CloseOnePopup(state.captureHolder);
    if (state.captureHolder) continue;  // a popup parent routes the click again
    if (under == parent && IsPane(parent)) {
      POINT local = screen;
      ScreenToClient(parent, &local);
      PaneLButtonDown(parent, keys, local);
      return true;
    }
    break;
  }
  if (under) {
    POINT local = screen;
    ScreenToClient(under, &local);
    PostMessageA(under, WM_LBUTTONDOWN, keys, MAKELPARAM(local.x, local.y));
    SetFocus(under);
  }
  return true;
}

}  // namespace kro::article

LRESULT CALLBACK PopupChildHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  HWND popup = kro::article::Panes().reusablePopup;
  // Only a message taken off the queue counts: a peek that leaves it there comes back.
  if (code == HC_ACTION && wParam == PM_REMOVE && popup && message &&
      (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) && message->wParam == VK_ESCAPE &&
      kro::article::IsInsidePopup(message->hwnd, popup))
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, message->lParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
