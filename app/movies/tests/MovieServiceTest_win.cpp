// The real service libraries (QTIM32.DLL, CMGR32.DLL, next to this program) driven through
// the access layer as the programs drive them, on movies and pictures made for the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/movies/QuickTime.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro {
namespace {

// The media are made in the build tree; Wine shows the Unix root as drive Z:.
std::string Media(const std::string& name) {
  std::string path = std::string("Z:") + QT_TEST_MEDIA + "/" + name;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

class Service : public testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(QTStartUp(kQtLoadFailurePlayer, FailOnMessage));
    EnterMovies();
  }
  static void TearDownTestSuite() { QTShutDown(); }
  static int WINAPI FailOnMessage(HWND, LPCSTR text, LPCSTR, UINT) {
    ADD_FAILURE() << "start-up message: " << text;
    return IDOK;
  }
};

// A 32-bit memory canvas whose pixels can be read back.
class Canvas {
public:
  Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    width_ = width;
  }
  ~Canvas() { SelectObject(dc_.Get(), previous_); }
  HDC Dc() const { return dc_.Get(); }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  }

private:
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
};

::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 12) {
  const int dr = std::abs(GetRValue(actual) - GetRValue(expected));
  const int dg = std::abs(GetGValue(actual) - GetGValue(expected));
  const int db = std::abs(GetBValue(actual) - GetBValue(expected));
  if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
  char text[64];
  snprintf(text, sizeof text, "%d,%d,%d vs %d,%d,%d", GetRValue(actual), GetGValue(actual), GetBValue(actual),
           GetRValue(expected), GetGValue(expected), GetBValue(expected));
  return ::testing::AssertionFailure() << text;
}

TEST_F(Service, PicturesOfEveryFormatDrawScaled) {
  for (const char* name : {"halves.jpg", "halves.png", "halves.bmp", "halves.gif", "halves.pic"}) {
    PictureFileHandle file = 0;
    ASSERT_EQ(OpenPictureFile(Media(name).c_str(), &file, 0), 0) << name;
    const PictureHandle picture = GetPictureFromFile(file);
    ASSERT_NE(picture, 0u) << name << " error " << GetMoviesLastError();
    EXPECT_EQ(ClosePictureFile(file), 0) << name;

    alignas(4) uint8_t record[sizeof(qt::PictureInfo)] = {};
    ASSERT_EQ(GetPictureInfo(picture, reinterpret_cast<qt::PictureInfo*>(record)), 0);
    EXPECT_EQ(record[32] | record[33] << 8, 40) << name;  // the bytes the programs read
    EXPECT_EQ(record[34] | record[35] << 8, 30) << name;

    Canvas canvas(100, 60);
    const RECT target = {10, 0, 90, 60};  // twice the size, shifted
    DrawPicture(canvas.Dc(), picture, &target, nullptr);
    EXPECT_TRUE(Near(canvas.At(20, 30), RGB(255, 0, 0))) << name;
    EXPECT_TRUE(Near(canvas.At(80, 30), RGB(0, 0, 255))) << name;
    EXPECT_TRUE(Near(canvas.At(5, 30), RGB(0, 0, 0), 0)) << name << " drew outside the target";
    ReleasePicture(picture);
  }
}

TEST_F(Service, PicturesThatCannotBeShownAnswerErrors) {
  PictureFileHandle file = 77;
  EXPECT_NE(OpenPictureFile(Media("missing.jpg").c_str(), &file, 0), 0);
  EXPECT_EQ(file, 0u);
  ASSERT_EQ(OpenPictureFile(Media("junk.jpg").c_str(), &file, 0), 0);
  EXPECT_EQ(GetPictureFromFile(file), 0u);
  EXPECT_EQ(GetMoviesLastError(), qt::kErrBadPicture);
  EXPECT_EQ(ClosePictureFile(file), 0);
  EXPECT_EQ(ClosePictureFile(file), qt::kErrBadHandle);  // closed already
  EXPECT_EQ(GetPictureFromFile(file), 0u);
  Canvas canvas(4, 4);
  const RECT target = {0, 0, 4, 4};
  EXPECT_EQ(DrawPicture(canvas.Dc(), 12345, &target, nullptr), qt::kErrBadHandle);
}

MovieHandle OpenMovie(const std::string& name) {
  MovieFileHandle file = 0;
  if (OpenMovieFile(Media(name).c_str(), &file, 0) != 0) return 0;
  MovieHandle movie = 0;
  NewMovieFromFile(&movie, file, 0, 0, 0, 0);
  CloseMovieFile(file);
  return movie;
}

TEST_F(Service, MoviesReportBoxDurationAndScale) {
  for (const char* name : {"jpeg_twos16_mono_first.mov", "mjpa_sowt16_stereo_last.mov",
                           "jpeg_raw8_stereo_last.mov", "jpeg_signed8_mono_first.mov",
                           "jpeg_lpcm16_mono_last.mov", "jpeg_silent_first.mov"}) {
    const MovieHandle movie = OpenMovie(name);
    ASSERT_NE(movie, 0u) << name;
    RECT box{};
    GetMovieBox(movie, &box);
    EXPECT_EQ(box.right - box.left, 64) << name;
    EXPECT_EQ(box.bottom - box.top, 48) << name;
    const uint32_t scale = GetMovieTimeScale(movie);
    ASSERT_NE(scale, 0u);
    EXPECT_EQ(GetMovieDuration(movie) * 1000 / scale, 2000u) << name;
    EXPECT_EQ(GetMovieTime(movie, nullptr), 0u);
    EXPECT_LE(GetMovieTimePoint(movie), GetMovieDuration(movie));
    DisposeMovie(movie);
    EXPECT_EQ(GetMovieDuration(movie), 0u);
    EXPECT_EQ(GetMoviesLastError(), qt::kErrBadHandle);
  }
}

TEST_F(Service, MalformedMoviesAreRefused) {
  std::ifstream in(std::string(QT_TEST_MEDIA) + "/jpeg_silent_first.mov", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  char folder[MAX_PATH], path[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  GetTempFileNameA(folder, "mov", 0, path);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size() - 100));  // the last frame cut short
  }
  MovieFileHandle file = 0;
  ASSERT_EQ(OpenMovieFile(path, &file, 0), 0);
  MovieHandle movie = 55;
  EXPECT_EQ(NewMovieFromFile(&movie, file, 0, 0, 0, 0), qt::kErrBadMovie);
  EXPECT_EQ(movie, 0u);
  CloseMovieFile(file);
  DeleteFileA(path);
  EXPECT_NE(OpenMovieFile(Media("missing.mov").c_str(), &file, 0), 0);
}

// A window whose procedure offers every message to the controller first, as the
// programs' movie windows do.
ControllerHandle gController = 0;

LRESULT CALLBACK MovieWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gController && MCIsPlayerEvent(gController, window, message, wParam, lParam)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

class MovieWindow : public Service {
protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MovieWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MovieServiceTestWindow";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120,
                              nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (gController) DisposeMovieController(gController);
    gController = 0;
    if (movie_) DisposeMovie(movie_);
    DestroyWindow(window_);
  }
  void Open(const char* name, uint32_t flags) {
    movie_ = OpenMovie(name);
    ASSERT_NE(movie_, 0u);
    RECT box{};
    GetMovieBox(movie_, &box);
    gController = NewMovieController(movie_, &box, flags, window_);
    ASSERT_NE(gController, 0u);
  }
  // Runs the message loop for `milliseconds`, or until the movie ends when asked to.
  DWORD Pump(DWORD milliseconds, bool untilEnd) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
      if (untilEnd && GetMovieTime(movie_, nullptr) >= GetMovieDuration(movie_)) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return GetTickCount() - start;
  }
  COLORREF Pixel(int x, int y) {
    UpdateWindow(window_);
    WindowDc dc(window_);
    return GetPixel(dc.Get(), x, y);
  }
  // Frame n of the test movies is red 20n, green 200 - 10n, blue 90.
  static COLORREF FrameColour(int n) { return RGB(20 * n, 200 - 10 * n, 90); }

  HWND window_ = nullptr;
  MovieHandle movie_ = 0;
};

TEST_F(MovieWindow, PlaysToItsEndOnTheClock) {
  for (const char* name : {"jpeg_twos16_mono_first.mov", "jpeg_silent_first.mov"}) {
    Open(name, qt::kFlagTopLeftMovie | qt::kFlagScaleToFit);
    PrerollMovie(movie_, 0, qt::kFixedOne);
    MCDoAction(gController, qt::kActionPlay, qt::kFixedOne);
    const DWORD elapsed = Pump(6000, true);
    EXPECT_GE(GetMovieTime(movie_, nullptr), GetMovieDuration(movie_)) << name;
    EXPECT_GE(elapsed, 1850u) << name;  // the tick count moves in steps of about 16 ms
    EXPECT_LT(elapsed, 3000u) << name;
    EXPECT_TRUE(Near(Pixel(32, 24), FrameColour(19))) << name << ": the last frame stays on show";
    TearDown();
    SetUp();
  }
}

TEST_F(MovieWindow, SeekingShowsTheFrameDue) {
  Open("mjpa_sowt16_stereo_last.mov", qt::kFlagTopLeftMovie | qt::kFlagScaleToFit);
  for (const int frame : {10, 3, 19, 0}) {
    qt::TimeRecord time = {uint32_t(frame * 100 + 50), 0, 1000, 0};  // milliseconds
    MCDoAction(gController, qt::kActionGoToTime, &time);
    MCDoAction(gController, qt::kActionPlay, 0);
    EXPECT_EQ(GetMovieTime(movie_, nullptr) * 1000 / GetMovieTimeScale(movie_), uint32_t(frame * 100 + 50));
    InvalidateRect(window_, nullptr, FALSE);
    EXPECT_TRUE(Near(Pixel(32, 24), FrameColour(frame))) << "frame " << frame;
  }
}

TEST_F(MovieWindow, BarBoundsAndInput) {
  Open("jpeg_silent_first.mov", qt::kFlagTopLeftMovie | qt::kFlagScaleToFit);
  RECT bounds{};
  MCDoAction(gController, qt::kActionSetGrowBounds, &bounds);
  MCGetControllerBoundsRect(gController, &bounds);
  EXPECT_EQ(bounds.right, 160);  // a bar is never narrower than this
  EXPECT_EQ(bounds.bottom, 48 + 18);
  InvalidateRect(window_, nullptr, FALSE);
  EXPECT_TRUE(Near(Pixel(100, 50), RGB(0x1F, 0x2A, 0x44), 2)) << "the bar is navy";

  // Space plays only once the keyboard is switched on, and is consumed then.
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_KEYDOWN, VK_SPACE, 0), 0);
  MCDoAction(gController, qt::kActionKeysEnabled, 1);
  EXPECT_NE(MCIsPlayerEvent(gController, window_, WM_KEYDOWN, VK_SPACE, 0), 0);
  Pump(300, false);
  EXPECT_GT(GetMovieTime(movie_, nullptr), 0u);
  SendMessageA(window_, WM_KEYDOWN, VK_SPACE, 0);  // pauses
  const uint32_t paused = GetMovieTime(movie_, nullptr);
  Pump(200, false);
  EXPECT_EQ(GetMovieTime(movie_, nullptr), paused);

  // A click at the far end of the slider seeks there; a click on the picture is not ours.
  EXPECT_NE(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(111, 57)), 0);
  MCIsPlayerEvent(gController, window_, WM_LBUTTONUP, 0, MAKELPARAM(111, 57));
  EXPECT_GE(GetMovieTime(movie_, nullptr), GetMovieDuration(movie_) * 9 / 10);
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20)), 0);
  // The play button.
  EXPECT_NE(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 57)), 0);
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_LBUTTONUP, 0, MAKELPARAM(5, 57)), 0);
  Pump(100, false);
  EXPECT_LT(GetMovieTime(movie_, nullptr), GetMovieDuration(movie_) / 2) << "play at the end starts over";
}

TEST_F(MovieWindow, HiddenBarAndDisposalInEitherOrder) {
  Open("jpeg_silent_first.mov", qt::kFlagTopLeftMovie | qt::kFlagBarHidden);
  RECT bounds{};
  MCGetControllerBoundsRect(gController, &bounds);
  EXPECT_EQ(bounds.right, 64);
  EXPECT_EQ(bounds.bottom, 48);
  // The movie button disposes of the movie before its controller.
  DisposeMovie(movie_);
  movie_ = 0;
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_PAINT, 0, 0), 0);
  EXPECT_EQ(MCDoAction(gController, qt::kActionPlay, qt::kFixedOne), qt::kErrBadHandle);
}

}  // namespace
}  // namespace kro
