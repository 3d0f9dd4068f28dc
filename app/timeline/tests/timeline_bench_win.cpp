// Scrolls a timeline picture end to end and back by line and by page steps, then jumps to
// ten positions, and prints the peak bytes of frame bitmaps held and the frames read per
// frame boundary crossed.
//   timeline_bench [SAMPLE_TIMELINE_BMP]
// Without an argument only the synthetic 200-frame picture is measured.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/timeline/StripBitmap_win.h"
#include "app/timeline/tests/StripFiles_win.h"

namespace kro::timeline {
namespace {

constexpr RECT kViewport{0, 0, 598, 400};

struct Steps {
  int64_t reads = 0;
  int64_t crossings = 0;
  int64_t worstReadsPerStep = 0;
  int steps = 0;
  double microseconds = 0;
};

double Now() {
  static LARGE_INTEGER frequency{};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Steps with `code` until the position stops changing.
void StepToTheEnd(StripBitmap& strip, int code, Steps& s) {
  int previous = -1;
  for (;;) {
    const int first = strip.Scroller()->FirstVisible();
    const int64_t reads = strip.Counters().framesRead;
    const double start = Now();
    const int position = strip.Scroll(code, 0);
    s.microseconds += Now() - start;
    const int64_t read = strip.Counters().framesRead - reads;
    const int crossed = std::abs(strip.Scroller()->FirstVisible() - first);
    s.reads += read;
    s.crossings += crossed;
    // A step crossing no boundary must read nothing; one crossing k boundaries at most k.
    s.worstReadsPerStep = std::max<int64_t>(s.worstReadsPerStep, read - crossed);
    ++s.steps;
    if (position == previous) break;
    previous = position;
  }
}

void PrintSteps(const char* name, const Steps& s) {
  std::printf("  %-11s %6d steps, %5lld boundaries crossed, %5lld frames read: %.2f per boundary, "
              "worst step %+lld over its boundaries; %.1f us per step\n",
              name, s.steps, static_cast<long long>(s.crossings), static_cast<long long>(s.reads),
              s.crossings ? static_cast<double>(s.reads) / static_cast<double>(s.crossings) : 0.0,
              static_cast<long long>(s.worstReadsPerStep), s.steps ? s.microseconds / s.steps : 0.0);
}

void Jumps(StripBitmap& strip, int frameWidth, int frames) {
  const int kPositions[] = {16384, 0, 32767, 3000, 29000, 12000, 12100, 22000, 500, 32000};
  int outside = 0, exact = 0;
  int64_t minReads = 1 << 30, maxReads = 0;
  const int64_t span = int64_t{frameWidth} * frames - (kViewport.right - kViewport.left);
  for (int p : kPositions) {
    const int target = static_cast<int>(span * p / 32767 / frameWidth);
    const bool cached = strip.Scroller()->SlotOf(target) >= 0;
    const int64_t before = strip.Counters().framesRead;
    strip.Scroll(SB_THUMBPOSITION, p);
    const int64_t read = strip.Counters().framesRead - before;
    if (cached) continue;
    ++outside;
    exact += read == strip.Scroller()->Visible() || target + strip.Scroller()->Visible() > frames;
    minReads = std::min(minReads, read);
    maxReads = std::max(maxReads, read);
  }
  std::printf("  jumps       10 positions, %d outside the cache: %lld..%lld frames read each (V = %d), "
              "%d of them exactly the visible frames\n",
              outside, static_cast<long long>(outside ? minReads : 0), static_cast<long long>(maxReads),
              strip.Scroller()->Visible(), exact);
}

bool Measure(const char* label, HWND window, const std::string& path) {
  StripBitmap strip({window, kViewport, path, "", nullptr});
  if (!strip.LoadFirstFrames() || !strip.Scroller()) {
    std::printf("%s: %s cannot be shown\n", label, path.c_str());
    return false;
  }
  const StripHeader& header = strip.Header();
  std::printf("%s: %d frames of %dx%d (%d bytes each), V = %d, S = %d\n", label, header.frames, header.width,
              header.height, header.width * header.height, strip.Scroller()->Visible(), strip.Slots());
  Steps lineRight, lineLeft, pageRight, pageLeft;
  StepToTheEnd(strip, SB_LINERIGHT, lineRight);
  StepToTheEnd(strip, SB_LINELEFT, lineLeft);
  StepToTheEnd(strip, SB_PAGERIGHT, pageRight);
  StepToTheEnd(strip, SB_PAGELEFT, pageLeft);
  PrintSteps("line right", lineRight);
  PrintSteps("line left", lineLeft);
  PrintSteps("page right", pageRight);
  PrintSteps("page left", pageLeft);
  Jumps(strip, header.width, header.frames);
  std::printf("  peak bytes of frame bitmaps held: %lld (budget 1000000), failed reads %lld\n",
              static_cast<long long>(strip.Counters().peakBytesHeld),
              static_cast<long long>(strip.Counters().failedReads));
  return strip.Counters().peakBytesHeld <= kFrameBudgetBytes;
}

}  // namespace
}  // namespace kro::timeline

int main(int argc, char** argv) {
  using namespace kro::timeline;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "TimelineBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "TimelineBench", "", WS_POPUP, 0, 0, 598, 416, nullptr, nullptr, nullptr, nullptr);
  bool ok = true;
  if (argc > 1) ok = Measure("sample timeline", window, argv[1]) && ok;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string synthetic = std::string(temp) + "timeline_bench_200.bmp";
  testing::WriteStripFile(synthetic, 200, 200, 400);
  ok = Measure("synthetic timeline", window, synthetic) && ok;
  DeleteFileA(synthetic.c_str());
  DestroyWindow(window);
  return ok ? 0 : 1;
}
