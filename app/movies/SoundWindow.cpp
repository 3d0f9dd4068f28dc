#include "app/movies/SoundWindow.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/article/Pane_win.h"
#include "app/toolkit/Palette.h"
#include "runtime/base/UniqueHandle_win.h"
#include "runtime/quicktime/core/ControllerBar.h"

namespace kro::movies {
namespace {

// Movie at the top left of the rectangle, scaled to it, bar shown: a sound has no picture,
// so the bar takes the window's width.
constexpr uint32_t kSoundFlags = qt::kFlagTopLeftMovie | qt::kFlagScaleToFit;
constexpr COLORREF kFrame = RGB(0x1F, 0x2A, 0x44);
constexpr COLORREF kNoteText = RGB(0xF4, 0xEE, 0xDC);
constexpr char kMissingNote[] = "Звукозапись недоступна";

std::string gFolder;

struct Sound {
  MovieHandle movie{};
  ControllerHandle controller{};
  ~Sound() {
    if (controller) {
      MCDoAction(controller, qt::kActionPlay, 0);
      DisposeMovieController(controller);
    }
    if (movie) DisposeMovie(movie);
  }
};

// Only a sound window's user data is its record.
Sound* SoundOf(HWND hwnd) {
  char name[sizeof kSoundClass + 1] = {};
  if (!GetClassNameA(hwnd, name, sizeof name) || std::strcmp(name, kSoundClass) != 0) return nullptr;
  return reinterpret_cast<Sound*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

std::string MoviePath(const char* relative) {
  std::string path = gFolder + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The bar sits in the middle of the window's height.
void OpenSound(HWND hwnd, Sound& sound, const char* relative) {
  MovieFileHandle file{};
  if (!relative || !*relative || OpenMovieFile(MoviePath(relative).c_str(), &file, 0) != 0) return;
  NewMovieFromFile(&sound.movie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  if (!sound.movie) return;
  RECT client;
  GetClientRect(hwnd, &client);
  const int top = std::max(0, static_cast<int>(client.bottom - qt::kBarHeight) / 2);
  const RECT area{0, top, client.right, top};
  sound.controller = NewMovieController(sound.movie, &area, kSoundFlags, hwnd);
  SetMovieActive(sound.movie, 1);
  MCDoAction(sound.controller, qt::kActionKeysEnabled, 1);
}

bool OnCreate(HWND hwnd, const CREATESTRUCTA& create) {
  auto sound = std::make_unique<Sound>();
  OpenSound(hwnd, *sound, create.lpszName);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(sound.release()));
  return true;
}

void OnNcDestroy(HWND hwnd) {
  delete SoundOf(hwnd);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

void FillFrame(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  UniqueBrush brush(CreateSolidBrush(kFrame));
  FillRect(dc, &client, brush.Get());
}

// Without its movie the window says so instead of showing a bar that cannot play.
void OnPaint(HWND hwnd) {
  PaintGuard paint(hwnd);
  const Sound* sound = SoundOf(hwnd);
  if (sound && sound->controller) return;
  FillFrame(hwnd, paint.Dc());
  RECT client;
  GetClientRect(hwnd, &client);
  SetBkMode(paint.Dc(), TRANSPARENT);
  SetTextColor(paint.Dc(), kNoteText);
  SelectGuard font(paint.Dc(), GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(paint.Dc(), kMissingNote, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

void SetSoundFolder(std::string productDir) { gFolder = std::move(productDir); }

LRESULT CALLBACK SoundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Sound* sound = message == WM_NCDESTROY ? nullptr : SoundOf(hwnd);
  if (sound && sound->controller && MCIsPlayerEvent(sound->controller, hwnd, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_CREATE: return OnCreate(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
    case WM_ERASEBKGND: FillFrame(hwnd, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: OnPaint(hwnd); return 0;
    case article::kQueryEmbeddedPalette: return reinterpret_cast<LRESULT>(toolkit::ProgramPalette());
    case WM_NCDESTROY: OnNcDestroy(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

MovieHandle SoundMovie(HWND window) {
  const Sound* sound = SoundOf(window);
  return sound ? sound->movie : MovieHandle{};
}

ControllerHandle SoundController(HWND window) {
  const Sound* sound = SoundOf(window);
  return sound ? sound->controller : ControllerHandle{};
}

}  // namespace kro::movies
