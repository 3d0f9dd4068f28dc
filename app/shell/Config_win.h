#pragma once
// The configuration file kro97.ini (section Kro, in the Windows directory) and the
// derived directories. Values are limited to what the programs' 256-byte buffers hold;
// a longer value is refused rather than cut, so a path is never silently wrong.
#include <windows.h>

#include <optional>
#include <string>

namespace kro::shell {

constexpr const char* kIniFile = "kro97.ini";
constexpr const char* kIniSection = "Kro";
// The programs' path buffers are 256 bytes with the terminating zero.
constexpr size_t kMaxIniValue = 255;

class Config {
public:
  // `file` without a path lies in the Windows directory, as the programs expect.
  explicit Config(std::string file = kIniFile) : file_(std::move(file)) {}

  // The raw value ("" when missing), or nullopt when it is longer than kMaxIniValue.
  std::optional<std::string> Value(const char* key) const;
  // A flag is on only when its value is exactly "1".
  bool Flag(const char* key) const;
  // ProductDir with a backslash appended; nullopt when empty or too long for the
  // programs' buffers.
  std::optional<std::string> ProductDir() const;
  // Directory, or the Windows directory when empty, without one trailing backslash;
  // nullopt when too long.
  std::optional<std::string> WorkingDir() const { return DirectoryOf("Directory"); }
  // The same for any directory key (archive's LUMFilDirectory).
  std::optional<std::string> DirectoryOf(const char* key) const;
  bool Write(const char* key, const char* value) const;

private:
  std::string file_;
};

}  // namespace kro::shell
