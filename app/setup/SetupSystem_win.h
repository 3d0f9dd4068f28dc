#pragma once
// The installer's dealings with the system: the folders it reads and makes, the
// kro97.ini it writes, its uninstall record in the registry and its Start-menu shortcuts.
// Each call reports failure with the system's error code; nothing here asks the user.
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/setup/SetupPlan.h"

namespace kro::setup {

// A step that failed: what it worked on and GetLastError's (or the registry's) code.
struct Failure {
  std::string what;
  DWORD code = 0;
};
using Outcome = std::optional<Failure>;  // nullopt: done

std::string ModuleDir();
std::string WindowsDir();
std::string IniPath();
// CSIDL folders: the common application data and the common Start-menu programs.
std::string CommonFolder(int csidl);
std::vector<std::string> CdRoots();
bool IsFile(const std::string& path);
bool HasMarkers(const std::string& dir, std::span<const char* const> markers);
// The first candidate holding every marker, or "".
std::string FindDisc(const std::vector<std::string>& candidates, std::span<const char* const> markers);
// The programs' folder beside the installer that suits this Windows: x86_64 where the
// system is 64-bit, i686 elsewhere; "" when it is missing.
std::string ProgramDirBeside(const std::string& setupDir);

Outcome MakeDir(const std::string& dir);
Outcome CopyInto(const std::string& file, const std::string& dir);
// Removes the files of a folder the installer made, then the folder.
Outcome RemoveDirWithFiles(const std::string& dir);
Outcome WriteIni(const std::vector<std::pair<std::string, std::string>>& keys);
Outcome WriteIniKey(const std::string& key, const std::string& value);
Outcome RemoveIni();

// The uninstall record: what Windows lists under installed programs, and the
// installation's folders for /run and /uninstall.
Outcome WriteRecord(const Installation& installation, const std::string& setupExe);
std::optional<Installation> ReadRecord();
Outcome RemoveRecord();

struct Shortcut {
  std::string name;       // file name without ".lnk"
  std::string arguments;  // of the installer
  std::string iconFile;
};
Outcome MakeShortcuts(const std::string& folder, const std::string& setupExe, const std::vector<Shortcut>& shortcuts);
Outcome RemoveShortcuts(const std::string& folder, const std::vector<Shortcut>& shortcuts);

Outcome Start(const std::string& exe, const std::string& dir);

}  // namespace kro::setup
