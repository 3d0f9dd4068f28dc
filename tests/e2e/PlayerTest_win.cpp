// The real player.exe on the sample encyclopedia, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/article/Pane_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/article/tests/TestPrinter_win.h"
#include "app/shell/AboutWindow_win.h"
#include "app/shell/Help_win.h"
#include "app/shell/LogoWindow_win.h"
#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"
#include "app/timeline/StripModel.h"
#include "app/timeline/TimelineWindow_win.h"
#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/quicktime/core/ControllerBar.h"
#include "tests/e2e/PlayerFixture_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::e2e {
namespace {

using wintest::AutoRun;
using wintest::Descendant;
using wintest::HostPath;
using wintest::ProcessWindow;
using namespace shell;  // the commands and window classes

std::string Caption(HWND hwnd) { return wintest::TextOf(hwnd); }

TEST_F(PlayerTest, OpensTheStartArticleStepsToTheNextAndClosesCleanly) {
  const mv::Title& title = SampleTitle();
  const uint32_t start = title.TopicByContext("topic_ros14");
  const uint32_t next = title.BrowseNext(start);
  const auto Named = [&](uint32_t topic) { return std::string(title.TopicTitle(topic).value_or("?")); };
  ASSERT_NE(next, mv::kNone);

  ASSERT_TRUE(Start());
  EXPECT_EQ(AutoRun(), kRunningAutoRun);  // AutoRun is off while the program runs
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, kStepPolls))
      << Caption(main_);
  const HWND previous = ButtonAt(main_, 560, 421);
  const HWND nextButton = ButtonAt(main_, 590, 421);
  ASSERT_TRUE(previous && nextButton);

  PostMessageA(main_, WM_COMMAND, kCmdNext, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(next)), 0) == 0; }, kStepPolls))
      << Caption(main_);
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(nextButton, BM_GETSTATE, 0, 0), title.BrowseNext(next) != mv::kNone ? 1 : 0);
  PostMessageA(main_, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, kStepPolls));

  EXPECT_EQ(CloseByCaptionButton(), 0u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
  EXPECT_TRUE(FileExists(work_ / "last.tmp"));
}

// The disc docs/authoring.md makes from an empty folder, built in the native tree.
TEST_F(PlayerTest, ReadsTheDiscOfTheAuthoringGuide) {
  wintest::SetIni("ProductDir", HostPath(KRO_GUIDE_DISC).c_str());
  wintest::SetIni("IsDisk2Exists", "0");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind("РЕКИ И ОЗЁРА", 0) == 0; }, kStepPolls)) << Caption(main_);
  // Browse order is title order: the start article is last, the one before it ВОЛГА.
  PostMessageA(main_, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind("ВОЛГА", 0) == 0; }, kStepPolls)) << Caption(main_);
  EXPECT_EQ(CloseByCaptionButton(), 0u);
}

TEST_F(PlayerTest, CatalogueCommandSwitchesToTheStartScreenAndBack) {
  ASSERT_TRUE(Start());
  const HWND area = FindWindowExA(main_, nullptr, kArticleAreaClass, nullptr);
  const HWND box = FindWindowExA(main_, nullptr, "Button", nullptr);
  ASSERT_TRUE(area && box);
  // The frame shows before its children do.
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(area); }, kStepPolls));
  EXPECT_FALSE(IsWindowVisible(box));
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(area) && IsWindowVisible(box); }, kStepPolls));
  Screenshot(main_, "start.png");
  PostMessageA(main_, WM_COMMAND, kCmdArticleView, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(area) && !IsWindowVisible(box); }, kStepPolls));
  EXPECT_EQ(Quit(), 0u);
}

TEST_F(PlayerTest, TheTimelineOpensFromTheStartScreenAndAClickReadsItsArticle) {
  const auto bytes = ReadWholeFile(HostPath(KRO_PRODUCT_DIR "/timeline/timeline.rhs"));
  ASSERT_TRUE(bytes);
  const auto regions = timeline::ParseRegions(*bytes);
  ASSERT_TRUE(regions && !regions->empty());
  const timeline::Region& first = regions->front();  // the leftmost, in view at the start
  const std::string article = Named(first.context.c_str());

  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdTimeline, 0);
  HWND frame = nullptr, strip = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        frame = ProcessWindow(player_.Id(), timeline::kTimelineFrameClass);
        strip = frame ? FindWindowExA(frame, nullptr, timeline::kTimelineStripClass, nullptr) : nullptr;
        return strip && IsWindowVisible(strip);
      },
      kStepPolls));
  EXPECT_FALSE(IsWindowEnabled(main_));
  Screenshot(frame, "timeline.png");
  const LPARAM point = MAKELPARAM(first.left + 10, (first.top + first.bottom) / 2);
  PostMessageA(strip, WM_MOUSEMOVE, 0, point);
  PostMessageA(strip, WM_LBUTTONUP, 0, point);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(frame) && IsWindowEnabled(main_); }, kStepPolls));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(article, 0) == 0; }, kStepPolls)) << Caption(main_);
  EXPECT_EQ(Quit(), 0u);
}

TEST_F(PlayerTest, ACancelledPrintDialogPrintsNothingAndSaysNothing) {
  ASSERT_FALSE(article::test::TestPrinter().empty());
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdPrint, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = ProcessWindow(player_.Id(), "#32770")) != nullptr; }, kStepPolls));
  Screenshot(dialog, "print.png");
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kStepPolls));
  // Some rounds of the player's loop in which a message box would have come up.
  EXPECT_FALSE(WaitFor([&] { return ProcessWindow(player_.Id(), "#32770") != nullptr; }, 50));
  EXPECT_EQ(Quit(), 0u);
}

// --- the logo, About and help ----------------------------------------------------------

class PlayerLogoTest : public PlayerTest {
protected:
  // Starts with the introduction on; true once the logo shows and the main window exists,
  // still hidden.
  bool StartWithLogo() {
    wintest::SetIni("ShowIntroduction", "1");
    return Launch() && WaitFor([&] { return (logo_ = ProcessWindow(player_.Id(), kLogoClass)) != nullptr; },
                               kStartPolls) &&
           (main_ = FindWindowA(kMainWindowClass, nullptr)) != nullptr && !IsWindowVisible(main_);
  }
  bool ArticleViewRevealed() { return !IsWindow(logo_) && IsWindowVisible(main_); }
  HWND logo_ = nullptr;
};

TEST_F(PlayerLogoTest, OtherKeysLeaveTheLogoOnAndEscEndsIt) {
  ASSERT_TRUE(StartWithLogo());
  for (WPARAM key : {WPARAM{'A'}, WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) PostMessageA(logo_, WM_KEYDOWN, key, 0);
  EXPECT_FALSE(WaitFor([&] { return ArticleViewRevealed(); }, 20));
  EXPECT_TRUE(IsWindowVisible(logo_));
  PostMessageA(logo_, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStepPolls));
  EXPECT_EQ(Quit(), 0u);
}

TEST_F(PlayerLogoTest, AClickEndsTheLogo) {
  ASSERT_TRUE(StartWithLogo());
  PostMessageA(logo_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStepPolls));
  EXPECT_EQ(Quit(), 0u);
}

TEST_F(PlayerLogoTest, TheLogoEndsWithItsMovie) {
  ASSERT_TRUE(StartWithLogo());
  RECT logo;
  GetWindowRect(logo_, &logo);
  EXPECT_GT(logo.right - logo.left, 10);  // sized to the movie
  player_.Idle(150);  // well into the movie, past its dark first frames
  Screenshot(logo_, "logo.png");
  // The movie lasts seconds; the wait allows for them and the polling of its end.
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStartPolls));
  EXPECT_EQ(Quit(), 0u);
}

TEST_F(PlayerTest, AboutShowsTheCreditsPaneAndClosesByItsButtonAndByAltF4) {
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  for (int way = 0; way < 2; ++way) {
    PostMessageA(main_, WM_COMMAND, kCmdAbout, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = ProcessWindow(player_.Id(), kAboutClass)) != nullptr; }, kStepPolls));
    EXPECT_EQ(Caption(about), "О программе");
    EXPECT_FALSE(IsWindowEnabled(main_));
    const HWND pane = FindWindowExA(about, nullptr, article::kPaneClass, nullptr);
    ASSERT_NE(pane, nullptr);
    RECT rect;
    GetWindowRect(pane, &rect);
    EXPECT_EQ(rect.right - rect.left, 436);
    EXPECT_EQ(rect.bottom - rect.top, 276);
    EXPECT_TRUE(IsWindowVisible(pane));
    if (way == 0) {
      Screenshot(about, "about.png");
      const HWND close = ButtonAt(about, 520, 380);
      ASSERT_NE(close, nullptr);
      PostMessageA(close, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      PostMessageA(close, WM_LBUTTONUP, 0, 0);
    } else {
      PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);  // what Alt+F4 sends
    }
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(main_); }, kStepPolls)) << way;
  }
  PostMessageA(main_, WM_COMMAND, kCmdQuit, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(PlayerTest, HelpShowsItsContentsTopicInTheSecondaryWindow) {
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdHelp, 0);
  HWND help = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (help = ProcessWindow(player_.Id(), article::kTopicClass)) != nullptr; },
                      kStepPolls));
  // The window takes its caption once the topic is shown.
  EXPECT_TRUE(WaitFor([&] { return Caption(help) == kHelpCaption; }, kStepPolls)) << Caption(help);
  Screenshot(help, "help.png");
  // Help is shown beside the article: the main window's caption still names the article.
  EXPECT_EQ(Caption(main_).rfind("РОССИЯ — ", 0), 0u) << Caption(main_);
  EXPECT_EQ(Quit(), 0u);
}

// Whether a movie window's text, "time / duration", shows a movie that has played to its
// end (a movie that has not started shows "0:00 / ...").
bool MovieAtItsEnd(const std::string& text) {
  const size_t slash = text.find(" / ");
  return slash != std::string::npos && slash > 0 && text.compare(slash + 3, std::string::npos, text, 0, slash) == 0 &&
         text.substr(0, slash) != "0:00";
}

// One run of the player through every gallery and the article's movie.
TEST_F(PlayerTest, GalleriesPlayShowEnlargeAndJumpToTheirArticles) {
  ASSERT_TRUE(Start());
  const DWORD pid = player_.Id();
  const auto Opened = [&](const char* className, HWND* window) {
    return WaitFor([&] { return (*window = ProcessWindow(pid, className)) != nullptr; }, kStepPolls);
  };
  const auto Gone = [&](const char* className) {
    return WaitFor([&] { return ProcessWindow(pid, className) == nullptr; }, kStepPolls);
  };

  // The video gallery plays its first movie; Jump opens the article that shows it.
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdVideoGallery, 0);
  HWND gallery = nullptr, frame = nullptr;
  ASSERT_TRUE(Opened("GalleryDialog", &gallery));
  HWND list = FindWindowExA(gallery, nullptr, "ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
  Screenshot(gallery, "gallery-movies.png");
  PostMessageA(gallery, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  ASSERT_TRUE(Opened("VideoParentClass", &frame));
  PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(Gone("VideoParentClass"));
  PostMessageA(gallery, WM_COMMAND, 1, 0);
  EXPECT_TRUE(Gone("GalleryDialog"));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).find(" — ") != std::string::npos; }, kStepPolls)) << Caption(main_);

  // That article's movie through the video button.
  PostMessageA(main_, WM_COMMAND, kCmdVideo, 0);
  ASSERT_TRUE(Opened("VideoParentClass", &frame));
  HWND movie = FindWindowExA(frame, nullptr, "VideoClass", nullptr);
  ASSERT_NE(movie, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(movie); }, kStepPolls));
  // A click on the bar's play button starts it; it plays to its end, where the bar's time
  // (which the movie window's text repeats as "time / duration") reaches the duration.
  RECT client;
  GetClientRect(movie, &client);
  const qt::BarLayout bar = qt::LayoutBar(0, client.bottom - qt::kBarHeight, client.right);
  const LPARAM play = MAKELPARAM((bar.button.left + bar.button.right) / 2, (bar.button.top + bar.button.bottom) / 2);
  PostMessageA(movie, WM_LBUTTONDOWN, MK_LBUTTON, play);
  PostMessageA(movie, WM_LBUTTONUP, 0, play);
  std::string shown;
  EXPECT_TRUE(WaitFor([&] { return MovieAtItsEnd(shown = Caption(movie)); }, kStartPolls)) << shown;
  // A right click on the movie closes the window through its frame.
  PostMessageA(movie, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(Gone("VideoParentClass"));

  // The map gallery shows its map full-screen.
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdMapGallery, 0);
  ASSERT_TRUE(Opened("GalleryDialog", &gallery));
  Screenshot(gallery, "gallery-maps.png");
  PostMessageA(gallery, WM_COMMAND, 4006, 0);
  HWND popup = nullptr;
  EXPECT_TRUE(Opened("MV13PaneClass", &popup));
  PostMessageA(gallery, WM_COMMAND, 2, 0);
  EXPECT_TRUE(Gone("GalleryDialog"));
  if (popup) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);

  // The sound gallery's double click shows the sound topic with its player, which starts
  // on Space and goes with the popup.
  EXPECT_TRUE(Gone("MV13PaneClass"));
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdSoundGallery, 0);
  ASSERT_TRUE(Opened("GalleryDialog", &gallery));
  list = FindWindowExA(gallery, nullptr, "ListBox", nullptr);
  Screenshot(gallery, "gallery-sounds.png");
  PostMessageA(gallery, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  HWND player = nullptr;
  ASSERT_TRUE(Opened("MV13PaneClass", &popup));
  EXPECT_TRUE(WaitFor([&] { return (player = Descendant(popup, "SoundClass")) && IsWindowVisible(player); }, kStepPolls));
  if (player) PostMessageA(player, WM_KEYDOWN, VK_SPACE, 0);
  WaitFor([] { return false; }, 20);
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(player); }, kStepPolls));
  PostMessageA(gallery, WM_COMMAND, 2, 0);
  EXPECT_TRUE(Gone("GalleryDialog"));

  // The illustrations gallery enlarges the first picture and jumps to its article.
  PostMessageA(main_, WM_COMMAND, kCmdPictureGallery, 0);
  ASSERT_TRUE(Opened("SlidesGalleryDialog", &gallery));
  HWND panel = FindWindowExA(gallery, nullptr, "SlideForDlg", nullptr);
  HWND edit = FindWindowExA(gallery, nullptr, "Edit", nullptr);
  ASSERT_TRUE(panel && edit);
  char firstTitle[64] = {};
  GetWindowTextA(edit, firstTitle, sizeof firstTitle);
  Screenshot(gallery, "gallery-pictures.png");
  PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
  HWND enlarged = nullptr;
  ASSERT_TRUE(Opened("PopupClass", &enlarged));
  PostMessageA(enlarged, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Gone("PopupClass"));
  PostMessageA(gallery, WM_COMMAND, 1, 0);
  EXPECT_TRUE(Gone("SlidesGalleryDialog"));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(firstTitle, 0) == 0; }, kStepPolls)) << Caption(main_);
  EXPECT_EQ(CloseByCaptionButton(), 0u);
}

}  // namespace
}  // namespace kro::e2e
