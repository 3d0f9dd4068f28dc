#include "app/article/SlideWindow_win.h"

#include <gtest/gtest.h>

#include <string>

#include "app/movies/QuickTime.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::article {
namespace {

struct Buttons {
  bool previous = false, next = false, movie = false, sound = false, map = false;
};
Buttons gButtons;

// A small disc: a letter picture and two pictures of the letter folder "v", all copies of
// a test picture the movie service's tests make.
std::string MakeDisc(const wintest::TemporaryFolder& disc) {
  const std::string source = wintest::HostPath(QT_TEST_MEDIA "/halves.jpg");
  for (const char* folder : {"letters", "pictures", "pictures\\v", "pictures\\v\\icons"})
    CreateDirectoryA((disc / folder).c_str(), nullptr);
  for (const char* name : {"letters\\v.jpg", "pictures\\v\\icons\\ai.jpg", "pictures\\v\\icons\\bi.jpg"})
    CopyFileA(source.c_str(), (disc / name).c_str(), FALSE);
  return disc.Path() + "\\";
}

class SlideWindowTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    QTInitialize(nullptr);
    EnterMovies();
    // White without a picture.
    wintest::RegisterTestClass("KroTestSlide", SlideWindowProc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  static void TearDownTestSuite() {
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    SetSlideHost({MakeDisc(disc_), [](bool p, bool n) { gButtons.previous = p, gButtons.next = n; },
                  [](bool movie, bool sound, bool map) { gButtons.movie = movie, gButtons.sound = sound, gButtons.map = map; }});
    main_ = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    slide_ = CreateWindowA("KroTestSlide", "", WS_CHILD | WS_VISIBLE, 10, 10, 186, 207, main_, nullptr, nullptr, nullptr);
    ForgetShownPicture();
  }
  void TearDown() override { DestroyWindow(main_); }
  static COLORREF Centre(HWND hwnd) {
    UpdateWindow(hwnd);
    return wintest::WindowPixel(hwnd, {5, 100});
  }
  wintest::TemporaryFolder disc_;
  HWND main_{}, slide_{};
};

TEST_F(SlideWindowTest, PicturesStepWithTheirButtons) {
  SetMediaLinks("[PICT] a.jpg {Первая}; b.jpg {Вторая}[MAPS] map_v;[WAVE] !snd_v>;", "v", main_);
  SendMessageA(slide_, kSlideNewArticle, 0, 0);
  EXPECT_FALSE(gButtons.previous);
  EXPECT_TRUE(gButtons.next);
  EXPECT_TRUE(gButtons.map);
  EXPECT_TRUE(gButtons.sound);
  EXPECT_FALSE(gButtons.movie);
  EXPECT_NE(Centre(slide_), RGB(255, 255, 255));  // a picture is on show
  SendMessageA(slide_, kSlideNextPicture, 0, 0);
  EXPECT_TRUE(gButtons.previous);
  EXPECT_FALSE(gButtons.next);
  SendMessageA(slide_, kSlideNextPicture, 0, 0);  // already the last: nothing
  EXPECT_TRUE(gButtons.previous);
  SendMessageA(slide_, kSlidePreviousPicture, 0, 0);
  EXPECT_FALSE(gButtons.previous);
  EXPECT_TRUE(gButtons.next);
}

TEST_F(SlideWindowTest, AnArticleWithoutPicturesShowsItsLetter) {
  SetMediaLinks("[MOVE] volga.mov {Весна}", "v", main_);
  SendMessageA(slide_, kSlideNewArticle, 0, 0);
  EXPECT_FALSE(gButtons.previous);
  EXPECT_FALSE(gButtons.next);
  EXPECT_TRUE(gButtons.movie);
  EXPECT_FALSE(gButtons.map);
  EXPECT_EQ(CurrentMediaLinks().movieCaption, "Весна");
  EXPECT_NE(Centre(slide_), RGB(255, 255, 255));
}

}  // namespace
}  // namespace kro::article
