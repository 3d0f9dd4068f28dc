#include "app/shell/AutoRun_win.h"

namespace kro::shell {
namespace {

// Query and set access, the rights the value needs and no more.
constexpr REGSAM kAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | READ_CONTROL;

class RegKey {
public:
  explicit RegKey(const char* path) {
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, kAccess, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegKey() { if (key_) RegCloseKey(key_); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY Get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

}  // namespace

AutoRunSwitch::AutoRunSwitch(const char* key) : key_(key) {
  RegKey reg(key_);
  if (!reg.Get()) return;
  DWORD size = static_cast<DWORD>(saved_.size());
  if (RegQueryValueExA(reg.Get(), kAutoRunValue, nullptr, &type_, saved_.data(), &size) != ERROR_SUCCESS) return;
  sizeBytes_ = size;
  static constexpr BYTE kCdRomOff[4] = {0xB5, 0x00, 0x00, 0x00};
  replaced_ = RegSetValueExA(reg.Get(), kAutoRunValue, 0, type_, kCdRomOff, sizeof kCdRomOff) == ERROR_SUCCESS;
}

void AutoRunSwitch::Restore() {
  if (!replaced_) return;
  RegKey reg(key_);
  if (reg.Get() && RegSetValueExA(reg.Get(), kAutoRunValue, 0, type_, saved_.data(), sizeBytes_) == ERROR_SUCCESS)
    replaced_ = false;
}

}  // namespace kro::shell
