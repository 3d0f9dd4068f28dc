#pragma once
// One program of the product run under random input: its configuration in the prefix, its
// process across restarts, its windows, a clean close and the state it leaves behind.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/Files_win.h"
#include "tests/support/Program_win.h"

namespace kro::randominput {

struct ProgramKind {
  const char* name;       // "player" or "archive"
  std::string exe;        // as the program under Wine sees it
  std::string disc;       // ProductDir, without the closing backslash
  const char* mainClass;  // the visible window that says start-up is over
  bool keepsState;        // bookmarks and last position in its working folder
};

class ProgramRun {
public:
  explicit ProgramRun(ProgramKind kind);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  const ProgramKind& Kind() const { return kind_; }
  // Starts the program and waits for its main window; false when it did not come up.
  bool Start();
  bool Running() const { return process_.Handle() && !process_.Exited(); }
  // The exit code of an ended program.
  DWORD ExitCode() { return process_.ExitCode(0); }
  HANDLE Process() const { return process_.Handle(); }
  DWORD ProcessId() const { return process_.Id(); }
  DWORD ThreadId() const { return process_.ThreadId(); }
  // Closes every window as a user would, the main one last, and waits for the end; false
  // when the program is still running after that.
  bool Close();
  // The state files read back by the program's own readers: empty when they load, else
  // what is wrong.
  std::string CheckState() const;
  const std::string& WorkFolder() const { return work_.Path(); }

private:
  void ConfigurePrefix();

  ProgramKind kind_;
  wintest::TemporaryFolder work_;
  wintest::ProgramProcess process_;
  std::vector<char> savedSection_;
  std::optional<DWORD> savedAutoRun_;
  std::optional<DWORD> savedCrashDialog_;
};

// The visible top-level windows of a process, in an order that does not depend on which
// one is in front: by class, caption and place.
std::vector<HWND> TopLevelWindows(DWORD processId);
std::string ClassOf(HWND hwnd);
std::string CaptionOf(HWND hwnd);

}  // namespace kro::randominput
