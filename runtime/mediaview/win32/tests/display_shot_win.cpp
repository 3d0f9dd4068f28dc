// display_shot TITLE CONTEXT WIDTH HEIGHT SECONDS: shows a topic as the reader's topic
// window does (heading strip over the scrolling body, parchment behind the text) at the top
// left of the screen for a while, so that a screenshot can be taken of it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "runtime/mediaview/MediaView.h"
#include "tests/support/Messages_win.h"

namespace {

constexpr COLORREF kParchment = RGB(0xF4, 0xEE, 0xDC);

LPMV DisplayOf(HWND hwnd) { return reinterpret_cast<LPMV>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

void OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  LONG err = 0;
  fMVApplyToDC(DisplayOf(hwnd), dc, &ps.rcPaint, &err);
  if (GetWindowLongPtrA(hwnd, GWLP_ID) == 0) {  // the heading strip: a rule under it
    RECT r;
    GetClientRect(hwnd, &r);
    RECT rule{r.left, r.bottom - 1, r.right, r.bottom};
    HBRUSH gold = CreateSolidBrush(RGB(201, 162, 39));
    FillRect(dc, &rule, gold);
    DeleteObject(gold);
  }
  EndPaint(hwnd, &ps);
}

void OnVScroll(HWND hwnd, UINT code) {
  LONG err = 0, top = 0, bottom = 0;
  POINT delta{};
  const LONG pos = yMVScrollY(DisplayOf(hwnd), &delta, &top, &bottom, code, 0, &err);
  SetScrollPos(hwnd, SB_VERT, pos, TRUE);
  ScrollWindow(hwnd, 0, delta.y, nullptr, nullptr);
  UpdateWindow(hwnd);
}

LRESULT CALLBACK PaneProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: OnPaint(hwnd); return 0;
    case WM_VSCROLL: OnVScroll(hwnd, LOWORD(wp)); return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

HWND MakePane(HWND parent, int id, LPMV display, DWORD style) {
  HWND pane = CreateWindowA("ShotPane", "", WS_CHILD | style, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(display));
  LONG err = 0;
  fMVSetWindow(display, pane, &err);
  fMVAllowEWSelection(display, TRUE);
  MVHidePartialLines(display, TRUE);
  MVSetBkColor(display, kParchment);
  return pane;
}

// The body pane's scroll bar, fitted as the reader fits it.
void RealizeBody(HWND pane, LPMV display) {
  LONG err = 0;
  SetScrollRange(pane, SB_VERT, 0, 0, FALSE);
  fMVRealize(display, nullptr, &err);
  const LONG y = HIWORD(ptMVGetScrollSizes(display));
  if (y) {
    SetScrollRange(pane, SB_VERT, 0, y, FALSE);
    fMVRealize(display, nullptr, &err);
    SetScrollRange(pane, SB_VERT, 0, HIWORD(ptMVGetScrollSizes(display)), TRUE);
  }
  SetScrollPos(pane, SB_VERT, yMVGetYScrollPos(display), TRUE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: display_shot TITLE CONTEXT WIDTH HEIGHT SECONDS\n");
    return 2;
  }
  const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
  MVSetInstance(GetModuleHandleA(nullptr));
  HMVTITLE title = hMVTitleOpenEx(argv[1], nullptr, nullptr);
  if (!title) return 1;
  kro::wintest::RegisterTestClass("ShotPane", PaneProc);
  HWND frame = CreateWindowA("ShotPane", "", WS_POPUP | WS_BORDER, 0, 0, w, h, nullptr, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  RECT client;
  GetClientRect(frame, &client);
  LONG err = 0;
  LPMV heading = lpMVNew(title, &err), body = lpMVNew(title, &err);
  HWND headingPane = MakePane(frame, 0, heading, 0);
  HWND bodyPane = MakePane(frame, 1, body, WS_VSCROLL);
  const LONG va = vaMVConvertContextString(title, argv[2]);
  fMVSetAddress(heading, va, MV_REGION_HEADING, 0, &err);
  fMVSetAddress(body, va, MV_REGION_BODY, 0, &err);
  int n = 0;
  if (fMVHasNSR(heading)) {
    fMVRealize(heading, &client, &err);
    n = std::min<int>(HIWORD(ptMVGetSize(heading)), client.bottom);
    MoveWindow(headingPane, 0, 0, client.right, n, FALSE);
    ShowWindow(headingPane, SW_SHOW);
  }
  MoveWindow(bodyPane, 0, n, client.right, client.bottom - n, FALSE);
  ShowWindow(bodyPane, SW_SHOW);
  RealizeBody(bodyPane, body);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
  std::printf("shown\n");
  std::fflush(stdout);
  kro::wintest::ShowFor(static_cast<UINT>(std::atoi(argv[5]) * 1000));
  MVDelete(heading);
  MVDelete(body);
  MVTitleClose(title);
  return 0;
}
