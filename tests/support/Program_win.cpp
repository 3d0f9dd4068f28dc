#include "tests/support/Program_win.h"

#include "tests/support/Messages_win.h"

namespace kro::wintest {
namespace {

constexpr const char* kIniFile = "kro97.ini";
constexpr const char* kIniSection = "Kro";
constexpr const char* kAutoRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kAutoRunValue = "NoDriveTypeAutoRun";
constexpr int kEndPolls = 500;  // for a program ended by force

}  // namespace

bool ProgramProcess::Launch(const std::string& exe, const std::string& arguments, const std::string& folder) {
  Forget();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe + "\"";
  if (!arguments.empty()) command += " " + arguments;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &startup, &info_)) {
    info_ = {};
    return false;
  }
  CloseHandle(info_.hThread);
  info_.hThread = nullptr;
  return true;
}

bool ProgramProcess::WaitFor(const std::function<bool()>& done, int polls) const {
  return WaitUntil(done, polls, info_.hProcess);
}

void ProgramProcess::Idle(int polls) const {
  WaitFor([] { return false; }, polls);
}

HWND ProgramProcess::Window(const char* className, int polls) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = ProcessWindow(info_.dwProcessId, className)) != nullptr; }, polls);
  return found;
}

bool ProgramProcess::Exited() const {
  return !info_.hProcess || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD ProgramProcess::ExitCode(int polls) {
  if (!WaitFor([&] { return Exited(); }, polls) || !info_.hProcess) return 99;
  DWORD code = 99;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void ProgramProcess::Forget() {
  if (!info_.hProcess) return;
  if (!Exited()) {
    TerminateProcess(info_.hProcess, 99);
    WaitFor([&] { return Exited(); }, kEndPolls);
  }
  CloseHandle(info_.hProcess);
  info_ = {};
}

SavedIniKeys::SavedIniKeys(std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    char value[512] = {};
    // A value no configuration holds tells a missing key from an empty one.
    const DWORD length = GetPrivateProfileStringA(kIniSection, key, "\x01", value, sizeof value, kIniFile);
    saved_.emplace_back(key, length == 1 && value[0] == '\x01' ? std::nullopt : std::optional<std::string>(value));
  }
}

SavedIniKeys::~SavedIniKeys() {
  for (const auto& [key, value] : saved_) SetIni(key.c_str(), value ? value->c_str() : nullptr);
}

void SetIni(const char* key, const char* value) { WritePrivateProfileStringA(kIniSection, key, value, kIniFile); }

DWORD AutoRun() {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, kAutoRunKey, kAutoRunValue, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

void SetAutoRun(DWORD value) {
  HKEY key;
  if (RegCreateKeyA(HKEY_CURRENT_USER, kAutoRunKey, &key) != ERROR_SUCCESS) return;
  RegSetValueExA(key, kAutoRunValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

std::string TextOf(HWND hwnd) {
  char text[1024] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string BoxMessage(HWND box) {
  std::string message;
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    const std::string text = TextOf(child);
    if (text.empty()) continue;
    if (!message.empty()) message += "\n";
    message += text;
  }
  return message;
}

}  // namespace kro::wintest
