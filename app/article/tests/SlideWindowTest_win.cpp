#include "app/article/SlideWindow_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/article/PicturePopup_win.h"
#include "app/article/TopicWindow_win.h"
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

// A small disc: a letter picture, two pictures of the letter folder "v" with the full-size
// file of the first, and a portrait, all copies of a test picture the movie service's tests make
// (40 by 30, red left, blue right).
std::string MakeDisc(const wintest::TemporaryFolder& disc) {
  const std::string source = wintest::HostPath(QT_TEST_MEDIA "/halves.jpg");
  for (const char* folder : {"letters", "pictures", "pictures\\v", "pictures\\v\\icons", "pictures\\v\\slides",
                           "pictures\\v\\portrait"})
    CreateDirectoryA((disc / folder).c_str(), nullptr);
  for (const char* name : {"letters\\v.jpg", "pictures\\v\\icons\\ai.jpg", "pictures\\v\\icons\\bi.jpg",
                           "pictures\\v\\slides\\a.jpg", "pictures\\v\\portrait\\p.jpg"})
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
    RegisterPicturePopupClass(GetModuleHandleA(nullptr), LoadCursorA(nullptr, IDC_CROSS));
  }
  static void TearDownTestSuite() {
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    SetSlideHost({MakeDisc(disc_), LoadCursorA(nullptr, IDC_SIZEALL), [](bool p, bool n) { gButtons.previous = p, gButtons.next = n; },
                  [](bool movie, bool sound, bool map) { gButtons.movie = movie, gButtons.sound = sound, gButtons.map = map; }});
    main_ = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    slide_ = CreateWindowA("KroTestSlide", "", WS_CHILD | WS_VISIBLE, 10, 10, 186, 207, main_, nullptr, nullptr, nullptr);
    ForgetShownPicture();
  }
  void TearDown() override {
    if (PicturePopup()) DestroyWindow(PicturePopup());
    DestroyWindow(main_);
  }
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

// The picture popup, opened by a click on the slide window as the reader opens it.
class PicturePopupTest : public SlideWindowTest {
protected:
  // The close button's place: 20 to 30 pixels from the left, inside the top 12.
  void SetUp() override {
    SlideWindowTest::SetUp();
    SetPicturePopupHost({nullptr, nullptr, 20, 30, -1, 12});
  }
  HWND Open(std::string_view data) {
    SetMediaLinks(data, "v", main_);
    SendMessageA(slide_, kSlideNewArticle, 0, 0);
    wintest::Click(slide_, {90, 100});
    wintest::Pump();
    return PicturePopup();
  }
  static HWND CaptionOf(HWND popup) { return FindWindowExA(popup, nullptr, "Edit", nullptr); }
  static bool HasScrollBar(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL) != 0; }
};

TEST_F(PicturePopupTest, ShowsThePictureWithItsCaptionCentredAndDisablesTheOwner) {
  const HWND popup = Open("[PICT] a.jpg {Волга}");
  ASSERT_TRUE(popup);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(GetWindow(popup, GW_OWNER), main_);
  EXPECT_FALSE(IsWindowEnabled(main_));
  RECT window;
  GetWindowRect(popup, &window);
  EXPECT_EQ(window.right - window.left, 40 + 2);
  EXPECT_EQ(window.bottom - window.top, 30 + 27);
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 42) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 57) / 2);
  const HWND edit = CaptionOf(popup);
  ASSERT_TRUE(edit);
  char text[64] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "Волга");
  EXPECT_EQ(GetFocus(), edit);
  RECT strip;
  GetWindowRect(edit, &strip);
  EXPECT_EQ(strip.bottom - strip.top, kPopupCaptionHeight);
  // The picture's own colours, above the caption strip: red left, blue right.
  UpdateWindow(popup);
  EXPECT_TRUE(wintest::Near(wintest::WindowPixel(popup, {5, 15}), RGB(255, 0, 0), 40));
  EXPECT_TRUE(wintest::Near(wintest::WindowPixel(popup, {34, 15}), RGB(0, 0, 255), 40));
  // The first showing named the popup after the article.
  EXPECT_EQ(CurrentMediaLinks().pictures[0].popupTitle, CurrentTitle());
}

TEST_F(PicturePopupTest, EveryWayOfClosingGivesTheOwnerBack) {
  const auto closes = [&](const std::function<void(HWND)>& how) {
    const HWND popup = Open("[PICT] a.jpg {Волга}");
    if (!popup) return testing::AssertionFailure() << "no popup";
    how(popup);
    wintest::PumpUntil([] { return PicturePopup() == nullptr; }, 20);
    if (IsWindow(popup)) return testing::AssertionFailure() << "still open";
    if (!IsWindowEnabled(main_)) return testing::AssertionFailure() << "owner left disabled";
    return testing::AssertionSuccess();
  };
  // Esc typed in the caption reaches the popup through the edit hook.
  EXPECT_TRUE(closes([](HWND popup) {
    PostMessageA(CaptionOf(popup), WM_KEYDOWN, VK_ESCAPE, 0);
  }));
  EXPECT_TRUE(closes([](HWND popup) { SendMessageA(popup, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5)); }));
  EXPECT_TRUE(closes([](HWND popup) { SendMessageA(popup, WM_CLOSE, 0, 0); }));
  EXPECT_TRUE(closes([](HWND popup) {
    RECT window;
    GetWindowRect(popup, &window);
    SendMessageA(popup, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(window.left + 25, window.top));
  }));
}

TEST_F(PicturePopupTest, OtherKeysAndClicksBesideTheCloseButtonKeepItOpen) {
  const HWND popup = Open("[PICT] a.jpg {Волга}");
  ASSERT_TRUE(popup);
  RECT window;
  GetWindowRect(popup, &window);
  SendMessageA(popup, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(window.left + 20, window.top));  // its border pixel
  PostMessageA(CaptionOf(popup), WM_KEYDOWN, VK_RETURN, 0);
  wintest::PumpRounds(5);
  EXPECT_TRUE(IsWindow(popup));
  EXPECT_FALSE(IsWindowEnabled(main_));
}

TEST_F(PicturePopupTest, TheCaptionKeepsItsScrollBarOnlyWhenItDoesNotFit) {
  const HWND shortCaption = Open("[PICT] a.jpg {}");
  ASSERT_TRUE(shortCaption);
  EXPECT_FALSE(HasScrollBar(CaptionOf(shortCaption)));
  const HWND longCaption = Open("[PICT] a.jpg {Волга у Ярославля весной}");
  ASSERT_TRUE(longCaption);
  EXPECT_FALSE(IsWindow(shortCaption));  // one popup at a time
  EXPECT_TRUE(HasScrollBar(CaptionOf(longCaption)));
}

TEST_F(PicturePopupTest, PicturesWithoutAFullSizeFileOpenNothing) {
  EXPECT_EQ(Open("[PICT] b.jpg {Без файла}"), nullptr);  // slides\b.jpg is missing
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(Open("[MOVE] volga.mov {Весна}"), nullptr);  // the letter picture
  EXPECT_EQ(Open("[PORT] p.jpg"), nullptr);
}

TEST_F(PicturePopupTest, TheZoomCursorMarksPicturesThatEnlarge) {
  const auto cursorOver = [&](std::string_view data) {
    SetMediaLinks(data, "v", main_);
    SendMessageA(slide_, kSlideNewArticle, 0, 0);
    SetCursor(nullptr);
    SendMessageA(slide_, WM_SETCURSOR, reinterpret_cast<WPARAM>(slide_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorOver("[PICT] a.jpg {Волга}"), LoadCursorA(nullptr, IDC_SIZEALL));
  EXPECT_NE(cursorOver("[PORT] p.jpg"), LoadCursorA(nullptr, IDC_SIZEALL));
}

}  // namespace
}  // namespace kro::article
