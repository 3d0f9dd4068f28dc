// display_bench TITLE: layout plus paint time of the title's 50 KB article in a 640x480
// window, and the time of one line scroll as the reader's pane does it (yMVScrollY,
// ScrollWindow, the strip repaint).
#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/mediaview/MediaView.h"
#include "runtime/mediaview/win32/tests/DisplayPane_win.h"
#include "tests/support/Messages_win.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kRuns = 30;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-34s median %7.3f ms   min %7.3f ms   max %7.3f ms\n", what, ms[ms.size() / 2], ms.front(), ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: display_bench TITLE\n");
    return 2;
  }
  MVSetInstance(GetModuleHandleA(nullptr));
  HMVTITLE title = hMVTitleOpenEx(argv[1], nullptr, nullptr);
  if (!title) return 1;
  kro::wintest::RegisterTestClass("BenchPane", kro::wintest::DisplayPaneProc);
  HWND pane = CreateWindowA("BenchPane", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  LONG err = 0;
  LPMV d = lpMVNew(title, &err);
  SetWindowLongPtrA(pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
  fMVSetWindow(d, pane, &err);
  MVHidePartialLines(d, TRUE);
  fMVSetAddress(d, vaMVConvertContextString(title, "topic_long"), MV_REGION_BODY, 0, &err);
  HGLOBAL text = hMVCopyMedia(d, &err);
  std::printf("article: %lu bytes of text, window %dx%d\n", static_cast<unsigned long>(GlobalSize(text)), kWidth, kHeight);
  GlobalFree(text);

  const double cold = Now();
  fMVRealize(d, nullptr, &err);
  std::printf("%-34s %7.3f ms (fonts made)\n", "first layout", Now() - cold);

  std::vector<double> layout, paint, both;
  for (int i = 0; i < kRuns; ++i) {
    const double t0 = Now();
    fMVRealize(d, nullptr, &err);
    const double t1 = Now();
    InvalidateRect(pane, nullptr, FALSE);
    UpdateWindow(pane);
    GdiFlush();
    const double t2 = Now();
    layout.push_back(t1 - t0);
    paint.push_back(t2 - t1);
    both.push_back(t2 - t0);
  }
  Report("layout of the 50 KB article", layout);
  Report("paint of one window", paint);
  Report("layout + paint", both);

  std::vector<double> scroll;
  for (int i = 0; i < kRuns; ++i) {
    const double t0 = Now();
    POINT delta{};
    LONG top = 0, bottom = 0;
    yMVScrollY(d, &delta, &top, &bottom, SB_LINEDOWN, 0, &err);
    ScrollWindow(pane, 0, delta.y, nullptr, nullptr);
    RECT strip{0, kHeight - bottom, kWidth, kHeight};
    InvalidateRect(pane, &strip, FALSE);
    UpdateWindow(pane);
    GdiFlush();
    scroll.push_back(Now() - t0);
  }
  Report("one line scroll", scroll);
  MVDelete(d);
  MVTitleClose(title);
  DestroyWindow(pane);
  return 0;
}
