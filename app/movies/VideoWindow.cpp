#include "app/movies/VideoWindow.h"

#include <algorithm>

#include "app/movies/DiscPrompt.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/BitmapDrawing.h"
#include "app/toolkit/Palette.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::movies {
namespace {

constexpr int kFrameWidth = 420, kFrameHeight = 330;
// The frame sits a little above the middle of the screen: centred as if 360 high.
constexpr int kCentringHeight = 360;
constexpr int kLineLeft = 50, kLineWidth = 320;
constexpr int kMovieTop = 22;
constexpr int kCaptionGap = 24;     // from the movie's bottom to the caption
constexpr int kCaptionMargin = 26;  // below the caption, with that gap
constexpr uint32_t kOpenFlags = 3;     // movie at the top left, scaled to fit, controller bar shown
constexpr uint32_t kReplaceFlags = 1;  // the archive's stepping keeps the movie's own size
constexpr COLORREF kStaticBackground = RGB(192, 192, 192);

struct VideoState {
  VideoSettings settings;
  HWND frame = nullptr, movieWindow = nullptr, titleLine = nullptr, captionLine = nullptr;
  MovieHandle movie{};
  ControllerHandle controller{};
  UniqueBitmap background;
  toolkit::BitmapButtonRecord stepButtons[3];
};

VideoState gVideo;

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

INT_PTR RunPrompt(int templateId, DLGPROC procedure) {
  if (gVideo.settings.runPrompt) return gVideo.settings.runPrompt(templateId, procedure);
  return DialogBoxParamA(toolkit::ProgramInstance(), MAKEINTRESOURCEA(templateId), gVideo.frame, procedure, 0);
}

bool AskYesCancel(int templateId, int mode) {
  SetPromptMode(mode);
  return RunPrompt(templateId, DiscPromptProc) == 1;
}

// The movie did not open: true when the user put the disc in and wants it tried again.
// He leaves without the movie only with his own disc in the drive.
bool AskForMovieDisc() {
  if (!gVideo.settings.secondDisc) {
    RunPrompt(kArchivePromptTemplate, DiscInformationProc);
    SetPromptMode(kAskForEncyclopedia);
    return false;
  }
  if (AskYesCancel(kArchivePromptTemplate, kAskForArchive)) return true;
  for (;;) {
    SetPromptMode(kAskForEncyclopedia);
    if (EncyclopediaDiscIn()) return false;
    if (!AskYesCancel(kDiscPromptTemplate, kAskForEncyclopedia)) {
      SetPromptMode(kAskForArchive);
      return true;
    }
  }
}

// Closing without the encyclopedia disc: true once it is back; false when the user
// cancels while the archive disc is still in, which keeps the window open.
bool AskForOwnDisc() {
  for (;;) {
    if (AskYesCancel(kDiscPromptTemplate, kAskForEncyclopedia)) {
      if (EncyclopediaDiscIn()) return true;
      continue;
    }
    for (;;) {
      SetPromptMode(kAskForArchive);
      if (ArchiveDiscIn()) return false;
      if (!AskYesCancel(kArchivePromptTemplate, kAskForArchive)) break;
    }
  }
}

void EnableOwner(HWND frame) {
  if (HWND owner = GetWindow(frame, GW_OWNER)) EnableWindow(owner, TRUE);
}

void DisposeCurrent() {
  if (gVideo.controller) DisposeMovieController(gVideo.controller);
  if (gVideo.movie) DisposeMovie(gVideo.movie);
  gVideo.controller = {};
  gVideo.movie = {};
}

MovieHandle LoadMovie(MovieFileHandle file) {
  MovieHandle movie{};
  NewMovieFromFile(&movie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  return movie;
}

// Puts the movie and a controller into the movie window, sized to what they occupy,
// stopped and waiting for the user.
void InstallMovie(MovieHandle movie, uint32_t flags) {
  RECT box;
  GetMovieBox(movie, &box);
  OffsetRect(&box, -box.left, -box.top);
  gVideo.movie = movie;
  gVideo.controller = NewMovieController(movie, &box, flags, gVideo.movieWindow);
  RECT bounds{};
  MCDoAction(gVideo.controller, qt::kActionSetGrowBounds, &bounds);
  MCGetControllerBoundsRect(gVideo.controller, &bounds);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  SetWindowPos(gVideo.movieWindow, nullptr, kLineLeft, kMovieTop, bounds.right, bounds.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
  MCDoAction(gVideo.controller, qt::kActionPlay, 0);
  if (flags == kOpenFlags) MCDoAction(gVideo.controller, qt::kActionKeysEnabled, 1);
  SetMovieActive(movie, 1);
  ShowWindow(gVideo.movieWindow, SW_SHOW);
  UpdateWindow(gVideo.movieWindow);
}

void SetLines(std::string_view title, std::string_view caption) {
  const std::string titleText(title.substr(0, kMaxMovieTitle));
  const std::string captionText(caption.substr(0, kMaxMovieCaption));
  SetWindowTextA(gVideo.titleLine, titleText.c_str());
  SetWindowTextA(gVideo.captionLine, captionText.c_str());
}

// The caption sits under the movie and takes the rest of the frame; a movie too tall
// for it leaves the caption no height rather than a negative one.
void PlaceCaption() {
  RECT client;
  GetClientRect(gVideo.movieWindow, &client);
  const int height = std::max(0, static_cast<int>(kFrameHeight - (client.bottom + kCaptionMargin)));
  MoveWindow(gVideo.captionLine, kLineLeft, client.bottom + kCaptionGap, kLineWidth, height, TRUE);
}

void SetLineFonts() {
  if (gVideo.settings.titleFont)
    SendMessageA(gVideo.titleLine, WM_SETFONT, reinterpret_cast<WPARAM>(gVideo.settings.titleFont), 1);
  if (gVideo.settings.captionFont)
    SendMessageA(gVideo.captionLine, WM_SETFONT, reinterpret_cast<WPARAM>(gVideo.settings.captionFont), 1);
}

HWND CreateLine(HWND frame, int top, int height) {
  return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, kLineLeft, top, kLineWidth, height, frame,
                         nullptr, toolkit::ProgramInstance(), nullptr);
}

bool CreateWindows(HWND owner) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kFrameWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kCentringHeight) / 2;
  const HINSTANCE instance = toolkit::ProgramInstance();
  gVideo.frame = CreateWindowExA(0, kVideoParentClass, "", WS_POPUP, x, y, kFrameWidth, kFrameHeight, owner, nullptr,
                                 instance, nullptr);
  if (!gVideo.frame) return false;
  gVideo.movieWindow = CreateWindowExA(0, kVideoClass, "", WS_CHILD, 0, 0, 0, 0, gVideo.frame, nullptr, instance, nullptr);
  gVideo.titleLine = CreateLine(gVideo.frame, 4, 18);
  gVideo.captionLine = CreateLine(gVideo.frame, 280, 45);
  return gVideo.movieWindow && gVideo.titleLine && gVideo.captionLine;
}

void CreateStepButtons(HWND frame) {
  auto record = [](int command, const char* pressed, const char* normal, const char* disabled, int left) {
    toolkit::BitmapButtonRecord r;
    r.active = toolkit::kCreateButton;
    r.command = command;
    r.pressedName = pressed;
    r.normalName = normal;
    r.disabledName = disabled;
    r.cursor = gVideo.settings.buttonCursor;
    r.left = left;
    r.top = 300;
    return r;
  };
  gVideo.stepButtons[0] = record(kPreviousMovieCommand, "l_r", "l_n", "l_d", 0);
  gVideo.stepButtons[1] = record(kNextMovieCommand, "r_r", "r_n", "r_d", 380);
  gVideo.stepButtons[2] = {};
  toolkit::CreateBitmapButtons(frame, toolkit::ProgramInstance(), gVideo.stepButtons, true);
}

// Esc, a right click or WM_CLOSE: stop, and give the window up only once the
// encyclopedia disc is back (or the archive needs no disc at all).
void CloseFrame(HWND frame) {
  if (gVideo.controller) MCDoAction(gVideo.controller, qt::kActionPlay, 0);
  if (gVideo.movieWindow) ShowWindow(gVideo.movieWindow, SW_HIDE);
  if (gVideo.settings.discConversation && !EncyclopediaDiscIn() && !AskForOwnDisc()) {
    if (gVideo.movieWindow) ShowWindow(gVideo.movieWindow, SW_SHOW);
    return;
  }
  EnableOwner(frame);
  DestroyWindow(frame);
}

void OnFrameCreate(HWND frame) {
  if (HWND owner = GetWindow(frame, GW_OWNER)) EnableWindow(owner, FALSE);
  SetFocus(frame);
  gVideo.background.Reset(LoadBitmapA(toolkit::ProgramInstance(), "video0"));
  if (gVideo.settings.stepButtons) CreateStepButtons(frame);
}

void OnFrameDestroy(HWND frame) {
  if (HWND owner = GetWindow(frame, GW_OWNER)) {
    EnableWindow(owner, TRUE);
    UpdateWindow(owner);
    SetFocus(owner);
  }
  gVideo.background.Reset();
  gVideo.frame = gVideo.movieWindow = gVideo.titleLine = gVideo.captionLine = nullptr;
}

void OnFramePaint(HWND frame) {
  PaintGuard paint(frame);
  toolkit::DrawBitmapHandle(paint.Dc(), gVideo.background.Get(), 0, 0);
}

LRESULT RealisePalette(HWND frame) {
  WindowDc dc(frame);
  PaletteGuard select(dc.Get(), toolkit::ProgramPalette(), false);
  if (GetSystemPaletteUse(dc.Get()) != SYSPAL_STATIC) SetSystemPaletteUse(dc.Get(), SYSPAL_STATIC);
  const UINT realised = RealizePalette(dc.Get());
  InvalidateRect(frame, nullptr, FALSE);
  return realised;
}

bool RealisesPalette() {
  return gVideo.settings.deviceAndPalette && gVideo.settings.paletteMode && toolkit::ProgramPalette();
}

LRESULT OnCtlColorStatic(HDC dc) {
  SetBkColor(dc, kStaticBackground);
  return reinterpret_cast<LRESULT>(gVideo.settings.staticBrush ? gVideo.settings.staticBrush
                                                               : GetStockObject(LTGRAY_BRUSH));
}

void OnMovieNcDestroy(HWND hwnd) {
  if (hwnd == gVideo.movieWindow) gVideo.movieWindow = nullptr;
  DisposeCurrent();
}

}  // namespace

void SetVideoSettings(const VideoSettings& settings) {
  gVideo.settings = settings;
  SetPromptCursor(settings.buttonCursor);
}

bool EncyclopediaDiscIn() { return FileExists(gVideo.settings.productDir + kEncyclopediaMarker); }
bool ArchiveDiscIn() { return FileExists(gVideo.settings.productDir + kArchiveMarker); }

LRESULT CALLBACK VideoParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnFrameCreate(hwnd); return 0;
    case WM_DESTROY: OnFrameDestroy(hwnd); return 0;
    case WM_PAINT: OnFramePaint(hwnd); return 0;
    case WM_SETCURSOR: return 1;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_DEVICECHANGE:
      if (gVideo.settings.deviceAndPalette) NoteDeviceChange(wParam);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_QUERYNEWPALETTE:
      return RealisesPalette() ? RealisePalette(hwnd) : DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != hwnd && RealisesPalette()) return RealisePalette(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == kPreviousMovieCommand || LOWORD(wParam) == kNextMovieCommand)
        if (HWND owner = GetWindow(hwnd, GW_OWNER)) PostMessageA(owner, WM_COMMAND, LOWORD(wParam), 0);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) CloseFrame(hwnd);
      return 0;
    case WM_CLOSE:
    case WM_RBUTTONDOWN: CloseFrame(hwnd); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK VideoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gVideo.controller && message != WM_NCDESTROY &&
      MCIsPlayerEvent(gVideo.controller, hwnd, message, wParam, lParam))
    return 0;
  switch (message) {
    case WM_PAINT: {
      PaintGuard paint(hwnd);  // the controller draws the movie
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_NCDESTROY: OnMovieNcDestroy(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: return 0;
    case WM_RBUTTONDOWN:
      PostMessageA(GetParent(hwnd), message, wParam, lParam);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

bool RegisterVideoClasses(HINSTANCE instance) {
  struct Entry {
    const char* name;
    WNDPROC procedure;
  };
  for (const Entry& entry : {Entry{kVideoParentClass, VideoParentProc}, Entry{kVideoClass, VideoProc}}) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = entry.procedure;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = entry.name;
    if (!RegisterClassA(&wc)) return false;
  }
  return true;
}

int OpenVideoWindow(const char* path, HWND owner, std::string_view title, std::string_view caption) {
  // One movie at a time: a window still open gives way to the new one.
  if (gVideo.frame) DestroyWindow(gVideo.frame);
  if (!CreateWindows(owner)) return 0;
  MovieFileHandle file{};
  while (OpenMovieFile(path, &file, 0) != 0) {
    if (!gVideo.settings.discConversation) {
      DestroyWindow(gVideo.movieWindow);
      ShowWindow(gVideo.frame, SW_SHOW);
      return 0;
    }
    if (!AskForMovieDisc()) {
      EnableOwner(gVideo.frame);
      DestroyWindow(gVideo.frame);
      return 0;
    }
  }
  DisposeCurrent();
  InstallMovie(LoadMovie(file), kOpenFlags);
  SetLineFonts();
  SetLines(title, caption);
  PlaceCaption();
  ShowWindow(gVideo.frame, SW_SHOW);
  return 1;
}

bool ReplaceMovie(const char* path, std::string_view title, std::string_view caption) {
  if (!gVideo.frame || !gVideo.movieWindow) return false;
  DisposeCurrent();
  MovieFileHandle file{};
  if (OpenMovieFile(path, &file, 0) != 0) return false;
  InstallMovie(LoadMovie(file), kReplaceFlags);
  SetLines(title, caption);
  PlaceCaption();
  return true;
}

void SetStepButtons(bool previous, bool next) {
  if (gVideo.stepButtons[0].window) SendMessageA(gVideo.stepButtons[0].window, BM_SETSTATE, previous, 0);
  if (gVideo.stepButtons[1].window) SendMessageA(gVideo.stepButtons[1].window, BM_SETSTATE, next, 0);
}

HWND VideoFrame() { return gVideo.frame; }
HWND MovieWindow() { return gVideo.movieWindow; }
MovieHandle CurrentMovie() { return gVideo.movie; }
ControllerHandle CurrentController() { return gVideo.controller; }

}  // namespace kro::movies
