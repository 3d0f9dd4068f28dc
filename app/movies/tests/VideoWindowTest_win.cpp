// The video window with the real movie service, on a small disc in a temporary folder
// whose marker files the tests add and remove as a user would swap discs.
#include "app/movies/VideoWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/movies/DiscPrompt.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/ProgramInstance.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::movies {
namespace {

std::string Media(const std::string& name) {
  return wintest::HostPath((name == "tall.mov" ? VIDEO_TEST_MEDIA "/" : QT_TEST_MEDIA "/") + name);
}

// One prompt as the conversation ran it, and the answer the user gives.
struct Prompt {
  int templateId;
  bool information;
  int mode;
  bool operator==(const Prompt&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Prompt& p) {
  return out << "{" << p.templateId << (p.information ? " information" : " yes/cancel") << " mode " << p.mode << "}";
}

struct Answer {
  INT_PTR result;
  void (*swapDiscs)() = nullptr;  // what the user does in the drive before answering
};

std::vector<Prompt> gPrompts;
std::vector<Answer> gAnswers;

INT_PTR ScriptedPrompt(int templateId, DLGPROC procedure) {
  gPrompts.push_back({templateId, procedure == DiscInformationProc, PromptMode()});
  if (gPrompts.size() > gAnswers.size()) return 0;  // a conversation the script did not expect ends
  const Answer& answer = gAnswers[gPrompts.size() - 1];
  if (answer.swapDiscs) answer.swapDiscs();
  return answer.result;
}

wintest::TemporaryFolder* gDisc = nullptr;

void PutFile(const char* name, const char* source) {
  CopyFileA(Media(source).c_str(), (*gDisc / name).c_str(), FALSE);
}
void Remove(const char* name) { DeleteFileA((*gDisc / name).c_str()); }
// The encyclopedia disc: its marker; the archive disc: its marker and the movie.
void InsertEncyclopedia() {
  Remove("movies\\ORBITAL.MOV");
  Remove("movies\\only_archive.mov");
  PutFile("sound.mov", "jpeg_silent_first.mov");
}
void InsertArchive() {
  Remove("sound.mov");
  PutFile("movies\\ORBITAL.MOV", "jpeg_silent_first.mov");
  PutFile("movies\\only_archive.mov", "jpeg_twos16_mono_first.mov");
}

class VideoWindowTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    QTInitialize(nullptr);
    EnterMovies();
    toolkit::SetProgramInstance(GetModuleHandleA(nullptr));
    RegisterVideoClasses(GetModuleHandleA(nullptr));
    toolkit::RegisterBitmapButtonClass(GetModuleHandleA(nullptr));
    wintest::RegisterTestClass("KroVideoOwner", OwnerProc);
  }
  static void TearDownTestSuite() {
    ExitMovies();
    QTTerminate();
  }
  void SetUp() override {
    gDisc = &disc_;
    CreateDirectoryA((disc_ / "movies").c_str(), nullptr);
    PutFile("movies\\river.mov", "jpeg_twos16_mono_first.mov");
    PutFile("movies\\tall.mov", "tall.mov");
    InsertEncyclopedia();
    gPrompts.clear();
    gAnswers.clear();
    gOwnerCommands.clear();
    Configure(true, true, false);
    owner_ = CreateWindowA("KroVideoOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (VideoFrame()) {
      Configure(false, false, false);  // no prompts while the test window goes
      DestroyWindow(VideoFrame());
    }
    DestroyWindow(owner_);
    SetDiscPresentFlag(true);
    gDisc = nullptr;
  }
  void Configure(bool conversation, bool secondDisc, bool stepButtons) {
    SetVideoSettings({.productDir = disc_.Path() + "\\",
                      .discConversation = conversation,
                      .secondDisc = secondDisc,
                      .stepButtons = stepButtons,
                      .deviceAndPalette = conversation,
                      .runPrompt = ScriptedPrompt});
  }
  std::string Movie(const char* name) const { return disc_ / (std::string("movies\\") + name); }
  static RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static std::string Text(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  static HWND Line(int top) {
    for (HWND child = GetWindow(VideoFrame(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (ChildRect(child).top == top) return child;
    return nullptr;
  }
  static bool Closed() { return VideoFrame() == nullptr; }
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) gOwnerCommands.push_back(LOWORD(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  static inline std::vector<int> gOwnerCommands;
  wintest::TemporaryFolder disc_;
  HWND owner_{};
};

TEST_F(VideoWindowTest, ShowsTheStoppedMovieBetweenItsTitleAndCaption) {
  ASSERT_EQ(OpenVideoWindow(Movie("river.mov").c_str(), owner_, "Волга", "Путь реки к морю"), 1);
  RECT frame;
  GetWindowRect(VideoFrame(), &frame);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 420) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 360) / 2);
  EXPECT_EQ(frame.right - frame.left, 420);
  EXPECT_EQ(frame.bottom - frame.top, 330);
  EXPECT_TRUE(IsWindowVisible(VideoFrame()));
  EXPECT_FALSE(IsWindowEnabled(owner_));

  const RECT movie = ChildRect(MovieWindow());
  EXPECT_EQ(movie.left, 50);
  EXPECT_EQ(movie.top, 22);
  EXPECT_GE(movie.bottom - movie.top, 48);  // the movie and the controller bar under it
  const int h = movie.bottom - movie.top;
  HWND caption = Line(h + 24);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(Text(caption), "Путь реки к морю");
  EXPECT_EQ(ChildRect(caption).bottom - ChildRect(caption).top, 330 - (h + 26));
  ASSERT_NE(Line(4), nullptr);
  EXPECT_EQ(Text(Line(4)), "Волга");

  // It waits for the user; Space on the movie (keyboard on) starts it, and it runs out.
  wintest::PumpRounds(20);
  EXPECT_EQ(GetMovieTime(CurrentMovie(), nullptr), 0u);
  wintest::PressKey(MovieWindow(), VK_SPACE);
  EXPECT_TRUE(wintest::PumpUntil(
      [] { return GetMovieTime(CurrentMovie(), nullptr) >= GetMovieDuration(CurrentMovie()); }, 5000));

  wintest::PressKey(VideoFrame(), VK_ESCAPE);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(CurrentMovie(), 0u);
  EXPECT_EQ(CurrentController(), 0u);
  EXPECT_TRUE(gPrompts.empty());
}

TEST_F(VideoWindowTest, TitleAndCaptionAreCutToTheirLines) {
  const std::string title(500, 'T'), caption(400, 'c');
  ASSERT_EQ(OpenVideoWindow(Movie("river.mov").c_str(), owner_, title, caption), 1);
  EXPECT_EQ(Text(Line(4)).size(), kMaxMovieTitle);
  const int h = ChildRect(MovieWindow()).bottom - ChildRect(MovieWindow()).top;
  EXPECT_EQ(Text(Line(h + 24)).size(), kMaxMovieCaption);
}

TEST_F(VideoWindowTest, ATallMovieLeavesTheCaptionLessRoom) {
  ASSERT_EQ(OpenVideoWindow(Movie("tall.mov").c_str(), owner_, "", "Подпись"), 1);
  const int h = ChildRect(MovieWindow()).bottom - ChildRect(MovieWindow()).top;
  ASSERT_GT(h, 200);
  HWND caption = Line(h + 24);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(ChildRect(caption).bottom - ChildRect(caption).top, std::max(0, 330 - (h + 26)));
}

TEST_F(VideoWindowTest, ARightClickOnTheMovieClosesTheFrame) {
  ASSERT_EQ(OpenVideoWindow(Movie("river.mov").c_str(), owner_, "", ""), 1);
  SendMessageA(MovieWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(wintest::PumpUntil(Closed, 50));
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(VideoWindowTest, WithoutASecondDiscAMissingMovieOnlyTellsWhereItIs) {
  Configure(true, false, false);
  EXPECT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 0);
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{294, true, kAskForArchive}}));
  EXPECT_EQ(PromptMode(), kAskForEncyclopedia);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(VideoWindowTest, AMovieOfTheArchiveDiscPlaysOnceThatDiscIsIn) {
  gAnswers = {{1, InsertArchive}};
  EXPECT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 1);
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{294, false, kAskForArchive}}));
  EXPECT_NE(CurrentMovie(), 0u);
}

TEST_F(VideoWindowTest, CancellingTheArchiveDiscEndsWithTheUsersOwnDiscIn) {
  // Cancel with the encyclopedia disc still in: nothing more is asked.
  gAnswers = {{0}};
  EXPECT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 0);
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{294, false, kAskForArchive}}));
  EXPECT_TRUE(Closed());

  // The user took his disc out first: he is asked for it back, and cancelling that asks
  // for the archive disc again, where he gives up with his disc back in.
  gPrompts.clear();
  Remove("sound.mov");
  gAnswers = {{0}, {0}, {0, InsertEncyclopedia}};
  EXPECT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 0);
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{294, false, kAskForArchive},
                                           {295, false, kAskForEncyclopedia},
                                           {294, false, kAskForArchive}}));
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(VideoWindowTest, ClosingWithTheArchiveDiscInAsksForTheEncyclopediaDisc) {
  gAnswers = {{1, InsertArchive}, {0}};
  ASSERT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 1);
  // Cancelling the prompt for the encyclopedia disc keeps the movie on show.
  wintest::PressKey(VideoFrame(), VK_ESCAPE);
  ASSERT_FALSE(Closed());
  EXPECT_TRUE(IsWindowVisible(MovieWindow()));
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{294, false, kAskForArchive}, {295, false, kAskForEncyclopedia}}));

  // Yes without the disc asks again; with it the window closes.
  gPrompts.clear();
  gAnswers = {{1}, {1, InsertEncyclopedia}};
  SendMessageA(VideoFrame(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{295, false, kAskForEncyclopedia}, {295, false, kAskForEncyclopedia}}));
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(VideoWindowTest, ClosingWithNoDiscAtAllAsksForOneOrTheOther) {
  gAnswers = {{1, InsertArchive}};
  ASSERT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 1);
  Remove("movies\\ORBITAL.MOV");
  // Cancel the encyclopedia disc, then the archive disc, then put the encyclopedia back.
  gPrompts.clear();
  gAnswers = {{0}, {0}, {1, InsertEncyclopedia}};
  SendMessageA(VideoFrame(), WM_RBUTTONDOWN, 0, 0);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(gPrompts, (std::vector<Prompt>{{295, false, kAskForEncyclopedia},
                                           {294, false, kAskForArchive},
                                           {295, false, kAskForEncyclopedia}}));
}

TEST_F(VideoWindowTest, DriveNoticesMoveTheDiscFlag) {
  ASSERT_EQ(OpenVideoWindow(Movie("river.mov").c_str(), owner_, "", ""), 1);
  SendMessageA(VideoFrame(), WM_DEVICECHANGE, 0x8004, 0);
  EXPECT_FALSE(DiscPresentFlag());
  SendMessageA(VideoFrame(), WM_DEVICECHANGE, 0x8000, 0);
  EXPECT_TRUE(DiscPresentFlag());
}

// The archive's form: no prompts, an empty frame for a movie that does not open, and the
// stepping buttons whose commands go to the owner.
TEST_F(VideoWindowTest, TheArchiveFormStepsThroughMoviesWithoutPrompts) {
  Configure(false, false, true);
  EXPECT_EQ(OpenVideoWindow(Movie("only_archive.mov").c_str(), owner_, "", ""), 0);
  EXPECT_TRUE(gPrompts.empty());
  ASSERT_FALSE(Closed());
  EXPECT_TRUE(IsWindowVisible(VideoFrame()));
  EXPECT_EQ(MovieWindow(), nullptr);
  wintest::PressKey(VideoFrame(), VK_ESCAPE);
  EXPECT_TRUE(Closed());

  ASSERT_EQ(OpenVideoWindow(Movie("river.mov").c_str(), owner_, "Первый", ""), 1);
  SetStepButtons(false, true);
  HWND previous = nullptr, next = nullptr;
  for (HWND child = GetWindow(VideoFrame(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ChildRect(child).top != 300) continue;
    (ChildRect(child).left == 0 ? previous : next) = child;
  }
  ASSERT_NE(previous, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 0);
  EXPECT_NE(SendMessageA(next, BM_GETSTATE, 0, 0), 0);
  SendMessageA(VideoFrame(), WM_COMMAND, kNextMovieCommand, reinterpret_cast<LPARAM>(next));
  EXPECT_TRUE(wintest::PumpUntil([] { return !gOwnerCommands.empty(); }, 20));
  EXPECT_EQ(gOwnerCommands, std::vector<int>{kNextMovieCommand});

  EXPECT_TRUE(ReplaceMovie(Movie("tall.mov").c_str(), "Второй", "Подпись"));
  EXPECT_EQ(Text(Line(4)), "Второй");
  EXPECT_NE(CurrentMovie(), 0u);
  EXPECT_FALSE(ReplaceMovie(Movie("missing.mov").c_str(), "", ""));
  EXPECT_EQ(CurrentMovie(), 0u);
}

// The prompts themselves, as DialogBoxParamA runs them from the templates: the test sees
// the dialog once the prompt's procedure has initialised it.
DLGPROC gPromptProcedure = nullptr;
std::function<void(HWND)> gOnDialog;

INT_PTR CALLBACK Watched(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const INT_PTR result = gPromptProcedure(dialog, message, wParam, lParam);
  if (message == WM_INITDIALOG && gOnDialog) std::exchange(gOnDialog, nullptr)(dialog);
  return result;
}

INT_PTR RunDialog(int templateId, DLGPROC procedure, std::function<void(HWND)> onOpen) {
  gPromptProcedure = procedure;
  gOnDialog = std::move(onOpen);
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, Watched, 0);
}

int ChildCount(HWND dialog) {
  int count = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
  return count;
}

TEST_F(VideoWindowTest, TheYesCancelPromptWaitsForADisc) {
  SetDiscPresentFlag(false);
  bool enabledAtStart = true;
  SIZE size{};
  int buttons = 0;
  const INT_PTR result = RunDialog(kDiscPromptTemplate, DiscPromptProc, [&](HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    size = {r.right - r.left, r.bottom - r.top};
    enabledAtStart = IsWindowEnabled(dialog);
    buttons = ChildCount(dialog);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // ignored: no disc in the drive
    // Drive notices carry pointers and cannot be posted.
    SendMessageA(dialog, WM_DEVICECHANGE, 0x8000, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(enabledAtStart);
  EXPECT_EQ(size.cx, 250);
  EXPECT_EQ(size.cy, 150);
  EXPECT_EQ(buttons, 2);
  EXPECT_TRUE(DiscPresentFlag());

  EXPECT_EQ(RunDialog(kArchivePromptTemplate, DiscPromptProc,
                      [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }),
            0);
}

TEST_F(VideoWindowTest, TheInformationPromptHasOneButtonAndEndsOnEnter) {
  int buttons = 0;
  EXPECT_EQ(RunDialog(kArchivePromptTemplate, DiscInformationProc, [&](HWND dialog) {
              buttons = ChildCount(dialog);
              PostMessageA(dialog, WM_KEYUP, VK_RETURN, 0);
            }),
            0);
  EXPECT_EQ(buttons, 1);
}

}  // namespace
}  // namespace kro::movies
