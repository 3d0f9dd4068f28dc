#include "app/setup/SetupSystem_win.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app/shell/Config_win.h"
#include "runtime/base/Com_win.h"

namespace kro::setup {
namespace {

constexpr const char* kRecordKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kro97";
constexpr const char* kDisplayName = "Энциклопедия России";

Outcome Failed(std::string what, DWORD code = GetLastError()) {
  return Failure{std::move(what), code};
}

class RegistryKey {
public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

LSTATUS SetString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
}

std::optional<std::string> GetString(HKEY key, const char* name) {
  char value[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD size = sizeof value - 1;  // room for the zero a stored string may lack
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::string(value);
}

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

std::string ShortcutPath(const std::string& folder, const Shortcut& shortcut) {
  return Join(folder, shortcut.name + ".lnk");
}

Outcome SaveShortcut(const std::string& path, const std::string& setupExe, const Shortcut& shortcut) {
  ComPtr<IShellLinkA> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.Out()));
  if (FAILED(result)) return Failed(path, static_cast<DWORD>(result));
  link->SetPath(setupExe.c_str());
  link->SetArguments(shortcut.arguments.c_str());
  link->SetIconLocation(shortcut.iconFile.c_str(), 0);
  const size_t slash = setupExe.rfind('\\');
  link->SetWorkingDirectory(setupExe.substr(0, slash == std::string::npos ? 0 : slash).c_str());
  ComPtr<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()));
  if (SUCCEEDED(result)) result = file->Save(Wide(path).c_str(), TRUE);
  if (FAILED(result)) return Failed(path, static_cast<DWORD>(result));
  return std::nullopt;
}

}  // namespace

std::string ModuleDir() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, length < sizeof path ? length : 0);
  const size_t slash = dir.rfind('\\');
  return slash == std::string::npos ? std::string() : dir.substr(0, slash);
}

std::string WindowsDir() {
  char path[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

std::string IniPath() {
  return Join(WindowsDir(), shell::kIniFile);
}

std::string CommonFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::vector<std::string> CdRoots() {
  char drives[4 * 26 + 1] = {};
  const DWORD length = GetLogicalDriveStringsA(sizeof drives - 1, drives);
  std::vector<std::string> roots;
  if (length == 0 || length >= sizeof drives) return roots;
  for (const char* drive = drives; *drive; drive += lstrlenA(drive) + 1) {
    if (GetDriveTypeA(drive) == DRIVE_CDROM) roots.emplace_back(drive);
  }
  return roots;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasMarkers(const std::string& dir, std::span<const char* const> markers) {
  for (const char* marker : markers) {
    if (!IsFile(Join(dir, marker))) return false;
  }
  return true;
}

std::string FindDisc(const std::vector<std::string>& candidates, std::span<const char* const> markers) {
  // An empty CD drive answers "not ready" with a system dialog unless told not to.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::string found;
  for (const std::string& dir : candidates) {
    if (HasMarkers(dir, markers)) {
      found = dir;
      break;
    }
  }
  SetErrorMode(previous);
  return found;
}

std::string ProgramDirBeside(const std::string& setupDir) {
  bool is64 = sizeof(void*) == 8;
  if (!is64) {
    BOOL wow64 = FALSE;
    is64 = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }
  const std::string dir = Join(setupDir, is64 ? "x86_64" : "i686");
  return IsFile(Join(dir, ProgramFile(Program::kPlayer))) ? dir : std::string();
}

Outcome MakeDir(const std::string& dir) {
  if (CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return std::nullopt;
  return Failed(dir);
}

Outcome CopyInto(const std::string& file, const std::string& dir) {
  const size_t slash = file.rfind('\\');
  const std::string target = Join(dir, file.substr(slash == std::string::npos ? 0 : slash + 1));
  if (CopyFileA(file.c_str(), target.c_str(), FALSE)) return std::nullopt;
  return Failed(target);
}

Outcome RemoveDirWithFiles(const std::string& dir) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(Join(dir, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_PATH_NOT_FOUND ? std::nullopt : Failed(dir);
  }
  Outcome outcome;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string file = Join(dir, found.cFileName);
    if (!DeleteFileA(file.c_str()) && !outcome) outcome = Failed(file);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  if (!RemoveDirectoryA(dir.c_str()) && !outcome && GetLastError() != ERROR_FILE_NOT_FOUND) outcome = Failed(dir);
  return outcome;
}

Outcome WriteIni(const std::vector<std::pair<std::string, std::string>>& keys) {
  // A fresh section: keys of an earlier installation must not outlive this one.
  WritePrivateProfileStringA(shell::kIniSection, nullptr, nullptr, shell::kIniFile);
  for (const auto& [key, value] : keys) {
    if (auto failure = WriteIniKey(key, value)) return failure;
  }
  return std::nullopt;
}

Outcome WriteIniKey(const std::string& key, const std::string& value) {
  if (WritePrivateProfileStringA(shell::kIniSection, key.c_str(), value.c_str(), shell::kIniFile)) return std::nullopt;
  return Failed(IniPath());
}

Outcome RemoveIni() {
  const std::string path = IniPath();
  if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return std::nullopt;
  return Failed(path);
}

Outcome WriteRecord(const Installation& installation, const std::string& setupExe) {
  RegistryKey key;
  LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(),
                                   nullptr);
  if (status != ERROR_SUCCESS) return Failed(std::string("HKLM\\") + kRecordKey, static_cast<DWORD>(status));
  const std::pair<const char*, std::string> values[] = {
      {"DisplayName", kDisplayName},
      {"DisplayIcon", Join(installation.programDir, ProgramFile(Program::kPlayer))},
      {"UninstallString", QuoteArgument(setupExe) + " /uninstall"},
      {"QuietUninstallString", QuoteArgument(setupExe) + " /uninstall /S"},
      {"InstallLocation", installation.workingDir},
      {"EncyclopediaDir", installation.encyclopediaDir},
      {"ArchiveDir", installation.archiveDir},
      {"ProgramDir", installation.programDir},
      {"WorkingDir", installation.workingDir},
  };
  for (const auto& [name, value] : values) {
    status = SetString(key.Get(), name, value);
    if (status != ERROR_SUCCESS) return Failed(std::string("HKLM\\") + kRecordKey, static_cast<DWORD>(status));
  }
  const DWORD one = 1;
  for (const char* name : {"NoModify", "NoRepair"}) {
    RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  }
  return std::nullopt;
}

std::optional<Installation> ReadRecord() {
  RegistryKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  auto encyclopedia = GetString(key.Get(), "EncyclopediaDir");
  auto archive = GetString(key.Get(), "ArchiveDir");
  auto programs = GetString(key.Get(), "ProgramDir");
  auto working = GetString(key.Get(), "WorkingDir");
  if (!encyclopedia || !archive || !programs || !working) return std::nullopt;
  return Installation{*encyclopedia, *archive, *programs, *working};
}

Outcome RemoveRecord() {
  const LSTATUS status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRecordKey);
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  return Failed(std::string("HKLM\\") + kRecordKey, static_cast<DWORD>(status));
}

Outcome MakeShortcuts(const std::string& folder, const std::string& setupExe, const std::vector<Shortcut>& shortcuts) {
  if (auto failure = MakeDir(folder)) return failure;
  ComScope com;
  for (const Shortcut& shortcut : shortcuts) {
    if (auto failure = SaveShortcut(ShortcutPath(folder, shortcut), setupExe, shortcut)) return failure;
  }
  return std::nullopt;
}

Outcome RemoveShortcuts(const std::string& folder, const std::vector<Shortcut>& shortcuts) {
  Outcome outcome;
  for (const Shortcut& shortcut : shortcuts) {
    const std::string path = ShortcutPath(folder, shortcut);
    if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND && !outcome) outcome = Failed(path);
  }
  if (!RemoveDirectoryA(folder.c_str()) && !outcome && GetLastError() != ERROR_FILE_NOT_FOUND &&
      GetLastError() != ERROR_PATH_NOT_FOUND) {
    outcome = Failed(folder);
  }
  return outcome;
}

Outcome Start(const std::string& exe, const std::string& dir) {
  std::string commandLine = QuoteArgument(exe);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                      &process)) {
    return Failed(exe);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return std::nullopt;
}

}  // namespace kro::setup
