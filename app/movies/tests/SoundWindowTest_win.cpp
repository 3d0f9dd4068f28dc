// The sound player window with the real movie service: an audio-only movie under the
// controller bar, started by a click on the bar, played to its end, and given up with its
// window; a recording that is not on the disc leaves a note and no bar.
#include "app/movies/SoundWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/article/Pane_win.h"
#include "app/toolkit/Palette.h"
#include "runtime/quicktime/core/ControllerBar.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::movies {
namespace {

constexpr int kWidth = 360, kHeight = 24;

class SoundWindowTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    QTInitialize(nullptr);
    EnterMovies();
    WNDCLASSA wc{};
    wc.lpfnWndProc = SoundProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kSoundClass;
    RegisterClassA(&wc);
    wintest::RegisterTestClass("KroSoundHost", DefWindowProcA);
  }
  static void TearDownTestSuite() {
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    CreateDirectoryA((disc_ / "sounds").c_str(), nullptr);
    CopyFileA(wintest::HostPath(SOUND_TEST_MEDIA).c_str(), (disc_ / "sounds\\voice.mov").c_str(), FALSE);
    SetSoundFolder(disc_.Path() + "\\");
    host_ = CreateWindowA("KroSoundHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(host_); }
  HWND Embed(const char* data) {
    return CreateWindowExA(0, kSoundClass, data, WS_CHILD | WS_VISIBLE, 10, 10, kWidth, kHeight, host_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  wintest::TemporaryFolder disc_;
  HWND host_ = nullptr;
};

TEST_F(SoundWindowTest, TheBarStartsTheSoundWhichPlaysToItsEnd) {
  HWND sound = Embed("sounds/voice.mov");  // either slash names the folder
  ASSERT_NE(sound, nullptr);
  const MovieHandle movie = SoundMovie(sound);
  ASSERT_TRUE(movie);
  ASSERT_TRUE(SoundController(sound));
  const uint32_t duration = GetMovieDuration(movie);
  EXPECT_GT(duration, 0u);
  // The bar takes the window's width, in the middle of its height.
  RECT bounds{};
  MCGetControllerBoundsRect(SoundController(sound), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, kWidth);
  EXPECT_EQ(bounds.top, (kHeight - qt::kBarHeight) / 2);
  // It waits for the reader.
  wintest::PumpRounds(5);
  EXPECT_EQ(GetMovieTime(movie, nullptr), 0u);

  // The play button is the bar's square at its left end.
  wintest::Click(sound, {qt::kBarHeight / 2, static_cast<LONG>(bounds.top) + qt::kBarHeight / 2});
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetMovieTime(movie, nullptr) > 0; }, 200));
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetMovieTime(movie, nullptr) >= duration; }, 5000));

  // With the window the movie goes: the service no longer knows its handle.
  DestroyWindow(sound);
  EXPECT_EQ(GetMovieDuration(movie), 0u);
}

TEST_F(SoundWindowTest, DestroyedWhilePlayingItStopsAndLeavesNoTimerBehind) {
  HWND sound = Embed("sounds\\voice.mov");
  ASSERT_NE(sound, nullptr);
  MCDoAction(SoundController(sound), qt::kActionPlay, 65536);
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetMovieTime(SoundMovie(sound), nullptr) > 0; }, 200));
  const MovieHandle movie = SoundMovie(sound);
  DestroyWindow(sound);
  EXPECT_EQ(GetMovieTime(movie, nullptr), 0u);
  wintest::PumpRounds(5);  // a timer left on the dead window would reach nothing; no crash
}

TEST_F(SoundWindowTest, AMissingRecordingShowsANoteAndNoBar) {
  for (const char* data : {"sounds\\gone.mov", ""}) {
    HWND sound = Embed(data);
    ASSERT_NE(sound, nullptr) << data;
    EXPECT_FALSE(SoundMovie(sound));
    EXPECT_FALSE(SoundController(sound));
    UpdateWindow(sound);
    int letters = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) letters += wintest::WindowPixel(sound, {x, y}) == RGB(0xF4, 0xEE, 0xDC);
    EXPECT_GT(letters, 20) << data;
    DestroyWindow(sound);
  }
}

TEST_F(SoundWindowTest, APopupAskingForItsPaletteGetsTheProgramPalette) {
  HWND sound = Embed("sounds\\voice.mov");
  EXPECT_EQ(reinterpret_cast<HPALETTE>(SendMessageA(sound, article::kQueryEmbeddedPalette, 0, 0)), toolkit::ProgramPalette());
  // Another window's user data is never taken for a sound's record.
  EXPECT_FALSE(SoundMovie(host_));
  DestroyWindow(sound);
}

}  // namespace
}  // namespace kro::movies
