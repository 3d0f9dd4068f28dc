// The real player.exe on the sample encyclopedia, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "runtime/mediaview/core/Title.h"

namespace kro {
namespace {

constexpr const char* kAutoRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr DWORD kUserAutoRun = 0x91;
using shell::kCmdNext;
using shell::kCmdPrevious;
using shell::kMainWindowClass;

// Wine shows the Unix root as drive Z:.
std::string WindowsPath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void SetAutoRun(DWORD value) {
  HKEY key;
  RegCreateKeyA(HKEY_CURRENT_USER, kAutoRunKey, &key);
  RegSetValueExA(key, "NoDriveTypeAutoRun", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

DWORD AutoRun() {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, kAutoRunKey, "NoDriveTypeAutoRun", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

std::string Caption(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The bitmap buttons carry no control id: find them by where the toolbar puts them.
HWND ButtonAt(HWND main, int x, int y) {
  POINT point{x + 2, y + 2};
  return ChildWindowFromPointEx(main, point, CWP_SKIPINVISIBLE);
}

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (owner != search.processId || lstrcmpiA(name, search.className) != 0 || !IsWindowVisible(hwnd)) return TRUE;
  search.found = hwnd;
  return FALSE;
}

// A visible top-level window of the given class that belongs to the process.
HWND ProcessWindow(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const DWORD end = GetTickCount() + timeoutMs;
  while (GetTickCount() < end) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

class PlayerTest : public testing::Test {
protected:
  // The prefix's kro97.ini belongs to the run command too: its keys are put back afterwards.
  static constexpr const char* kKeys[] = {"ProductDir", "Directory", "IsDisk2Exists", "ShowIntroduction"};
  void SetUp() override {
    for (const char* key : kKeys) {
      char value[512] = {};
      const DWORD length = GetPrivateProfileStringA("Kro", key, "\x01", value, sizeof value, "kro97.ini");
      savedIni_.emplace_back(length == 1 && value[0] == '\x01' ? std::nullopt : std::optional<std::string>(value));
    }
    workDir_ = WindowsPath(KRO_BUILD_DIR "/e2e-work");
    CreateDirectoryA(workDir_.c_str(), nullptr);
    DeleteFileA((workDir_ + "\\last.tmp").c_str());
    WritePrivateProfileStringA("Kro", nullptr, nullptr, "kro97.ini");
    WritePrivateProfileStringA("Kro", "ProductDir", WindowsPath(KRO_PRODUCT_DIR).c_str(), "kro97.ini");
    WritePrivateProfileStringA("Kro", "Directory", workDir_.c_str(), "kro97.ini");
    WritePrivateProfileStringA("Kro", "IsDisk2Exists", "1", "kro97.ini");
    WritePrivateProfileStringA("Kro", "ShowIntroduction", "0", "kro97.ini");
    SetAutoRun(kUserAutoRun);
  }

  bool Launch() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + WindowsPath(KRO_PLAYER_EXE) + "\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
      return false;
    CloseHandle(process_.hThread);
    return true;
  }
  bool Start() {
    return Launch() &&
           WaitFor([&] { return (main_ = FindWindowA(kMainWindowClass, nullptr)) && IsWindowVisible(main_); }, 60000);
  }
  DWORD ExitCode() {
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return 99;
    DWORD exitCode = 99;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
    }
    for (size_t i = 0; i < savedIni_.size(); ++i)
      WritePrivateProfileStringA("Kro", kKeys[i], savedIni_[i] ? savedIni_[i]->c_str() : nullptr, "kro97.ini");
  }

  std::vector<std::optional<std::string>> savedIni_;
  std::string workDir_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

TEST_F(PlayerTest, OpensTheStartArticleStepsToTheNextAndClosesCleanly) {
  mv::TitleStatus status{};
  const auto title = mv::Title::OpenFile(WindowsPath(KRO_PRODUCT_DIR "/kro.m14"), {}, &status);
  ASSERT_TRUE(title);
  const uint32_t start = title->TopicByContext("topic_ros14");
  const uint32_t next = title->BrowseNext(start);
  const auto Named = [&](uint32_t topic) { return std::string(title->TopicTitle(topic).value_or("?")); };
  ASSERT_NE(next, mv::kNone);

  ASSERT_TRUE(Start());
  EXPECT_EQ(AutoRun(), 0xB5u);  // AutoRun is off while the program runs
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, 10000))
      << Caption(main_);
  const HWND previous = ButtonAt(main_, 560, 421);
  const HWND nextButton = ButtonAt(main_, 590, 421);
  ASSERT_TRUE(previous && nextButton);

  PostMessageA(main_, WM_COMMAND, kCmdNext, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(next)), 0) == 0; }, 10000))
      << Caption(main_);
  EXPECT_EQ(SendMessageA(previous, BM_GETSTATE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(nextButton, BM_GETSTATE, 0, 0), title->BrowseNext(next) != mv::kNone ? 1 : 0);
  PostMessageA(main_, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(main_).rfind(std::string(Named(start)), 0) == 0; }, 10000));

  // The close button of the caption strip, inside its border.
  RECT window;
  GetWindowRect(main_, &window);
  PostMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 628, window.top + 10));
  EXPECT_EQ(ExitCode(), 0u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
  EXPECT_TRUE(FileExists(workDir_ + "\\last.tmp"));
}

TEST_F(PlayerTest, MissingProductDirEndsWithTheReinstallMessageAndRestoresAutoRun) {
  WritePrivateProfileStringA("Kro", "ProductDir", nullptr, "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Ошибка")) != nullptr; }, 30000));
  EXPECT_EQ(AutoRun(), 0xB5u);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

TEST_F(PlayerTest, DeclinedDiscPromptEndsWithOneAndRestoresAutoRun) {
  const std::string empty = WindowsPath(KRO_BUILD_DIR "/e2e-empty-disc");
  CreateDirectoryA(empty.c_str(), nullptr);
  WritePrivateProfileStringA("Kro", "ProductDir", empty.c_str(), "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (prompt = ProcessWindow(process_.dwProcessId, "#32770")) != nullptr; }, 30000));
  EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);  // no main window before the disc
  PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

TEST_F(PlayerTest, DamagedTitleIsRefusedWithItsMessage) {
  const std::string disc = WindowsPath(KRO_BUILD_DIR "/e2e-damaged-disc");
  CreateDirectoryA(disc.c_str(), nullptr);
  const char kNotATitle[] = "not a title at all";
  ReplaceFileContents(disc + "\\kro.m14", std::span(reinterpret_cast<const uint8_t*>(kNotATitle), sizeof kNotATitle));
  WritePrivateProfileStringA("Kro", "ProductDir", disc.c_str(), "kro97.ini");
  ASSERT_TRUE(Launch());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Ошибка")) != nullptr; }, 30000));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCode(), 1u);
  EXPECT_EQ(AutoRun(), kUserAutoRun);
}

TEST_F(PlayerTest, CatalogueCommandSwitchesToTheStartScreenAndBack) {
  ASSERT_TRUE(Start());
  const HWND area = FindWindowExA(main_, nullptr, "WinCR", nullptr);
  const HWND box = FindWindowExA(main_, nullptr, "Button", nullptr);
  ASSERT_TRUE(area && box);
  EXPECT_TRUE(IsWindowVisible(area));
  EXPECT_FALSE(IsWindowVisible(box));
  PostMessageA(main_, WM_COMMAND, 150, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(area) && IsWindowVisible(box); }, 10000));
  PostMessageA(main_, WM_COMMAND, 4000, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(area) && !IsWindowVisible(box); }, 10000));
  PostMessageA(main_, WM_COMMAND, 110, 0);
  EXPECT_EQ(ExitCode(), 0u);
}

}  // namespace
}  // namespace kro
