#pragma once
// Turns CD-ROM AutoRun off for the life of the program: the NoDriveTypeAutoRun value the
// user had is kept in memory and written back on every exit path (the destructor runs
// on all of them).
#include <windows.h>

#include <array>
#include <cstdint>

namespace kro::shell {

constexpr const char* kAutoRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kAutoRunValue = "NoDriveTypeAutoRun";

class AutoRunSwitch {
public:
  // Saves the value and replaces it with B5 00 00 00. When the key or the value is
  // missing nothing is changed and nothing will be restored.
  explicit AutoRunSwitch(const char* key = kAutoRunKey);
  ~AutoRunSwitch() { Restore(); }
  AutoRunSwitch(const AutoRunSwitch&) = delete;
  AutoRunSwitch& operator=(const AutoRunSwitch&) = delete;

  // Writes the saved value back once; later calls do nothing.
  void Restore();
  bool Replaced() const { return replaced_; }

private:
  const char* key_;
  bool replaced_ = false;
  DWORD type_ = 0;
  DWORD sizeBytes_ = 0;
  std::array<uint8_t, 256> saved_{};
};

}  // namespace kro::shell
