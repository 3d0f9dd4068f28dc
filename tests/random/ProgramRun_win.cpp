#include "tests/random/ProgramRun_win.h"

#include <algorithm>
#include <tuple>

#include "app/navigation/StateFiles.h"
#include "runtime/base/FileIo_win.h"
#include "tests/support/Messages_win.h"

namespace kro::randominput {

namespace {

constexpr const char* kIni = "kro97.ini";
constexpr const char* kAutoRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kAutoRunValue = "NoDriveTypeAutoRun";
// Under Wine a crash otherwise waits behind the debugger's dialog; without it the process
// ends at once with its exception code, which the run reports.
constexpr const char* kDebuggerKey = "Software\\Wine\\WineDbg";
constexpr const char* kCrashDialogValue = "ShowCrashDialog";
// Polls of wintest::WaitUntil: a cold start takes a few hundred, a close a few dozen.
constexpr int kStartPolls = 6000;
constexpr int kCloseRounds = 30;
constexpr int kClosePolls = 100;
constexpr DWORD kSectionBytes = 32 * 1024;

std::optional<DWORD> ReadDword(const char* key, const char* value) {
  DWORD data = 0, size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return data;
}

void WriteDword(const char* key, const char* value, std::optional<DWORD> data) {
  HKEY handle;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return;
  if (data) RegSetValueExA(handle, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*data), sizeof *data);
  else RegDeleteValueA(handle, value);
  RegCloseKey(handle);
}

struct Listed {
  DWORD processId;
  std::vector<HWND>* windows;
};

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM lParam) {
  auto& listed = *reinterpret_cast<Listed*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == listed.processId && IsWindowVisible(hwnd)) listed.windows->push_back(hwnd);
  return TRUE;
}

}  // namespace

std::string ClassOf(HWND hwnd) {
  char name[128] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string CaptionOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  std::vector<HWND> windows;
  Listed listed{processId, &windows};
  EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&listed));
  const auto Key = [](HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return std::make_tuple(ClassOf(hwnd), CaptionOf(hwnd), rect.left, rect.top, rect.right, rect.bottom);
  };
  std::ranges::sort(windows, [&](HWND a, HWND b) { return Key(a) < Key(b); });
  return windows;
}

ProgramRun::ProgramRun(ProgramKind kind) : kind_(std::move(kind)), savedSection_(kSectionBytes) {
  const DWORD length = GetPrivateProfileSectionA("Kro", savedSection_.data(), kSectionBytes, kIni);
  savedSection_.resize(length ? length + 1 : 0);
  savedAutoRun_ = ReadDword(kAutoRunKey, kAutoRunValue);
  savedCrashDialog_ = ReadDword(kDebuggerKey, kCrashDialogValue);
  ConfigurePrefix();
}

ProgramRun::~ProgramRun() {
  process_.Forget();
  WritePrivateProfileStringA("Kro", nullptr, nullptr, kIni);
  if (!savedSection_.empty()) WritePrivateProfileSectionA("Kro", savedSection_.data(), kIni);
  if (savedAutoRun_) WriteDword(kAutoRunKey, kAutoRunValue, savedAutoRun_);
  WriteDword(kDebuggerKey, kCrashDialogValue, savedCrashDialog_);
}

void ProgramRun::ConfigurePrefix() {
  WriteDword(kDebuggerKey, kCrashDialogValue, 0);
  WritePrivateProfileStringA("Kro", nullptr, nullptr, kIni);
  WritePrivateProfileStringA("Kro", "ProductDir", kind_.disc.c_str(), kIni);
  if (!kind_.keepsState) return;
  WritePrivateProfileStringA("Kro", "Directory", work_.Path().c_str(), kIni);
  WritePrivateProfileStringA("Kro", "IsDisk2Exists", "1", kIni);
  WritePrivateProfileStringA("Kro", "ShowIntroduction", "0", kIni);
  // The dialogs' raster font lives in the working directory, as setup puts it there.
  CopyFileA((kind_.disc + "\\cdp.fon").c_str(), (work_ / "cdp.fon").c_str(), FALSE);
}

bool ProgramRun::Start() {
  if (!process_.Launch(kind_.exe, {}, work_.Path())) return false;
  // Whatever it shows first (the main window, the logo, a message of start-up) takes input.
  return process_.WaitFor([&] { return !TopLevelWindows(process_.Id()).empty(); }, kStartPolls);
}

bool ProgramRun::Close() {
  for (int round = 0; round < kCloseRounds && Running(); ++round) {
    const std::vector<HWND> windows = TopLevelWindows(process_.Id());
    // Boxes and dialogs first: closing the main window under a modal box would end the
    // program from inside the box's loop, which is not how a user leaves it.
    HWND main = nullptr;
    for (HWND hwnd : windows) {
      if (ClassOf(hwnd) == kind_.mainClass) main = hwnd;
      else PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    if (main && windows.size() == 1) PostMessageA(main, WM_CLOSE, 0, 0);
    process_.WaitFor([&] { return !Running(); }, kClosePolls);
  }
  return !Running();
}

std::string ProgramRun::CheckState() const {
  if (!kind_.keepsState) return {};
  const auto last = ReadWholeFile(work_ / "last.tmp");
  if (!last) return "last.tmp was not written";
  if (const auto position = navigation::ParseLastPosition(*last); !position)
    return "last.tmp: " + position.error().ToString();
  // No bookmark file is the sound state of no bookmarks.
  if (const auto bookmarks = ReadWholeFile(work_ / "bookmark.tmp")) {
    if (const auto parsed = navigation::ParseBookmarks(*bookmarks); !parsed)
      return "bookmark.tmp: " + parsed.error().ToString();
  }
  return {};
}

}  // namespace kro::randominput
