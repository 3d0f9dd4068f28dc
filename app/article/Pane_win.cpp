#include "app/article/Pane_win.h"

#include <utility>

#include "app/article/PaneState_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::article {
namespace {

constexpr LONG kHotspotDataBytes = 256;
constexpr int kNewWindowScrollMax = 100;  // the range a window's own scroll bar starts with
constexpr COLORREF kHeadingRule = RGB(0xC9, 0xA2, 0x27);

// A hotspot record over a caller's 256-byte buffer.
MVHOTSPOTINFO HotspotRecord(char (&data)[kHotspotDataBytes]) {
  MVHOTSPOTINFO hotspot{};
  hotspot.size = sizeof hotspot;
  hotspot.capacity = kHotspotDataBytes;
  hotspot.data = data;
  return hotspot;
}

void RunCallback(HWND pane, LPMV display, MVHOTSPOTINFO* hotspot) {
  // Longer data was not copied into the buffer: such a hotspot is not acted on.
  if (hotspot->length > hotspot->capacity) return;
  if (HotspotCallback callback = PaneCallback(pane)) callback(display, hotspot);
}

POINT ScrollExtent(LPMV display) {
  const DWORD sizes = ptMVGetScrollSizes(display);
  return {LOWORD(sizes), HIWORD(sizes)};
}

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool ControlDown() { return GetKeyState(VK_CONTROL) < 0; }

HCURSOR SystemCursor(LPCSTR name) { return LoadCursorA(nullptr, name); }
bool IBeamShown() { return GetCursor() == SystemCursor(IDC_IBEAM); }

// ---- Layout and scroll bars ---------------------------------------------------------

// Showing a scroll bar narrows the client area and so changes the layout: each bar that
// appears is followed by another layout, and the ranges end as the last layout says.
void FitScrollBars(HWND pane, LPMV display) {
  const int flags = PaneFlagsOf(pane);
  SetPaneWord(pane, PaneWord::kFlags, flags | kKeepLayoutOnSize);
  LONG err = 0;
  SetScrollRange(pane, SB_VERT, 0, 0, FALSE);
  SetScrollRange(pane, SB_HORZ, 0, 0, FALSE);
  fMVRealize(display, nullptr, &err);
  POINT extent = ScrollExtent(display);
  bool vertical = false, horizontal = false;
  if (extent.y != 0) {
    SetScrollRange(pane, SB_VERT, 0, extent.y, FALSE);
    vertical = true;
    fMVRealize(display, nullptr, &err);
  }
  extent = ScrollExtent(display);
  if (extent.x != 0) {
    SetScrollRange(pane, SB_HORZ, 0, extent.x, FALSE);
    horizontal = true;
    fMVRealize(display, nullptr, &err);
    if (!vertical) {
      extent = ScrollExtent(display);
      if (extent.y != 0) {
        SetScrollRange(pane, SB_VERT, 0, extent.y, FALSE);
        vertical = true;
        fMVRealize(display, nullptr, &err);
      }
    }
  }
  extent = ScrollExtent(display);
  if (vertical) SetScrollRange(pane, SB_VERT, 0, extent.y, FALSE);
  if (horizontal) SetScrollRange(pane, SB_HORZ, 0, extent.x, FALSE);
  SetScrollPos(pane, SB_VERT, yMVGetYScrollPos(display), TRUE);
  SetScrollPos(pane, SB_HORZ, xMVGetXScrollPos(display), TRUE);
  SetPaneWord(pane, PaneWord::kFlags, flags);
}

// A body that was never fitted still has the window's initial horizontal range.
void FixHorizontalRange(HWND pane, LPMV display) {
  const LONG width = ScrollExtent(display).x;
  int low = 0, high = 0;
  GetScrollRange(pane, SB_HORZ, &low, &high);
  if (width == 0 || high != kNewWindowScrollMax) return;
  SetScrollRange(pane, SB_HORZ, 0, width, TRUE);
  LONG err = 0;
  fMVRealize(display, nullptr, &err);
}

// ---- Scrolling -----------------------------------------------------------------------

// Besides what ScrollWindow uncovers, the runtime names a strip at the top and one at the
// bottom (a line cut by the hidden-partial-lines rule) that must be drawn again.
void RepaintStrips(HWND pane, UINT code, LONG top, LONG bottom) {
  RECT client;
  GetClientRect(pane, &client);
  RECT topStrip{0, 0, client.right, top};
  RECT bottomStrip{0, client.bottom - bottom, client.right, client.bottom};
  if (code == SB_LINEDOWN || code == SB_PAGEDOWN) {
    if (bottom > 0) InvalidateRect(pane, &bottomStrip, FALSE);
    UpdateWindow(pane);
    if (top > 0) ScrollWindow(pane, 0, -top, &topStrip, &topStrip);
    UpdateWindow(pane);
  } else {
    if (top > 0) InvalidateRect(pane, &topStrip, FALSE);
    UpdateWindow(pane);
    if (bottom > 0) ScrollWindow(pane, 0, bottom, &bottomStrip, &bottomStrip);
    UpdateWindow(pane);
  }
}

void OnVScroll(HWND pane, UINT code, int thumb) {
  LPMV display = PaneDisplay(pane);
  if (!display || PaneKindOf(pane) != kBodyPane || code > SB_BOTTOM) return;
  if (code == SB_THUMBTRACK) {
    SetScrollPos(pane, SB_VERT, thumb, TRUE);
    return;
  }
  FixHorizontalRange(pane, display);
  POINT delta{};
  LONG top = 0, bottom = 0, err = 0;
  const LONG position = yMVScrollY(display, &delta, &top, &bottom, code, code == SB_THUMBPOSITION ? thumb : 0, &err);
  SetScrollPos(pane, SB_VERT, position, TRUE);
  switch (code) {
    case SB_THUMBPOSITION:
      RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      break;
    case SB_TOP:
    case SB_BOTTOM:
      InvalidateRect(pane, nullptr, TRUE);
      break;
    default:
      ScrollWindow(pane, delta.x, delta.y, nullptr, nullptr);
      RepaintStrips(pane, code, top, bottom);
      break;
  }
}

void OnHScroll(HWND pane, UINT code, int thumb) {
  LPMV display = PaneDisplay(pane);
  if (!display || PaneKindOf(pane) != kBodyPane || code > SB_RIGHT) return;
  if (code == SB_THUMBTRACK) {
    SetScrollPos(pane, SB_HORZ, thumb, TRUE);
    return;
  }
  POINT delta{};
  LONG err = 0;
  const LONG position = xMVScrollX(display, &delta, code, code == SB_THUMBPOSITION ? thumb : 0, &err);
  SetScrollPos(pane, SB_HORZ, position, TRUE);
  if (code == SB_THUMBPOSITION)
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  else
    ScrollWindow(pane, delta.x, delta.y, nullptr, nullptr);
}

// ---- Painting ------------------------------------------------------------------------

// The search highlights go onto the main article once after each show or popup.
void ApplyHighlightsOnce() {
  PaneState& state = Panes();
  if (state.highlightsApplied) return;
  state.highlightsApplied = true;
  TopicRecord* main = MainArticle();
  if (!main || !Host()) return;
  LPMV body = PaneDisplay(main->scrollingPane);
  if (body && fMVHasSR(body)) Host()->ApplyHighlights(body);
}

// On a palette display a popup's embedded windows (pictures) bring their own palettes.
void RealizeEmbeddedPalettes(LPMV display, HDC dc) {
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) return;
  for (HWND embedded = hwndMVGetEmbeddedWindow(display, nullptr, 0); embedded;
       embedded = hwndMVGetEmbeddedWindow(display, embedded, 2)) {
    if (auto palette = reinterpret_cast<HPALETTE>(SendMessageA(embedded, kQueryEmbeddedPalette, 0, 0))) {
      SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
  }
}

void DrawHeadingRule(HWND pane, HDC dc) {
  RECT client;
  GetClientRect(pane, &client);
  RECT rule{0, client.bottom - 1, client.right, client.bottom};
  UniqueBrush brush(CreateSolidBrush(kHeadingRule));
  FillRect(dc, &rule, brush.Get());
}

void OnPaint(HWND pane) {
  LPMV display = PaneDisplay(pane);
  const int kind = PaneKindOf(pane);
  // Before BeginPaint: installing highlights may repaint the pane.
  if (display && kind != kPopupPane) ApplyHighlightsOnce();
  PaintGuard paint(pane);
  if (!display) return;
  if (kind == kPopupPane) RealizeEmbeddedPalettes(display, paint.Dc());
  RECT rect = paint.Dirty();
  if (IsRectEmpty(&rect)) GetClientRect(pane, &rect);
  LONG err = 0;
  // A heading above a body ends in a rule across the pane.
  if (fMVApplyToDC(display, paint.Dc(), &rect, &err) && kind == kHeadingPane && fMVHasSR(display))
    DrawHeadingRule(pane, paint.Dc());
}

// ---- Mouse ---------------------------------------------------------------------------

HCURSOR HotspotCursor(LONG kind) {
  const char* name = kind == MV_POINT_JUMP      ? "HAND_T"
                     : kind == MV_POINT_POPUP   ? "HAND_B"
                     : kind == MV_POINT_COMMAND ? "HAND_E"
                                                : "HAND_U";
  HCURSOR cursor = LoadCursorA(toolkit::ProgramInstance(), name);
  return cursor ? cursor : SystemCursor(IDC_ARROW);
}

HCURSOR CursorAt(LPMV display, POINT point) {
  MVPOINTINFO info{};
  info.size = sizeof info;
  LONG err = 0;
  if (fMVGetPointInfo(display, point.x, point.y, &info, nullptr, &err)) return HotspotCursor(info.kind);
  return SystemCursor(info.kind == MV_POINT_TEXT ? IDC_IBEAM : IDC_ARROW);
}

// A drag past the edge of a body scrolls it towards the pointer.
void ScrollTowards(HWND pane, POINT point) {
  RECT client;
  GetClientRect(pane, &client);
  if (point.y < 0) OnVScroll(pane, SB_LINEUP, 0);
  if (point.y >= client.bottom) OnVScroll(pane, SB_LINEDOWN, 0);
  if (point.x < 0) OnHScroll(pane, SB_LINELEFT, 0);
  if (point.x >= client.right) OnHScroll(pane, SB_LINERIGHT, 0);
}

void OnMouseMove(HWND pane, POINT point) {
  LPMV display = PaneDisplay(pane);
  if (!display) return;
  if (!Panes().dragging) {
    SetCursor(CursorAt(display, point));
    return;
  }
  if (PaneKindOf(pane) == kBodyPane) ScrollTowards(pane, point);
  LONG err = 0;
  MVSelectPoint(display, MV_SELECT_CHARACTERS, point.x, point.y, 1, &err);
}

void EndDrag(HWND pane, POINT point) {
  PaneState& state = Panes();
  state.dragging = false;
  HWND previous = std::exchange(state.captureBeforeDrag, nullptr);
  ReleaseCapture();
  // A popup that held the capture before the drag keeps holding it.
  if (previous && IsWindow(previous)) SetCapture(previous);
  LONG err = 0;
  MVSelectPoint(PaneDisplay(pane), MV_SELECT_CHARACTERS, point.x, point.y, 1, &err);
}

void OnLButtonUp(HWND pane, POINT point) {
  LPMV display = PaneDisplay(pane);
  if (!display) return;
  if (Panes().dragging) {
    EndDrag(pane, point);
    return;
  }
  if (IBeamShown()) return;
  char data[kHotspotDataBytes] = {};
  MVHOTSPOTINFO hotspot = HotspotRecord(data);
  MVPOINTINFO info{};
  info.size = sizeof info;
  LONG err = 0;
  fMVGetPointInfo(display, point.x, point.y, &info, &hotspot, &err);
  if (info.flags & MVPI_HOTSPOT) RunCallback(pane, display, &hotspot);
}

void OnLButtonDblClk(HWND pane, POINT point) {
  LPMV display = PaneDisplay(pane);
  if (!display || !IBeamShown()) return;
  LONG err = 0;
  MVSelectPoint(display, MV_SELECT_WORDS, point.x, point.y, 0, &err);
  MVSelectPoint(display, MV_SELECT_WORDS, point.x, point.y, 1, &err);
}

// ---- Keyboard ------------------------------------------------------------------------

void ActivateFocusedHotspot(HWND pane, LPMV display) {
  char data[kHotspotDataBytes] = {};
  MVHOTSPOTINFO hotspot = HotspotRecord(data);
  LONG err = 0;
  if (fMVFocusInfo(display, &hotspot, &err)) RunCallback(pane, display, &hotspot);
}

void SelectAll(HWND pane, LPMV display) {
  if (TopicRecord* record = RecordOfPane(pane)) {
    if (record->selectionPane && record->selectionPane != pane) fMVClearSelection(PaneDisplay(record->selectionPane));
    record->selectionPane = pane;
  }
  LONG err = 0;
  MVSelectPoint(display, MV_SELECT_ALL, 0, 0, 0, &err);
}

void CopyFromPane(HWND pane, LPMV display) {
  TopicRecord* record = RecordOfPane(pane);
  CopyDisplaySelection(display, record ? PaneDisplay(record->nonScrollingPane) : nullptr);
}

void SendToMainWindow(int command) {
  if (Host() && Host()->MainWindow()) SendMessageA(Host()->MainWindow(), WM_COMMAND, command, 0);
}

void CloseByEscape() {
  ClosePopups(nullptr);
  if (Host() && Host()->MainWindow()) SetFocus(Host()->MainWindow());
}

// ---- Window procedure ----------------------------------------------------------------

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

void OnCreate(const CREATESTRUCTA* create) {
  if ((create->style & WS_POPUP) && !Panes().reusablePopup) OnPopupCreated();
}

// The display goes with its window, also when a parent's destruction takes the pane along.
void OnDestroy(HWND pane) {
  if (LPMV display = PaneDisplay(pane)) {
    if (HGLOBAL highlights = hMVGetHighlights(display)) GlobalFree(highlights);
    MVDelete(display);
    SetPaneWord(pane, PaneWord::kDisplay, 0);
  }
  if (GetWindowLongA(pane, GWL_STYLE) & WS_POPUP) OnPopupDestroyed();
  PaneState& state = Panes();
  if (state.reusablePopup == pane) state.reusablePopup = nullptr;
  if (state.captureHolder == pane) state.captureHolder = nullptr;
}

void OnSize(HWND pane) {
  if (!(PaneFlagsOf(pane) & kKeepLayoutOnSize)) RealizePane(pane, nullptr);
}

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(reinterpret_cast<const CREATESTRUCTA*>(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroy(pane);
      return 0;
    case WM_PAINT:
      OnPaint(pane);
      return 0;
    case WM_SIZE:
      OnSize(pane);
      return 0;
    case WM_KEYDOWN:
      PaneKeyDown(pane, wParam);
      return 0;
    case WM_VSCROLL:
      OnVScroll(pane, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(pane, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(pane, PointOf(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      PaneLButtonDown(pane, wParam, PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(pane, PointOf(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(pane, PointOf(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      ClosePopups(nullptr);
      return 0;
  }
  return DefWindowProcA(pane, message, wParam, lParam);
}

}  // namespace

PaneState& Panes() {
  static PaneState state;
  return state;
}

// ---- Window words --------------------------------------------------------------------

LONG_PTR GetPaneWord(HWND pane, PaneWord word) {
  return GetWindowLongPtrA(pane, static_cast<int>(word) * static_cast<int>(sizeof(LONG_PTR)));
}

void SetPaneWord(HWND pane, PaneWord word, LONG_PTR value) {
  SetWindowLongPtrA(pane, static_cast<int>(word) * static_cast<int>(sizeof(LONG_PTR)), value);
}

bool IsPane(HWND window) {
  char name[sizeof kPaneClass + 1] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpA(name, kPaneClass) == 0;
}

LPMV PaneDisplay(HWND pane) { return IsPane(pane) ? reinterpret_cast<LPMV>(GetPaneWord(pane, PaneWord::kDisplay)) : nullptr; }
int PaneKindOf(HWND pane) { return static_cast<int>(GetPaneWord(pane, PaneWord::kKind)); }
HWND PaneParent(HWND pane) { return reinterpret_cast<HWND>(GetPaneWord(pane, PaneWord::kParent)); }
HotspotCallback PaneCallback(HWND pane) { return reinterpret_cast<HotspotCallback>(GetPaneWord(pane, PaneWord::kCallback)); }
int PaneFlagsOf(HWND pane) { return static_cast<int>(GetPaneWord(pane, PaneWord::kFlags)); }

// ---- Operations ----------------------------------------------------------------------

bool RegisterPaneClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = PaneProc;
  wc.cbWndExtra = static_cast<int>(PaneWord::kCount) * static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "myicon");
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kPaneClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreatePane(HWND parent, HINSTANCE instance, HMVTITLE title, int kind, int flags, HotspotCallback callback) {
  HWND pane = CreateWindowExA(0, kPaneClass, "Pane", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                              parent, nullptr, instance, nullptr);
  if (!pane) return nullptr;
  ShowWindow(pane, SW_HIDE);
  ShowScrollBar(pane, SB_BOTH, FALSE);
  LONG err = 0;
  LPMV display = lpMVNew(title, &err);
  if (!display) {
    DestroyWindow(pane);
    return nullptr;
  }
  fMVSetWindow(display, pane, &err);
  SetPaneWord(pane, PaneWord::kDisplay, reinterpret_cast<LONG_PTR>(display));
  SetPaneWord(pane, PaneWord::kKind, kind);
  SetPaneWord(pane, PaneWord::kParent, reinterpret_cast<LONG_PTR>(parent));
  SetPaneWord(pane, PaneWord::kCallback, reinterpret_cast<LONG_PTR>(callback ? callback : StandardHotspotHandler));
  SetPaneWord(pane, PaneWord::kFlags, flags);
  fMVAllowEWSelection(display, TRUE);
  return pane;
}

void DestroyPane(HWND pane) {
  if (IsPane(pane)) DestroyWindow(pane);  // WM_DESTROY frees the highlights and the display
}

int PaneJump(HWND pane, LONG address, LONG scroll) {
  LPMV display = PaneDisplay(pane);
  if (!display) return MVERR_INVALID;
  const int kind = PaneKindOf(pane);
  const UINT region = kind == kPopupPane ? MV_REGION_BODY : static_cast<UINT>(kind);
  LONG err = 0;
  if (fMVSetAddress(display, address, region, scroll, &err)) return 0;
  // A popup topic may consist of a heading alone.
  if (kind == kPopupPane) {
    err = 0;
    if (fMVSetAddress(display, address, MV_REGION_HEADING, scroll, &err)) return 0;
  }
  return err ? err : MVERR_INVALID;
}

void RealizePane(HWND pane, RECT* rect) {
  LPMV display = PaneDisplay(pane);
  if (!display) return;
  if (PaneKindOf(pane) == kBodyPane) {
    FitScrollBars(pane, display);
    return;
  }
  LONG err = 0;
  fMVRealize(display, rect, &err);
}

void PaneLButtonDown(HWND pane, WPARAM keys, POINT point) {
  PaneState& state = Panes();
  // A click while a popup is open starts afresh; the pane that routing hands it to may
  // start a drag of its own.
  if (state.captureHolder) {
    state.dragging = false;
    if (RouteClick(pane, keys, point)) return;
  }
  LPMV display = PaneDisplay(pane);
  if (!display) return;
  SendMessageA(PaneParent(pane), kPaneClicked, 0, reinterpret_cast<LPARAM>(pane));
  LONG err = 0;
  if ((PaneFlagsOf(pane) & kNoSelection) || fMVGetPointInfo(display, point.x, point.y, nullptr, nullptr, &err)) return;
  MVSelectPoint(display, MV_SELECT_CHARACTERS, point.x, point.y, 0, &err);
  state.captureBeforeDrag = SetCapture(pane);
  state.dragging = true;
}

void PaneKeyDown(HWND pane, WPARAM key) {
  LPMV display = PaneDisplay(pane);
  if (!display) return;
  const bool shift = ShiftDown(), control = ControlDown();
  const UINT shiftState = shift ? 0x8000 : 0;
  switch (key) {
    case VK_TAB: fMVMoveFocus(display, !shift); break;
    case VK_RETURN: ActivateFocusedHotspot(pane, display); break;
    case VK_ESCAPE: CloseByEscape(); break;
    case VK_PRIOR: OnVScroll(pane, SB_PAGEUP, 0); break;
    case VK_NEXT: OnVScroll(pane, SB_PAGEDOWN, 0); break;
    case VK_HOME:
    case VK_END:
      if (control)
        OnVScroll(pane, key == VK_HOME ? SB_TOP : SB_BOTTOM, 0);
      else if (shift)
        MVSelectKey(display, key == VK_HOME ? MV_KEY_LINE_START : MV_KEY_LINE_END, shiftState);
      break;
    case VK_UP:
    case VK_DOWN:
      if (shift)
        MVSelectKey(display, key == VK_UP ? MV_KEY_UP : MV_KEY_DOWN, shiftState);
      else
        OnVScroll(pane, key == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (shift)
        MVSelectKey(display, key == VK_LEFT ? MV_KEY_LEFT : MV_KEY_RIGHT, shiftState);
      else
        SendToMainWindow(key == VK_LEFT ? kPreviousArticleCommand : kNextArticleCommand);
      break;
    case 'A':
      if (control) SelectAll(pane, display);
      break;
    case 'C':
      if (control) CopyFromPane(pane, display);
      break;
  }
}

LONG CALLBACK StandardHotspotHandler(LPMV display, LPMVHOTSPOTINFO hotspot) {
  if (!display || !hotspot) return 0;
  HMVTITLE title = hMVGetTitle(display, 0);
  switch (hotspot->kind) {
    case MV_HOTSPOT_COMMAND:
      return 1;
    case MV_HOTSPOT_JUMP: {
      HWND pane = ClosePopups(hwndMVGetWindow(display));
      if (!PaneDisplay(pane)) return 1;
      PaneJump(pane, vaMVConvertHash(title, hotspot->hash), 0);
      RealizePane(pane, nullptr);
      InvalidateRect(pane, nullptr, TRUE);
      return 1;
    }
    case MV_HOTSPOT_POPUP:
      return ShowPopupTopic(display, hotspot->rect, vaMVConvertHash(title, hotspot->hash), 2);
    default:
      return 0;
  }
}

bool FirstPaintDone() { return Panes().highlightsApplied; }

}  // namespace kro::article
