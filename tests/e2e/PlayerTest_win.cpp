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
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro {
namespace {

constexpr const char* kAutoRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr DWORD kUserAutoRun = 0x91;
using wintest::Descendant;
using wintest::HostPath;
using wintest::ProcessWindow;
using namespace shell;  // the commands and window classes

// Polls of the player's state (each waits on its process up to wintest::kIdleRoundMs): a
// cold start takes a few hundred, a step of the article view a few.
constexpr int kStartPolls = 6000;
constexpr int kStepPolls = 1000;
constexpr int kExitPolls = 3000;

void SetAutoRun(DWORD value) {
  HKEY key;
  RegCreateKeyA(HKEY_CURRENT_USER, kAutoRunKey, &key);
  RegSetValueExA(key, "NoDriveTypeAutoRun", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

DWORD AutoRun() {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, kAutoRunKey, "NoDriveTypeAutoRun", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

std::string Caption(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The bitmap buttons carry no control id: find them by where the toolbar puts them.
HWND ButtonAt(HWND main, int x, int y) {
  POINT point{x + 2, y + 2};
  return ChildWindowFromPointEx(main, point, CWP_SKIPINVISIBLE);
}

class PlayerTest : public testing::Test {
protected:
  // The prefix's kro97.ini belongs to the run command too: its keys are put back afterwards.
  static constexpr const char* kKeys[] = {"ProductDir", "Directory", "IsDisk2Exists", "ShowIntroduction"};
  void SetUp() override {
    for (const char* key : kKeys) {
      char value[512] = {};
      const DWORD length = GetPrivateProfileStringA("Kro", key, "\x01", value, sizeof value, "kro97.ini");
      savedIni_.emplace_back(length == 1 && value[0] == '\x01' ? std::nullopt : std::optional<std::string>(value));
    }
    WritePrivateProfileStringA("Kro", nullptr, nullptr, "kro97.ini");
    WritePrivateProfileStringA("Kro", "ProductDir", HostPath(KRO_PRODUCT_DIR).c_str(), "kro97.ini");
    WritePrivateProfileStringA("Kro", "Directory", work_.Path().c_str(), "kro97.ini");
    WritePrivateProfileStringA("Kro", "IsDisk2Exists", "1", "kro97.ini");
    WritePrivateProfileStringA("Kro", "ShowIntroduction", "0", "kro97.ini");
    SetAutoRun(kUserAutoRun);
    // The run command puts the dialogs' raster font into the working directory.
    CopyFileA(HostPath(KRO_PRODUCT_DIR "/cdp.fon").c_str(), (work_ / "cdp.fon").c_str(), FALSE);
  }

  bool Launch() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + HostPath(KRO_PLAYER_EXE) + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
      return false;
    CloseHandle(process_.hThread);
    return true;
  }
  // Polls `done` while the player runs, at most `polls` times.
  bool WaitFor(const std::function<bool()>& done, int polls) { return wintest::WaitUntil(done, polls, process_.hProcess); }
  bool Start() {
    return Launch() &&
           WaitFor([&] { return (main_ = FindWindowA(kMainWindowClass, nullptr)) && IsWindowVisible(main_); }, kStartPolls);
  }
  bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() {
    if (!WaitFor([&] { return Exited(); }, kExitPolls)) return 99;
    DWORD exitCode = 99;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (!Exited()) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
    }
    for (size_t i = 0; i < savedIni_.size(); ++i)
      WritePrivateProfileStringA("Kro", kKeys[i], savedIni_[i] ? savedIni_[i]->c_str() : nullptr, "kro97.ini");
  }

  std::vector<std::optional<std::string>> savedIni_;
  wintest::TemporaryFolder work_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

TEST_F(PlayerTest, OpensTheStartArticleStepsToTheNextAndClosesCleanly) {
  const auto opened = mv::Title::OpenFile(HostPath(KRO_PRODUCT_DIR "/kro.m14"), {});
  ASSERT_TRUE(opened) << opened.error().ToString();
  const auto& title = *opened;
  const uint32_t start = title->TopicByContext("topic_ros14");
  const uint32_t next = title->BrowseNext(start);
  const auto Named = [&](uint32_t topic) { return std::string(title->TopicTitle(topic).value_or("?")); };
  ASSERT_NE(next, mv::kNone);

  ASSERT_TRUE(Start());
  EXPECT_EQ(AutoRun(), 0xB5u);  // AutoRun is off while the program runs
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, kStepPolls))
      << Caption(main_);
  const HWND previous = ButtonAt(main_, 560, 421);
  const HWND nextButton = ButtonAt(main_, 590, 421);
  ASSERT_TRUE(previous && nextButton);

  PostMessageA(main_, WM_COMMAND, kCmdNext, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(next)), 0) == 0; }, kStepPolls))
      << Caption(main_);
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(nextButton, BM_GETSTATE, 0, 0), title->BrowseNext(next) != mv::kNone ? 1 : 0);
  PostMessageA(main_, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, kStepPolls));

  // The close button of the caption strip, inside its border.
  RECT window;
  GetWindowRect(main_, &window);
  PostMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 628, window.top + 10));
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
  EXPECT_TRUE(FileExists(work_ / "last.tmp"));
}

TEST_F(PlayerTest, MissingProductDirEndsWithTheReinstallMessageAndRestoresAutoRun) {
  WritePrivateProfileStringA("Kro", "ProductDir", nullptr, "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Ошибка")) != nullptr; }, kStartPolls));
  EXPECT_EQ(AutoRun(), 0xB5u);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

TEST_F(PlayerTest, DeclinedDiscPromptEndsWithOneAndRestoresAutoRun) {
  const wintest::TemporaryFolder empty;
  WritePrivateProfileStringA("Kro", "ProductDir", empty.Path().c_str(), "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (prompt = ProcessWindow(process_.dwProcessId, "#32770")) != nullptr; }, kStartPolls));
  EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);  // no main window before the disc
  PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

TEST_F(PlayerTest, DamagedTitleIsRefusedWithItsMessage) {
  const wintest::TemporaryFolder disc;
  ASSERT_TRUE(wintest::WriteTextFile(disc / "kro.m14", "not a title at all"));
  WritePrivateProfileStringA("Kro", "ProductDir", disc.Path().c_str(), "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Ошибка")) != nullptr; }, kStartPolls));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

// The disc docs/authoring.md makes from an empty folder, built in the native tree.
TEST_F(PlayerTest, ReadsTheDiscOfTheAuthoringGuide) {
  WritePrivateProfileStringA("Kro", "ProductDir", HostPath(KRO_GUIDE_DISC).c_str(), "kro97.ini");
  WritePrivateProfileStringA("Kro", "IsDisk2Exists", "0", "kro97.ini");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind("РЕКИ И ОЗЁРА", 0) == 0; }, kStepPolls)) << Caption(main_);
  // Browse order is title order: the start article is last, the one before it ВОЛГА.
  PostMessageA(main_, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind("ВОЛГА", 0) == 0; }, kStepPolls)) << Caption(main_);
  RECT window;
  GetWindowRect(main_, &window);
  PostMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 628, window.top + 10));
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(PlayerTest, FindsArticlesByContentsAndSearchAndExportsTheResults) {
  const auto opened = mv::Title::OpenFile(HostPath(KRO_PRODUCT_DIR "/kro.m14"), {});
  ASSERT_TRUE(opened) << opened.error().ToString();
  const auto& title = *opened;
  ASSERT_TRUE(Start());
  const DWORD pid = process_.dwProcessId;
  HWND contents = nullptr;
  PostMessageA(main_, WM_COMMAND, kCmdContents, 0);
  ASSERT_TRUE(WaitFor([&] { return (contents = ProcessWindow(pid, "IndexDialog")) != nullptr; }, kStepPolls));
  const HWND list = FindWindowExA(contents, nullptr, "VirtualListBox", nullptr);
  const HWND prefix = FindWindowExA(contents, nullptr, "Edit", nullptr);
  ASSERT_TRUE(list && prefix);
  const LRESULT total = SendMessageA(list, WM_USER + 505, 0, 0);  // count
  EXPECT_GT(total, 100);
  // By prefix: the entry named by the typed start.
  SetWindowTextA(prefix, "Волг");
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, WM_USER + 502, 0, 0) > 0; }, kStepPolls));
  const uint32_t volga = title->TopicByContext("topic_volga");
  EXPECT_EQ(SendMessageA(list, WM_USER + 502, 0, 0), static_cast<LRESULT>(volga));
  // By two categories (rivers and lakes), as the category list reports the ticks.
  for (int id : {4, 5}) SendMessageA(contents, WM_USER + 100, id, 1);
  SendMessageA(contents, WM_USER + 106, WM_USER + 100, 0);
  const LRESULT both = SendMessageA(list, WM_USER + 505, 0, 0);
  EXPECT_GT(both, 1);
  EXPECT_LT(both, total);
  SetForegroundWindow(contents);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == contents; }, kStepPolls));
  PostMessageA(prefix, WM_KEYDOWN, VK_ESCAPE, 1);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(contents); }, kStepPolls));

  // A search for another form of a word, opened with the word highlighted on screen.
  HWND search = nullptr;
  PostMessageA(main_, WM_COMMAND, kCmdSearch, 0);
  ASSERT_TRUE(WaitFor([&] { return (search = ProcessWindow(pid, "SearchDialog")) != nullptr; }, kStepPolls));
  const HWND combo = FindWindowExA(search, nullptr, "ComboBox", nullptr);
  SendMessageA(FindWindowExA(search, nullptr, "Button", nullptr), BM_CLICK, 0, 0);  // every form of the word
  // The dialog keys serve the active dialog, as the reader's click makes it.
  SetForegroundWindow(search);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == search; }, kStepPolls));
  const HWND edit = GetWindow(combo, GW_CHILD);
  for (const char c : std::string("Волгой")) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  HWND results = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (results = ProcessWindow(pid, "SearchResultsDialog")) != nullptr; }, kStepPolls));
  const HWND found = FindWindowExA(results, nullptr, "ListBox", nullptr);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(found, LB_GETCOUNT, 0, 0) > 0; }, kStepPolls));
  std::vector<std::string> titles;
  for (LRESULT i = 0; i < SendMessageA(found, LB_GETCOUNT, 0, 0); ++i) {
    // Between processes the list box's text comes back in UTF-16.
    wchar_t wide[256] = {};
    char text[256] = {};
    SendMessageW(found, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(1251, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    titles.emplace_back(text);
  }
  SetForegroundWindow(results);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == results; }, kStepPolls));
  PostMessageA(found, WM_KEYDOWN, VK_F9, 1);
  EXPECT_TRUE(WaitFor([&] { return FileExists(work_ / "lsttxt0"); }, kStepPolls));
  std::string expected;
  for (const auto& t : titles) expected += t + "\r\n";
  const auto exported = ReadWholeFile(work_ / "lsttxt0");
  ASSERT_TRUE(exported);
  EXPECT_EQ(std::string(exported->begin(), exported->end()), expected);

  PostMessageA(found, WM_KEYDOWN, VK_RETURN, 1);  // opens the first found article
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(results); }, kStepPolls));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(titles[0], 0) == 0; }, kStepPolls)) << Caption(main_);
  HWND pane = nullptr;
  for (HWND area = FindWindowExA(main_, nullptr, kArticleAreaClass, nullptr), topic = GetWindow(area, GW_CHILD);
       topic && !pane; topic = GetWindow(topic, GW_HWNDNEXT))
    for (HWND child = GetWindow(topic, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetWindowLongA(child, GWL_STYLE) & WS_VSCROLL) pane = child;
  ASSERT_TRUE(pane);
  // The marker colour under the found word, somewhere in the article's view.
  RECT view;
  GetWindowRect(pane, &view);
  int marked = 0;
  ASSERT_TRUE(WaitFor([&] {
    const HDC screen = GetDC(nullptr);
    marked = 0;
    for (int y = view.top; y < view.bottom; y += 2)
      for (int x = view.left; x < view.right; x += 2) marked += GetPixel(screen, x, y) == RGB(246, 218, 120);
    ReleaseDC(nullptr, screen);
    return marked > 5;
  }, kStepPolls)) << marked;
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
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
  PostMessageA(main_, WM_COMMAND, kCmdArticleView, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(area) && !IsWindowVisible(box); }, kStepPolls));
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(PlayerTest, TheTimelineOpensFromTheStartScreenAndAClickReadsItsArticle) {
  const auto opened = mv::Title::OpenFile(HostPath(KRO_PRODUCT_DIR "/kro.m14"), {});
  ASSERT_TRUE(opened) << opened.error().ToString();
  const auto bytes = ReadWholeFile(HostPath(KRO_PRODUCT_DIR "/timeline/timeline.rhs"));
  ASSERT_TRUE(bytes);
  const auto regions = timeline::ParseRegions(*bytes);
  ASSERT_TRUE(regions && !regions->empty());
  const timeline::Region& first = regions->front();  // the leftmost, in view at the start
  const std::string article(
      (*opened)->TopicTitle((*opened)->TopicByContext(first.context)).value_or("?"));

  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  PostMessageA(main_, WM_COMMAND, kCmdTimeline, 0);
  HWND frame = nullptr, strip = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        frame = ProcessWindow(process_.dwProcessId, timeline::kTimelineFrameClass);
        strip = frame ? FindWindowExA(frame, nullptr, timeline::kTimelineStripClass, nullptr) : nullptr;
        return strip && IsWindowVisible(strip);
      },
      kStepPolls));
  EXPECT_FALSE(IsWindowEnabled(main_));
  const LPARAM point = MAKELPARAM(first.left + 10, (first.top + first.bottom) / 2);
  PostMessageA(strip, WM_MOUSEMOVE, 0, point);
  PostMessageA(strip, WM_LBUTTONUP, 0, point);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(frame) && IsWindowEnabled(main_); }, kStepPolls));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(article, 0) == 0; }, kStepPolls)) << Caption(main_);
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(PlayerTest, ACancelledPrintDialogPrintsNothingAndSaysNothing) {
  ASSERT_FALSE(article::test::TestPrinter().empty());
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdPrint, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = ProcessWindow(process_.dwProcessId, "#32770")) != nullptr; }, kStepPolls));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, kStepPolls));
  // Some rounds of the player's loop in which a message box would have come up.
  EXPECT_FALSE(WaitFor([&] { return ProcessWindow(process_.dwProcessId, "#32770") != nullptr; }, 50));
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

// --- the logo, About and help ----------------------------------------------------------

class PlayerLogoTest : public PlayerTest {
protected:
  // Starts with the introduction on; true once the logo shows and the main window exists,
  // still hidden.
  bool StartWithLogo() {
    WritePrivateProfileStringA("Kro", "ShowIntroduction", "1", "kro97.ini");
    return Launch() && WaitFor([&] { return (logo_ = ProcessWindow(process_.dwProcessId, kLogoClass)) != nullptr; },
                               kStartPolls) &&
           (main_ = FindWindowA(kMainWindowClass, nullptr)) != nullptr && !IsWindowVisible(main_);
  }
  bool ArticleViewRevealed() { return !IsWindow(logo_) && IsWindowVisible(main_); }
  void Quit() {
    PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
    EXPECT_EQ(ExitCode(), 0u);
  }
  HWND logo_ = nullptr;
};

TEST_F(PlayerLogoTest, OtherKeysLeaveTheLogoOnAndEscEndsIt) {
  ASSERT_TRUE(StartWithLogo());
  for (WPARAM key : {WPARAM{'A'}, WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) PostMessageA(logo_, WM_KEYDOWN, key, 0);
  EXPECT_FALSE(WaitFor([&] { return ArticleViewRevealed(); }, 20));
  EXPECT_TRUE(IsWindowVisible(logo_));
  PostMessageA(logo_, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStepPolls));
  Quit();
}

TEST_F(PlayerLogoTest, AClickEndsTheLogo) {
  ASSERT_TRUE(StartWithLogo());
  PostMessageA(logo_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStepPolls));
  Quit();
}

TEST_F(PlayerLogoTest, TheLogoEndsWithItsMovie) {
  ASSERT_TRUE(StartWithLogo());
  RECT logo;
  GetWindowRect(logo_, &logo);
  EXPECT_GT(logo.right - logo.left, 10);  // sized to the movie
  // The movie lasts seconds; the wait allows for them and the polling of its end.
  EXPECT_TRUE(WaitFor([&] { return ArticleViewRevealed(); }, kStartPolls));
  Quit();
}

TEST_F(PlayerTest, AboutShowsTheCreditsPaneAndClosesByItsButtonAndByAltF4) {
  ASSERT_TRUE(Start());
  PostMessageA(main_, WM_COMMAND, kCmdStartScreen, 0);
  for (int way = 0; way < 2; ++way) {
    PostMessageA(main_, WM_COMMAND, kCmdAbout, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = ProcessWindow(process_.dwProcessId, kAboutClass)) != nullptr; }, kStepPolls));
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
  ASSERT_TRUE(WaitFor([&] { return (help = ProcessWindow(process_.dwProcessId, article::kTopicClass)) != nullptr; },
                      kStepPolls));
  // The window takes its caption once the topic is shown.
  EXPECT_TRUE(WaitFor([&] { return Caption(help) == kHelpCaption; }, kStepPolls)) << Caption(help);
  // Help is shown beside the article: the main window's caption still names the article.
  EXPECT_EQ(Caption(main_).rfind("РОССИЯ — ", 0), 0u) << Caption(main_);
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
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
  const DWORD pid = process_.dwProcessId;
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
  PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
  HWND enlarged = nullptr;
  ASSERT_TRUE(Opened("PopupClass", &enlarged));
  PostMessageA(enlarged, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Gone("PopupClass"));
  PostMessageA(gallery, WM_COMMAND, 1, 0);
  EXPECT_TRUE(Gone("SlidesGalleryDialog"));
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(firstTitle, 0) == 0; }, kStepPolls)) << Caption(main_);

  RECT window;
  GetWindowRect(main_, &window);
  PostMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 628, window.top + 10));
  EXPECT_EQ(ExitCode(), 0u);
}

// Whether another process's list box holds exactly `items`, in order. Its texts are asked
// for by search: Wine hands LB_GETTEXT across processes back in UTF-16.
bool ListHolds(HWND list, const std::vector<std::string>& items) {
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(items.size())) return false;
  for (size_t i = 0; i < items.size(); ++i)
    if (SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(items[i].c_str())) !=
        static_cast<LRESULT>(i))
      return false;
  return true;
}

// A reader's session: a link, the enlarged picture, a bookmark, the history; and the next
// start, which comes back to the article read last, at its top, with the bookmark kept.
TEST_F(PlayerTest, ReadsByALinkEnlargesItsPictureKeepsABookmarkAndComesBackToIt) {
  const auto opened = mv::Title::OpenFile(HostPath(KRO_PRODUCT_DIR "/kro.m14"), {});
  ASSERT_TRUE(opened) << opened.error().ToString();
  const auto Named = [&](const char* context) {
    return std::string((*opened)->TopicTitle((*opened)->TopicByContext(context)).value_or("?"));
  };
  const std::string start = Named("topic_ros14"), linked = Named("topic_kaliningrad");
  ASSERT_TRUE(Start());
  ASSERT_TRUE(WaitFor([&] { return Caption(main_).rfind(start, 0) == 0; }, kStepPolls));

  // The link "Калининграде" in the first lines of the start article.
  RECT window;
  GetWindowRect(main_, &window);
  const POINT link{window.left + 563, window.top + 324};
  const HWND pane = WindowFromPoint(link);
  ASSERT_TRUE(pane);
  POINT local = link;
  ScreenToClient(pane, &local);
  PostMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  PostMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  ASSERT_TRUE(WaitFor([&] { return Caption(main_).rfind(linked, 0) == 0; }, kStepPolls)) << Caption(main_);

  // The picture, enlarged: its own pixels on the screen, not a black frame.
  const HWND slide = FindWindowExA(main_, nullptr, kSlideWindowClass, nullptr);
  ASSERT_TRUE(slide);
  PostMessageA(slide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 100));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = ProcessWindow(process_.dwProcessId, "PopupClass")) != nullptr; }, kStepPolls));
  EXPECT_FALSE(IsWindowEnabled(main_));
  RECT picture;
  GetWindowRect(popup, &picture);
  WaitFor([] { return false; }, 20);  // let it paint
  // Read from the screen as the program draws it.
  int dark = 0;
  {
    const HDC screen = GetDC(nullptr);
    for (int i = 1; i <= 9; ++i)
      for (int j = 1; j <= 9; ++j) {
        const COLORREF c = GetPixel(screen, picture.left + (picture.right - picture.left) * i / 10,
                                    picture.top + (picture.bottom - picture.top - 27) * j / 10);
        dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 24;
      }
    ReleaseDC(nullptr, screen);
  }
  EXPECT_LT(dark, 40) << "the enlarged picture is black on the screen";
  const HWND caption = FindWindowExA(popup, nullptr, "Edit", nullptr);
  ASSERT_TRUE(caption);
  PostMessageA(caption, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(popup) && IsWindowEnabled(main_); }, kStepPolls));

  // A bookmark named in its field, added with Enter, the dialog closed with Esc.
  PostMessageA(main_, WM_COMMAND, kCmdBookmarks, 0);
  HWND marks = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (marks = ProcessWindow(process_.dwProcessId, "BookmarkDialog")) != nullptr; },
                      kStepPolls));
  const HWND field = Descendant(marks, "Edit");
  ASSERT_TRUE(field);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Янтарный край"));
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([&] { return Descendant(marks, "ListBox") != nullptr; }, kStepPolls));
  PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(marks); }, kStepPolls));

  // The way lists what was read, newest first.
  PostMessageA(main_, WM_COMMAND, kCmdHistory, 0);
  HWND way = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (way = ProcessWindow(process_.dwProcessId, "HistoryDialog")) != nullptr; },
                      kStepPolls));
  EXPECT_TRUE(ListHolds(Descendant(way, "ListBox"), {start}));
  PostMessageA(way, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(way); }, kStepPolls));

  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  ASSERT_EQ(ExitCode(), 0u);
  CloseHandle(process_.hProcess);
  process_ = {};

  ASSERT_TRUE(Start());
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(linked, 0) == 0; }, kStepPolls)) << Caption(main_);
  const HWND body = WindowFromPoint(link);
  ASSERT_TRUE(body);
  EXPECT_EQ(GetScrollPos(body, SB_VERT), 0);  // at its top
  PostMessageA(main_, WM_COMMAND, kCmdBookmarks, 0);
  ASSERT_TRUE(WaitFor([&] { return (marks = ProcessWindow(process_.dwProcessId, "BookmarkDialog")) != nullptr; },
                      kStepPolls));
  EXPECT_TRUE(ListHolds(Descendant(marks, "ListBox"), {"Янтарный край"}));
  PostMessageA(marks, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(marks); }, kStepPolls));
  PostMessageA(main_, WM_COMMAND, kCmdExit, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

}  // namespace
}  // namespace kro
