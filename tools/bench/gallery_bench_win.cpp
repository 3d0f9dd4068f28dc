// gallery_bench TITLE DISC: opens the illustrations gallery over TITLE (whose "slides.dat"
// the script fills with 12,500 entries) with its pictures on DISC, and prints how long the
// opening took and how long the type-ahead takes to answer once its timer fires.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/media/BaggageStore_win.h"
#include "app/media/CatalogueFile_win.h"
#include "app/media/Galleries_win.h"
#include "app/movies/QuickTime.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/ProgramInstance.h"

namespace {

constexpr UINT_PTR kTypeAheadTimer = 3404;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Register(const char* name, WNDPROC procedure) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

constexpr int kOpenRuns = 9;
constexpr int kTypeAheadRounds = 5;
constexpr int kScrollBarDraws = 20;

// Every message waiting, paints included (the system makes WM_PAINT when nothing else is
// queued), so afterwards the screen shows what the last step did.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// This process's processor time so far, user and kernel, in milliseconds. On a machine
// shared with other work the wall clock mostly measures waiting for a processor; this
// says what the work itself costs (the display server's share not included).
double ProcessorMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns ticks
}

void Report(const char* what, std::vector<double> ms, double processorMs = -1) {
  std::sort(ms.begin(), ms.end());
  double total = 0;
  for (double m : ms) total += m;
  const double runs = static_cast<double>(ms.size());
  std::printf("%s: %zu runs, median %.1f ms, mean %.1f ms, worst %.1f ms", what, ms.size(), ms[ms.size() / 2],
              total / runs, ms.back());
  if (processorMs >= 0) std::printf("; processor %.1f ms per run", processorMs / runs);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: gallery_bench TITLE DISC\n");
    return 2;
  }
  using namespace kro;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  toolkit::SetProgramInstance(instance);
  QTInitialize(nullptr);
  EnterMovies();
  toolkit::RegisterBitmapButtonClass(instance);
  lists::RegisterVirtualListBoxClass(instance);
  Register(media::kSlidesGalleryClass, media::SlidesGalleryProc);
  Register(media::kSlidePanelClass, media::SlidePanelProc);
  Register("BenchMain", Plain);
  HMVTITLE title = hMVTitleOpenEx(argv[1], nullptr, nullptr);
  if (!title) {
    std::fprintf(stderr, "gallery_bench: cannot open %s\n", argv[1]);
    return 1;
  }
  HWND main = CreateWindowA("BenchMain", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
  media::SetGalleryHost({title, std::string(argv[2]) + "\\", main, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});

  // Opening: from the command to the window on screen, every posted message and paint done.
  std::vector<double> creates, opens;
  double openProcessorMs = 0;
  for (int run = 0; run < kOpenRuns; ++run) {
    LARGE_INTEGER start, created, end;
    const double processor = ProcessorMs();
    QueryPerformanceCounter(&start);
    HWND gallery = media::OpenSlidesGallery();
    QueryPerformanceCounter(&created);
    Pump();
    QueryPerformanceCounter(&end);
    openProcessorMs += ProcessorMs() - processor;
    creates.push_back(Milliseconds(start, created));
    opens.push_back(Milliseconds(start, end));
    SendMessageA(gallery, WM_CLOSE, 0, 0);
    Pump();
  }
  Report("open, window created", creates);
  Report("open, on screen", opens, openProcessorMs);

  // Type-ahead: each text walks from its letter's first entry; the worst is past a long run.
  // The answer counts until the screen shows it: the list's new page and the thumbnail.
  HWND gallery = media::OpenSlidesGallery();
  Pump();
  HWND edit = FindWindowExA(gallery, nullptr, "Edit", nullptr);
  std::vector<double> answers, shown;
  double shownProcessorMs = 0;
  const char* texts[] = {"\xC1\xEE\xF0", "\xDF\xFF\xFF", "\xCC", "\xC0\xE0", "\xD1\xFF", "\xE2\xEE\xEB"};
  for (int round = 0; round < kTypeAheadRounds; ++round) {
    for (const char* text : texts) {
      SetWindowTextA(edit, text);
      Pump();
      LARGE_INTEGER start, answered, end;
      const double processor = ProcessorMs();
      QueryPerformanceCounter(&start);
      SendMessageA(gallery, WM_TIMER, kTypeAheadTimer, 0);
      QueryPerformanceCounter(&answered);
      Pump();
      QueryPerformanceCounter(&end);
      shownProcessorMs += ProcessorMs() - processor;
      answers.push_back(Milliseconds(start, answered));
      shown.push_back(Milliseconds(start, end));
    }
  }
  Report("type-ahead, timer handled", answers);
  Report("type-ahead, on screen", shown, shownProcessorMs);
  std::printf("(one frame at 60 Hz: 16.7 ms)\n");
  SendMessageA(gallery, WM_CLOSE, 0, 0);
  Pump();

  // Of the opening: the catalogue read from the title and indexed.
  {
    std::vector<double> loads;
    media::BaggageStore store(title);
    for (int run = 0; run < kOpenRuns; ++run) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      const auto catalogue = media::LoadCatalogue(store, "slides.dat", media::kSlidesCapacityBytes);
      QueryPerformanceCounter(&end);
      if (!catalogue) return 1;
      loads.push_back(Milliseconds(start, end));
    }
    Report("catalogue read and indexed", loads);
  }

  // The floor under any answer that moves the list's thumb: the platform drawing a scroll
  // bar, measured on a bare window.
  {
    HWND bare = CreateWindowA("BenchMain", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 0, 0, 200, 200,
                              nullptr, nullptr, instance, nullptr);
    SetScrollRange(bare, SB_VERT, 0, 100, TRUE);
    Pump();
    std::vector<double> draws;
    for (int i = 0; i < kScrollBarDraws; ++i) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      SetScrollPos(bare, SB_VERT, (i * 37) % 100, TRUE);
      QueryPerformanceCounter(&end);
      draws.push_back(Milliseconds(start, end));
    }
    Report("scroll bar of a bare window drawn", draws);
    DestroyWindow(bare);
  }

  // What of that is the thumbnail the answer shows: its file opened and decoded.
  const std::string icon = std::string(argv[2]) + "\\pictures\\bench\\icons\\bench_1i.jpg";
  double decode = 0;
  for (int run = 0; run < 5; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    PictureFileHandle file{};
    if (OpenPictureFile(icon.c_str(), &file, 0) == 0) {
      if (PictureHandle picture = GetPictureFromFile(file)) ReleasePicture(picture);
      ClosePictureFile(file);
    }
    QueryPerformanceCounter(&end);
    decode += Milliseconds(start, end);
  }
  std::printf("thumbnail: opened and decoded in %.2f ms on average\n", decode / 5);
  DestroyWindow(main);
  MVTitleClose(title);
  ExitMovies();
  QTTerminate();
  return 0;
}
