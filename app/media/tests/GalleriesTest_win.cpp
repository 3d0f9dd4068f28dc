// The galleries on a small title (tests/fixture) and a disc in a temporary folder with the
// pictures and movies its catalogues name, driven by the messages a user's input makes.
#include "app/media/Galleries_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/article/Pane_win.h"
#include "app/article/PicturePopup_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/media/SlidePanel_win.h"
#include "app/movies/DiscPrompt.h"
#include "app/movies/VideoWindow.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/ProgramInstance.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::media {
namespace {

std::vector<std::string> gJumps;
std::vector<int> gPrompts;

INT_PTR ScriptedPrompt(int templateId, DLGPROC) {
  gPrompts.push_back(templateId);
  return 0;
}

// Every picture the fixture's "slides.dat" names, as a copy of a test picture.
void MakeDisc(const wintest::TemporaryFolder& disc) {
  const std::string picture = wintest::HostPath(QT_TEST_MEDIA "/halves.jpg");
  const struct {
    const char* folder;
    std::vector<const char*> icons;
  } folders[] = {{"azov", {"azov_1"}}, {"avrora", {"avrora_1"}}, {"bor", {"bor_1", "bor_2", "bor_3"}},
                 {"borodino", {"borodino_1"}}, {"borshch", {"borshch_1"}}, {"bryansk", {"bryansk_1"}},
                 {"volga", {"volga_1", "volga_2"}}};
  CreateDirectoryA((disc / "pictures").c_str(), nullptr);
  for (const auto& f : folders) {
    const std::string base = disc / (std::string("pictures\\") + f.folder);
    for (const char* sub : {"", "\\icons", "\\slides", "\\portrait"}) CreateDirectoryA((base + sub).c_str(), nullptr);
    for (const char* name : f.icons) {
      CopyFileA(picture.c_str(), (base + "\\icons\\" + name + "i.jpg").c_str(), FALSE);
      CopyFileA(picture.c_str(), (base + "\\slides\\" + name + ".jpg").c_str(), FALSE);
    }
  }
  CopyFileA(picture.c_str(), (disc / "pictures\\avrora\\portrait\\pavrora.jpg").c_str(), FALSE);
  CreateDirectoryA((disc / "movies").c_str(), nullptr);
  CopyFileA(wintest::HostPath(QT_TEST_MEDIA "/jpeg_twos16_mono_first.mov").c_str(), (disc / "movies\\river.mov").c_str(),
            FALSE);
  wintest::WriteTextFile(disc / "sound.mov", "marker");
}

HWND ChildOfClass(HWND parent, const char* className) {
  return FindWindowExA(parent, nullptr, className, nullptr);
}

RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Text(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The bitmap button at a client point of its parent.
HWND ButtonAt(HWND parent, int x, int y) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32];
    GetClassNameA(child, name, sizeof name);
    const RECT r = ChildRect(child);
    if (lstrcmpA(name, toolkit::kBitmapButtonClass) == 0 && r.left == x && r.top == y) return child;
  }
  return nullptr;
}

bool Enabled(HWND button) { return SendMessageA(button, BM_GETSTATE, 0, 0) != 0; }

class GalleriesTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    QTInitialize(nullptr);
    EnterMovies();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    toolkit::SetProgramInstance(instance);
    toolkit::RegisterBitmapButtonClass(instance);
    lists::RegisterVirtualListBoxClass(instance);
    article::RegisterArticleClasses(instance);
    movies::RegisterVideoClasses(instance);
    article::RegisterPicturePopupClass(instance, nullptr);
    wintest::RegisterTestClass(kGalleryDialogClass, GalleryDialogProc);
    wintest::RegisterTestClass(kSlidesGalleryClass, SlidesGalleryProc);
    wintest::RegisterTestClass(kSlidePanelClass, SlidePanelProc);
    title_ = hMVTitleOpenEx(wintest::BesideExe("gallery_fixture.m14").c_str(), nullptr, nullptr);
    // Maps and sounds show as popups over the main article window.
    area_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    if (title_) article::CreateMainArticleWindow(instance, title_, area_);
  }
  static void TearDownTestSuite() {
    if (article::MainArticle()) article::DestroyTopicWindow(article::MainArticle());
    DestroyWindow(area_);
    MVTitleClose(title_);
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    ASSERT_NE(title_, nullptr);
    MakeDisc(disc_);
    gJumps.clear();
    gPrompts.clear();
    main_ = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    article::SetPopupFocusWindow(nullptr);
    SetGalleryHost({title_, disc_.Path() + "\\", main_, nullptr, nullptr, nullptr, nullptr, nullptr,
                    [](const char* context) { gJumps.push_back(context); }});
    movies::SetVideoSettings({.productDir = disc_.Path() + "\\", .runPrompt = ScriptedPrompt});
  }
  void TearDown() override {
    if (article::OpenPopup()) article::ClosePopups(nullptr);
    if (movies::VideoFrame()) DestroyWindow(movies::VideoFrame());
    if (gallery_ && IsWindow(gallery_)) SendMessageA(gallery_, WM_CLOSE, 0, 0);
    DestroyWindow(main_);
  }
  void DoubleClick(HWND list) {
    SendMessageA(gallery_, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  }
  static inline HMVTITLE title_ = nullptr;
  static inline HWND area_ = nullptr;
  wintest::TemporaryFolder disc_;
  HWND main_{}, gallery_{};
};

TEST_F(GalleriesTest, TheVideoGalleryPlaysTheMovieWithItsCaption) {
  gallery_ = OpenGallery(kVideoGalleryName);
  ASSERT_NE(gallery_, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main_));
  HWND list = ChildOfClass(gallery_, "ListBox");
  ASSERT_NE(list, nullptr);
  const RECT r = ChildRect(list);
  EXPECT_EQ(r.left, 214);
  EXPECT_EQ(r.top, 38);
  EXPECT_EQ(r.right - r.left, 304);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ButtonAt(gallery_, 0, 180), nullptr);  // Show belongs to the maps

  DoubleClick(list);
  ASSERT_NE(movies::VideoFrame(), nullptr);
  EXPECT_EQ(GetWindow(movies::VideoFrame(), GW_OWNER), gallery_);
  std::vector<std::string> lines;
  for (HWND child = GetWindow(movies::VideoFrame(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16];
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0) lines.push_back(Text(child));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"Волга весной", "Весенний разлив Волги."}));
  wintest::PressKey(movies::VideoFrame(), VK_ESCAPE);
  EXPECT_EQ(movies::VideoFrame(), nullptr);

  // A movie of the archive disc only: the reader without that disc hears where it is.
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  DoubleClick(list);
  EXPECT_EQ(gPrompts, std::vector<int>{movies::kArchivePromptTemplate});
  EXPECT_EQ(movies::VideoFrame(), nullptr);
}

TEST_F(GalleriesTest, TheSoundListIsWiderAndItsTopicClosesWhenTheGalleryComesBack) {
  gallery_ = OpenGallery(kSoundGalleryName);
  HWND list = ChildOfClass(gallery_, "ListBox");
  ASSERT_NE(list, nullptr);
  const RECT r = ChildRect(list);
  EXPECT_EQ(r.left, 137);
  EXPECT_EQ(r.right - r.left, 377);
  DoubleClick(list);
  EXPECT_NE(article::OpenPopup(), nullptr);
  SendMessageA(gallery_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(article::OpenPopup(), nullptr);
}

TEST_F(GalleriesTest, MapsShowOnlyThroughTheirButton) {
  gallery_ = OpenGallery(kMapGalleryName);
  HWND list = ChildOfClass(gallery_, "ListBox");
  ASSERT_NE(list, nullptr);
  DoubleClick(list);
  EXPECT_EQ(article::OpenPopup(), nullptr);
  HWND show = ButtonAt(gallery_, 0, 180);
  ASSERT_NE(show, nullptr);
  SendMessageA(gallery_, WM_COMMAND, kGalleryShowMap, reinterpret_cast<LPARAM>(show));
  EXPECT_NE(article::OpenPopup(), nullptr);
}

TEST_F(GalleriesTest, JumpClosesTheGalleryAndOpensTheArticle) {
  gallery_ = OpenGallery(kMapGalleryName);
  SendMessageA(gallery_, WM_COMMAND, kGalleryJump, 0);
  EXPECT_FALSE(IsWindow(gallery_));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(gJumps, std::vector<std::string>{"topic_volga"});
}

class SlidesGalleryTest : public GalleriesTest {
protected:
  void SetUp() override {
    GalleriesTest::SetUp();
    gallery_ = OpenSlidesGallery();
    ASSERT_NE(gallery_, nullptr);
    list_ = ChildOfClass(gallery_, lists::kVirtualListBoxClass);
    edit_ = ChildOfClass(gallery_, "Edit");
    previous_ = ButtonAt(gallery_, 160, 250);
    next_ = ButtonAt(gallery_, 190, 250);
    ASSERT_TRUE(list_ && edit_ && previous_ && next_);
  }
  int Selection() const { return static_cast<int>(SendMessageA(list_, lists::kVlbGetSelection, 0, 0)); }
  // Types into the field and waits for the type-ahead's timer to pick the entry.
  void Type(const std::string& text, int expected) {
    SetWindowTextA(edit_, text.c_str());
    EXPECT_TRUE(wintest::PumpUntil([&] { return Selection() == expected; }, 1000)) << text << ": " << Selection();
  }
  HWND list_{}, edit_{}, previous_{}, next_{};
};

TEST_F(SlidesGalleryTest, OpensOnTheFirstEntryWithItsOnlyPicture) {
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ(Text(edit_), "Азов");
  ASSERT_NE(PanelCurrentPicture(), nullptr);
  EXPECT_EQ(PanelCurrentPicture()->thumbnailPath, disc_.Path() + "\\pictures\\azov\\icons\\azov_1i.jpg");
  EXPECT_FALSE(Enabled(previous_));  // one picture: both arrows off
  EXPECT_FALSE(Enabled(next_));
}

TEST_F(SlidesGalleryTest, TypingSelectsTheFirstTitleItBeginsAndKeepsWhatWasTyped) {
  Type("бор", 2);
  EXPECT_EQ(Text(edit_), "бор");
  EXPECT_EQ(PanelCurrentPicture()->caption, "Сосны у реки.");
  EXPECT_FALSE(Enabled(previous_));
  EXPECT_TRUE(Enabled(next_));
  SendMessageA(gallery_, WM_COMMAND, kSlidesNextPicture, reinterpret_cast<LPARAM>(next_));
  EXPECT_TRUE(Enabled(previous_));
  EXPECT_EQ(PanelCurrentPicture()->caption, "Вторая сосна.");
  SendMessageA(gallery_, WM_COMMAND, kSlidesNextPicture, reinterpret_cast<LPARAM>(next_));
  EXPECT_FALSE(Enabled(next_));
  SendMessageA(gallery_, WM_COMMAND, kSlidesPreviousPicture, reinterpret_cast<LPARAM>(previous_));
  EXPECT_TRUE(Enabled(next_));

  Type("Бю", 5);  // past every Б: the last of them
  Type("ая", 1);  // «Аврора» is filed under А
  EXPECT_EQ(PanelCurrentPicture()->kind, article::PictureKind::kPicture);
  SendMessageA(gallery_, WM_COMMAND, kSlidesNextPicture, reinterpret_cast<LPARAM>(next_));
  EXPECT_EQ(PanelCurrentPicture()->kind, article::PictureKind::kPortrait);
  EXPECT_EQ(PanelCurrentPicture()->thumbnailPath, disc_.Path() + "\\pictures\\avrora\\portrait\\pavrora.jpg");
  Type("Ж", 0);
}

// The gallery's pixels, children included (its DC is not clipped to them).
std::vector<COLORREF> Pixels(HWND gallery) {
  RECT client;
  GetClientRect(gallery, &client);
  wintest::Canvas canvas(client.right, client.bottom);
  HDC dc = GetDC(gallery);
  BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(gallery, dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

// An answer repaints only what it changed, and the gallery looks as a full repaint makes it.
TEST_F(SlidesGalleryTest, AnAnswerLeavesTheGalleryAsAFullRepaintWould) {
  wintest::PumpRounds(5);
  const std::vector<COLORREF> before = Pixels(gallery_);
  Type("бор", 2);
  SetFocus(gallery_);  // no caret blinking between the two looks
  wintest::PumpRounds(5);
  const std::vector<COLORREF> answered = Pixels(gallery_);
  RedrawWindow(gallery_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const std::vector<COLORREF> repainted = Pixels(gallery_);
  EXPECT_NE(before, repainted);
  EXPECT_TRUE(answered == repainted);
}

TEST_F(SlidesGalleryTest, AClickOnAPictureEnlargesItButAPortraitStays) {
  HWND panel = ChildOfClass(gallery_, kSlidePanelClass);
  ASSERT_NE(panel, nullptr);
  Type("ая", 1);
  wintest::Click(panel, {50, 50});
  ASSERT_NE(article::PicturePopup(), nullptr);
  EXPECT_EQ(GetWindow(article::PicturePopup(), GW_OWNER), gallery_);
  DestroyWindow(article::PicturePopup());
  SendMessageA(gallery_, WM_COMMAND, kSlidesNextPicture, reinterpret_cast<LPARAM>(next_));
  wintest::Click(panel, {50, 50});
  EXPECT_EQ(article::PicturePopup(), nullptr);  // a portrait has no full-size slide
}

TEST_F(SlidesGalleryTest, ASelectionInTheListGoesIntoTheFieldAndJumpOpensItsArticle) {
  SendMessageA(list_, lists::kVlbSetSelection, lists::kVlbItemAt, 6);
  SendMessageA(gallery_, WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_));
  EXPECT_EQ(Text(edit_), "Волга");
  wintest::PumpRounds(5);  // the program's own text starts no type-ahead
  EXPECT_EQ(Selection(), 6);
  SendMessageA(gallery_, WM_COMMAND, kGalleryJump, 0);
  EXPECT_FALSE(IsWindow(gallery_));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(gJumps, std::vector<std::string>{"topic_volga"});
}

}  // namespace
}  // namespace kro::media
