#include "tests/support/Files_win.h"

#include <filesystem>

#include "runtime/base/FileIo_win.h"

namespace kro::wintest {

std::string BesideExe(std::string_view name) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string exe(path, n);
  return exe.substr(0, exe.find_last_of("\\/") + 1).append(name);
}

std::string HostPath(std::string_view unixPath) {
  std::string path = "Z:";
  for (char c : unixPath) path += c == '/' ? '\\' : c;
  return path;
}

TemporaryFolder::TemporaryFolder() {
  static int made = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // The process id keeps two programs apart, the count two folders of one program.
  const std::string stem = std::string(temp) + "kro" + std::to_string(GetCurrentProcessId()) + "_";
  do {
    path_ = stem + std::to_string(++made);
  } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryFolder::operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

bool WriteTextFile(const std::string& path, std::string_view text) {
  return ReplaceFileContents(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace kro::wintest
