#include "tests/support/HostCommand_win.h"

#include <windows.h>

#include <cstdlib>

#include "runtime/base/FileIo_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::wintest {

std::string UnixPath(const std::string& path) {
  // Wine's own export; a host program cannot be started without Wine anyway.
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  std::wstring wide(path.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size())));
  char* unix = toUnix(wide.c_str());
  if (!unix) return {};
  std::string result(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

int RunOnHost(const std::string& script, int polls) {
  const TemporaryFolder folder;
  const std::string mark = UnixPath(folder / "status");
  if (mark.empty() || script.find('"') != std::string::npos) return -1;
  // A host program started from Wine gives no handle to wait on: it leaves its status in a
  // file, written whole under another name first.
  std::string command = "\"/bin/sh\" -c \"(" + script + "); echo $? > '" + mark + ".part' && mv '" + mark + ".part' '" + mark + "'\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return -1;
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  if (!PumpUntil([&] { return FileExists(folder / "status"); }, polls)) return -1;
  const auto status = ReadWholeFile(folder / "status");
  if (!status || status->empty()) return -1;
  return std::atoi(std::string(status->begin(), status->end()).c_str());
}

}  // namespace kro::wintest
