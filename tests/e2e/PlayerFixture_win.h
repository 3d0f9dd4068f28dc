#pragma once
// The real player.exe on the sample encyclopedia, started and driven from outside as a user
// would: the configuration it reads, its process, its windows and what they show.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/mediaview/core/Title.h"
#include "tests/support/Files_win.h"
#include "tests/support/Program_win.h"

namespace kro::e2e {

// Polls of the player's state (each waits on its process up to wintest::kIdleRoundMs): a
// cold start takes a few hundred, a step of the article view a few.
inline constexpr int kStartPolls = 6000;
inline constexpr int kStepPolls = 1000;
inline constexpr int kExitPolls = 3000;
// The value the user had, which the player must give back; 0xB5 while it runs.
inline constexpr DWORD kUserAutoRun = 0x91;
inline constexpr DWORD kRunningAutoRun = 0xB5;

// The bitmap buttons carry no control id: found by where their window puts them.
HWND ButtonAt(HWND parent, int x, int y);
// A click of the left button at a client point of another program's window, posted.
void PostClick(HWND window, POINT at);
// The texts of another program's list box, in order (Wine hands them back in UTF-16).
std::vector<std::string> ListTexts(HWND list);
// The scrolling pane of the main article (the one with a vertical scroll bar).
HWND ArticleBody(HWND main);

// Runs of link colour in a pane as the screen shows them, each as a screen rectangle:
// underlined ones are jumps to other articles, the others open popups.
struct LinkWord {
  RECT area;
  bool underlined;
};
std::vector<LinkWord> LinkWords(HWND pane);

class PlayerTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the player; Start also waits for its visible main window.
  bool Launch() { return player_.Launch(wintest::HostPath(KRO_PLAYER_EXE)); }
  bool Start();
  bool WaitFor(const std::function<bool()>& done, int polls) { return player_.WaitFor(done, polls); }
  HWND Window(const char* className) { return player_.Window(className, kStepPolls); }
  DWORD ExitCode() { return player_.ExitCode(kExitPolls); }
  // The main window's caption starts with the article's title.
  bool Shows(const std::string& title);
  // The close button of the caption strip, inside its border; answers the exit code.
  DWORD CloseByCaptionButton();
  DWORD Quit();
  // The title of the article with that context string in the sample title.
  std::string Named(const char* context) const;
  const mv::Title& SampleTitle() const { return *title_; }
  void Screenshot(HWND window, const char* name);

  wintest::SavedIniKeys savedIni_{"ProductDir", "Directory", "IsDisk2Exists", "ShowIntroduction"};
  wintest::TemporaryFolder work_;
  wintest::ProgramProcess player_;
  HWND main_ = nullptr;
  std::unique_ptr<mv::Title> title_;
};

}  // namespace kro::e2e
