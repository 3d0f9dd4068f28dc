// The real archive.exe on the sample archive disc, driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/ArchiveWindow_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro {
namespace {

using wintest::HostPath;
using wintest::ProcessWindow;
using wintest::SendMouse;

constexpr int kStartPolls = 6000;
constexpr int kExitPolls = 3000;

std::string Text(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

class Archive {
public:
  Archive() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + HostPath(KRO_ARCHIVE_EXE) + "\"";
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
    if (started_) CloseHandle(process_.hThread);
  }
  ~Archive() {
    if (!started_) return;
    if (!Exited()) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool Started() const { return started_; }
  HWND Window(const char* className, int polls = kStartPolls) {
    HWND found = nullptr;
    wintest::WaitUntil([&] { return (found = ProcessWindow(process_.dwProcessId, className)) != nullptr; }, polls,
                       process_.hProcess);
    return found;
  }
  // Polls that only let the program work.
  void Idle(int polls) { wintest::WaitUntil([] { return false; }, polls, process_.hProcess); }
  bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() {
    if (!wintest::WaitUntil([&] { return Exited(); }, kExitPolls, process_.hProcess)) return 99;
    DWORD code = 99;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

class ArchiveTest : public testing::Test {
protected:
  static constexpr const char* kKeys[] = {"ProductDir", "LUMFilDirectory"};
  void SetUp() override {
    for (const char* key : kKeys) {
      char value[512] = {};
      const DWORD length = GetPrivateProfileStringA("Kro", key, "\x01", value, sizeof value, "kro97.ini");
      saved_.emplace_back(length == 1 && value[0] == '\x01' ? std::nullopt : std::optional<std::string>(value));
    }
    WritePrivateProfileStringA("Kro", "ProductDir", HostPath(KRO_ARCHIVE_DIR).c_str(), "kro97.ini");
    WritePrivateProfileStringA("Kro", "LUMFilDirectory", nullptr, "kro97.ini");
  }
  void TearDown() override {
    for (size_t i = 0; i < saved_.size(); ++i)
      WritePrivateProfileStringA("Kro", kKeys[i], saved_[i] ? saved_[i]->c_str() : nullptr, "kro97.ini");
  }
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(ArchiveTest, ASecondCopyIsRefusedTheTitleBarDragsAndExitEndsWithOne) {
  Archive first;
  ASSERT_TRUE(first.Started());
  // The caption names the program once the window is up; the second copy looks for it.
  const HWND main = first.Window(archive::kArchiveWindowClass);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(wintest::WaitUntil([&] { return Text(main) == archive::kArchiveTitle; }, kStartPolls, GetCurrentProcess()));

  Archive second;
  ASSERT_TRUE(second.Started());
  const HWND refusal = second.Window("#32770");
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(Text(refusal), archive::kArchiveTitle);
  EXPECT_NE(FindWindowExA(refusal, nullptr, "Static", "Фильмотека уже запущен!"), nullptr);
  PostMessageA(refusal, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.ExitCode(), 1u);

  // A drag of the painted title bar moves the window.
  RECT before;
  GetWindowRect(main, &before);
  const POINT grip{before.left + 300, before.top + 10};
  const auto Settle = [&] { first.Idle(20); };
  SendMouse(0, grip);
  Settle();
  SendMouse(MOUSEEVENTF_LEFTDOWN, grip);
  Settle();
  for (int step = 1; step <= 4; ++step) {
    SendMouse(0, {grip.x - 10 * step, grip.y + 8 * step});
    Settle();
  }
  SendMouse(MOUSEEVENTF_LEFTUP, {grip.x - 40, grip.y + 32});
  RECT after{};
  EXPECT_TRUE(wintest::WaitUntil([&] { return GetWindowRect(main, &after) && after.left == before.left - 40; },
                                 kStartPolls, GetCurrentProcess()));
  EXPECT_EQ(after.top, before.top + 32);

  PostMessageA(main, WM_COMMAND, archive::kCmdExit, 0);
  EXPECT_EQ(first.ExitCode(), 1u);
}

TEST_F(ArchiveTest, ACancelledDiscPromptEndsTheProgram) {
  const wintest::TemporaryFolder empty;
  WritePrivateProfileStringA("Kro", "ProductDir", empty.Path().c_str(), "kro97.ini");
  Archive archive;
  ASSERT_TRUE(archive.Started());
  const HWND prompt = archive.Window("#32770");
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(FindWindowA(archive::kArchiveWindowClass, archive::kArchiveTitle), nullptr);
  PostMessageA(prompt, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_EQ(archive.ExitCode(), 1u);
}

TEST_F(ArchiveTest, AMissingProductDirEndsWithTheReinstallMessage) {
  WritePrivateProfileStringA("Kro", "ProductDir", nullptr, "kro97.ini");
  Archive archive;
  ASSERT_TRUE(archive.Started());
  const HWND box = archive.Window("#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), "Ошибка");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(archive.ExitCode(), 1u);
}

}  // namespace
}  // namespace kro
