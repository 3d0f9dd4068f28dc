#include "app/shell/Config_win.h"

#include <vector>

namespace kro::shell {

std::optional<std::string> Config::Value(const char* key) const {
  // Read into a larger buffer than the programs keep, so an over-long value is seen
  // (GetPrivateProfileStringA answers size - 1 when it had to cut).
  std::vector<char> buffer(kMaxIniValue + 2);
  const DWORD length = GetPrivateProfileStringA(kIniSection, key, "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), file_.c_str());
  if (length > kMaxIniValue) return std::nullopt;
  return std::string(buffer.data(), length);
}

bool Config::Flag(const char* key) const {
  return Value(key) == "1";
}

std::optional<std::string> Config::ProductDir() const {
  auto dir = Value("ProductDir");
  if (!dir || dir->empty() || dir->size() + 1 > kMaxIniValue) return std::nullopt;
  return *dir + '\\';
}

std::optional<std::string> Config::DirectoryOf(const char* key) const {
  auto dir = Value(key);
  if (!dir) return std::nullopt;
  if (dir->empty()) {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return std::nullopt;
    dir->assign(windows, length);
  }
  if (!dir->empty() && dir->back() == '\\') dir->pop_back();
  return dir;
}

bool Config::Write(const char* key, const char* value) const {
  return WritePrivateProfileStringA(kIniSection, key, value, file_.c_str()) != 0;
}

}  // namespace kro::shell
