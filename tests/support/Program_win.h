#pragma once
// A program of the product started by an end-to-end test: its process, waits on its state,
// the configuration it reads and the message boxes it shows.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace kro::wintest {

// The program under test, ended by force when the owner goes while it still runs.
class ProgramProcess {
public:
  ProgramProcess() = default;
  ~ProgramProcess() { Forget(); }
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  // Starts `exe` (a path under Wine) with `arguments` in `folder` (empty: this program's
  // current folder); a running copy is forgotten first.
  bool Launch(const std::string& exe, const std::string& arguments = {}, const std::string& folder = {});
  // Polls `done` while the program runs, at most `polls` times (each waits on the process up
  // to kIdleRoundMs); stops early once it has ended.
  bool WaitFor(const std::function<bool()>& done, int polls) const;
  // Polls that only let the program work.
  void Idle(int polls) const;
  // A visible top-level window of the program's class, once it shows within `polls`.
  HWND Window(const char* className, int polls) const;
  bool Exited() const;
  // The exit code once the program has ended within `polls`, else 99.
  DWORD ExitCode(int polls);
  // Ends a still-running program and lets its handles go, ready for the next launch.
  void Forget();

  DWORD Id() const { return info_.dwProcessId; }
  DWORD ThreadId() const { return info_.dwThreadId; }
  HANDLE Handle() const { return info_.hProcess; }

private:
  PROCESS_INFORMATION info_{};
};

// Keys of the section Kro of kro97.ini, put back as they were (or removed) when the owner goes.
class SavedIniKeys {
public:
  SavedIniKeys(std::initializer_list<const char*> keys);
  ~SavedIniKeys();
  SavedIniKeys(const SavedIniKeys&) = delete;
  SavedIniKeys& operator=(const SavedIniKeys&) = delete;

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
// Writes one key of that section; a null value removes it.
void SetIni(const char* key, const char* value);

// The user's NoDriveTypeAutoRun value, which the player replaces while it runs.
DWORD AutoRun();
void SetAutoRun(DWORD value);

// A window's text; for another program's windows, as the system keeps it.
std::string TextOf(HWND hwnd);
// The message of a message box: the texts of its Static children that carry text, joined
// by line ends (the icon is a Static without text).
std::string BoxMessage(HWND box);

}  // namespace kro::wintest
