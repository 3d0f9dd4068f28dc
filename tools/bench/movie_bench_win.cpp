// movie_bench MOVIE PICTURE: what playing a movie costs and how long a picture takes to
// decode, through the access layer as the programs use it.
//   - CPU: process time (user + kernel) over wall time while MOVIE plays to its end in a
//     window with the controller bar, in a plain message loop;
//   - decode: OpenPictureFile + GetPictureFromFile of PICTURE, repeated, best and mean.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/movies/QuickTime.h"

namespace {

using namespace kro;

constexpr UINT_PTR kEndPollTimer = 1;
constexpr int kDecodeRounds = 20;

ControllerHandle gController = 0;
MovieHandle gMovie = 0;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
  return value(kernel) + value(user);
}

void OnEndPoll(HWND window) {
  if (GetMovieTime(gMovie, nullptr) >= GetMovieDuration(gMovie)) DestroyWindow(window);
}

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gController && MCIsPlayerEvent(gController, window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_TIMER:
      if (wParam == kEndPollTimer) OnEndPoll(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool BenchMovie(const char* path) {
  MovieFileHandle file = 0;
  if (OpenMovieFile(path, &file, 0) != 0) return false;
  NewMovieFromFile(&gMovie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  if (!gMovie) return false;
  RECT box{};
  GetMovieBox(gMovie, &box);

  WNDCLASSA wc{};
  wc.lpfnWndProc = BenchWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MovieBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                box.right, box.bottom + 18, nullptr, nullptr, wc.hInstance, nullptr);
  gController = NewMovieController(gMovie, &box, qt::kFlagTopLeftMovie | qt::kFlagScaleToFit, window);
  SetTimer(window, kEndPollTimer, 100, nullptr);

  const double cpuBefore = ProcessCpuSeconds();
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  PrerollMovie(gMovie, 0, qt::kFixedOne);
  MCDoAction(gController, qt::kActionPlay, qt::kFixedOne);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  QueryPerformanceCounter(&end);
  const double cpu = ProcessCpuSeconds() - cpuBefore, wall = Seconds(start, end);

  std::printf("movie: %ldx%ld, %.2f s played in %.2f s wall, CPU %.2f s = %.1f%% of one core\n",
              box.right, box.bottom, double(GetMovieDuration(gMovie)) / GetMovieTimeScale(gMovie),
              wall, cpu, 100.0 * cpu / wall);
  DisposeMovieController(gController);
  DisposeMovie(gMovie);
  return true;
}

bool BenchPicture(const char* path) {
  double best = 1e9, total = 0;
  for (int round = 0; round < kDecodeRounds; ++round) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    PictureFileHandle file = 0;
    if (OpenPictureFile(path, &file, 0) != 0) return false;
    const PictureHandle picture = GetPictureFromFile(file);
    ClosePictureFile(file);
    QueryPerformanceCounter(&end);
    if (!picture) return false;
    qt::PictureInfo info{};
    GetPictureInfo(picture, &info);
    ReleasePicture(picture);
    const double ms = 1000 * Seconds(start, end);
    best = ms < best ? ms : best;
    total += ms;
    if (round == 0) std::printf("picture: %ux%u", info.width, info.height);
  }
  std::printf(", decode best %.2f ms, mean %.2f ms over %d rounds\n", best, total / kDecodeRounds, kDecodeRounds);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: movie_bench MOVIE PICTURE\n");
    return 2;
  }
  if (!QTStartUp(kQtLoadFailurePlayer)) return 1;
  EnterMovies();
  const bool ok = BenchPicture(argv[2]) && BenchMovie(argv[1]);
  if (!ok) std::fprintf(stderr, "movie_bench: cannot open the movie or the picture\n");
  QTShutDown();
  return ok ? 0 : 1;
}
