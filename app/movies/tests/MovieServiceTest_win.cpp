// The real service libraries (QTIM32.DLL, CMGR32.DLL, next to this program) driven through
// the access layer as the programs drive them, on movies and pictures made for the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "app/movies/QuickTime.h"
#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro {
namespace {

using wintest::Canvas;
using wintest::Near;

// The media are made in the build tree.
std::string Media(const std::string& name) { return wintest::HostPath(QT_TEST_MEDIA "/" + name); }

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
  const auto bytes = ReadWholeFile(Media("jpeg_silent_first.mov"));
  ASSERT_TRUE(bytes);
  const wintest::TemporaryFolder folder;
  const std::string path = folder / "cut.mov";
  ASSERT_TRUE(ReplaceFileContents(path, std::span(*bytes).first(bytes->size() - 100)));  // the last frame cut short
  MovieFileHandle file = 0;
  ASSERT_EQ(OpenMovieFile(path.c_str(), &file, 0), 0);
  MovieHandle movie = 55;
  EXPECT_EQ(NewMovieFromFile(&movie, file, 0, 0, 0, 0), qt::kErrBadMovie);
  EXPECT_EQ(movie, 0u);
  CloseMovieFile(file);
  EXPECT_NE(OpenMovieFile(Media("missing.mov").c_str(), &file, 0), 0);
}

// A window whose procedure offers every message to the controller first, as the
// programs' movie windows do.
ControllerHandle gController = 0;

LRESULT CALLBACK MovieWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gController && MCIsPlayerEvent(gController, window, message, wParam, lParam)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Rounds of the message loop a test waits for the 2-second movies, which end in about a
// hundred (the controller's timer ticks every 20 ms).
constexpr int kPlayRounds = 2000;
constexpr char kWindowClass[] = "MovieServiceTestWindow";

// The performance counter, which the service's clock follows. The tests read it only to
// bound the movie's time from both sides; nothing is timed.
int64_t Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}
// Movie units in the counter ticks from `start` to `end`, rounded down as the service rounds.
uint64_t Units(int64_t start, int64_t end, uint32_t scale) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const uint64_t ticks = uint64_t(end - start), f = uint64_t(frequency.QuadPart);
  return ticks / f * scale + ticks % f * scale / f;
}

class MovieWindow : public Service {
protected:
  void SetUp() override {
    wintest::RegisterTestClass(kWindowClass, MovieWindowProc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    window_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
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
  uint32_t Time() const { return GetMovieTime(movie_, nullptr); }
  bool AtEnd() const { return Time() >= GetMovieDuration(movie_); }
  COLORREF Pixel(int x, int y) {
    UpdateWindow(window_);
    return wintest::WindowPixel(window_, {x, y});
  }
  // Frame n of the test movies is red 20n, green 200 - 10n, blue 90.
  static COLORREF FrameColour(int n) { return RGB(20 * n, 200 - 10 * n, 90); }

  HWND window_ = nullptr;
  MovieHandle movie_ = 0;
};

// The movie's time never runs ahead of the counter since play began, nor further behind it
// than the half second a sound device may lag, and it stops at the end with the last frame
// on show. Run once more with a sound device that plays faster than real time (CMakeLists).
TEST_F(MovieWindow, PlaysToItsEndOnTheClock) {
  for (const char* name : {"jpeg_twos16_mono_first.mov", "jpeg_silent_first.mov"}) {
    Open(name, qt::kFlagTopLeftMovie | qt::kFlagScaleToFit);
    PrerollMovie(movie_, 0, qt::kFixedOne);
    const uint32_t scale = GetMovieTimeScale(movie_), duration = GetMovieDuration(movie_);
    const uint64_t lag = scale / 2;
    const int64_t beforePlay = Counter();
    MCDoAction(gController, qt::kActionPlay, qt::kFixedOne);
    const int64_t afterPlay = Counter();
    const bool ended = wintest::PumpUntil([&] {
      const int64_t early = Counter();
      const uint64_t time = Time();
      const int64_t late = Counter();
      EXPECT_LE(time, Units(beforePlay, late, scale)) << name << ": ahead of the clock";
      const uint64_t due = Units(afterPlay, early, scale);
      EXPECT_GE(time, std::min<uint64_t>(duration, due > lag ? due - lag : 0)) << name << ": behind the clock";
      return time >= duration;
    }, kPlayRounds);
    EXPECT_TRUE(ended) << name;
    EXPECT_EQ(Time(), duration) << name;
    EXPECT_TRUE(Near(Pixel(32, 24), FrameColour(19))) << name << ": the last frame stays on show";
    char text[32] = {};
    GetWindowTextA(window_, text, sizeof text);
    EXPECT_STREQ(text, "0:02 / 0:02") << name << ": the window's text repeats the bar's time";
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
  EXPECT_TRUE(wintest::PumpUntil([&] { return Time() > 0; }, kPlayRounds));
  SendMessageA(window_, WM_KEYDOWN, VK_SPACE, 0);  // pauses
  const uint32_t paused = Time();
  wintest::PumpRounds(20);
  EXPECT_EQ(Time(), paused);

  // A click at the far end of the slider seeks there; a click on the picture is not ours.
  EXPECT_NE(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(111, 57)), 0);
  MCIsPlayerEvent(gController, window_, WM_LBUTTONUP, 0, MAKELPARAM(111, 57));
  EXPECT_GE(Time(), GetMovieDuration(movie_) * 9 / 10);
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20)), 0);
  // The play button: at the end it starts over, so the time is within what the counter
  // moved since the click, and it runs on.
  const int64_t beforePlay = Counter();
  EXPECT_NE(MCIsPlayerEvent(gController, window_, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 57)), 0);
  EXPECT_EQ(MCIsPlayerEvent(gController, window_, WM_LBUTTONUP, 0, MAKELPARAM(5, 57)), 0);
  const uint32_t restarted = Time();
  EXPECT_LE(restarted, Units(beforePlay, Counter(), GetMovieTimeScale(movie_))) << "play at the end starts over";
  EXPECT_TRUE(wintest::PumpUntil([&] { return Time() > restarted; }, kPlayRounds));
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
