#include "app/shell/DialogKeys_win.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "tests/support/Messages_win.h"

namespace kro::shell {
namespace {

// Every window of the fixture records the messages it receives.
std::map<std::pair<HWND, UINT>, int> gReceived;
int Received(HWND hwnd, UINT msg) { return gReceived[std::make_pair(hwnd, msg)]; }

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++gReceived[std::make_pair(hwnd, msg)];
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND gResults = nullptr;
HWND Results() { return gResults; }

class DialogKeysTest : public testing::Test {
protected:
  void SetUp() override {
    wintest::RegisterTestClass("KroRecorder", RecordingProc);
    dialog_ = CreateWindowA("KroRecorder", "", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    okButton_ = Child("KroRecorder", dialog_, 0);
    cancelButton_ = Child("KroRecorder", dialog_, 30);
    panel_ = Child("KroRecorder", dialog_, 60);
    combo_ = CreateWindowA("COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 0, 0, 120, 100, panel_, nullptr, nullptr, nullptr);
    edit_ = GetWindow(combo_, GW_CHILD);
    gResults = CreateWindowA("KroRecorder", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit_);
    ASSERT_TRUE(InstallDialogKeys(GetModuleHandleA(nullptr), {true, Results}));
    RegisterDialogKeys(dialog_, okButton_, cancelButton_);
    gReceived.clear();
  }
  void TearDown() override {
    RemoveDialogKeys();
    DestroyWindow(dialog_);
    DestroyWindow(gResults);
  }
  static HWND Child(const char* cls, HWND parent, int y) {
    return CreateWindowA(cls, "", WS_CHILD | WS_VISIBLE, 0, y, 200, 25, parent, nullptr, nullptr, nullptr);
  }
  void Key(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    wintest::Pump();
  }
  static int Clicks(HWND button) { return Received(button, WM_LBUTTONUP); }

  HWND dialog_{}, okButton_{}, cancelButton_{}, panel_{}, combo_{}, edit_{};
};

TEST_F(DialogKeysTest, EnterInGreatGrandchildPressesDefaultButtonOnlyWhileEnabled) {
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(okButton_), 1);
  EXPECT_EQ(Clicks(cancelButton_), 0);
  EnableWindow(dialog_, FALSE);
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(okButton_), 1);
  // A grandchild still counts while the dialog is disabled.
  Key(combo_, VK_RETURN);
  EXPECT_EQ(Clicks(okButton_), 2);
}

TEST_F(DialogKeysTest, TheArchiveFormCountsGreatGrandchildrenAlwaysAndHasNoF9) {
  RemoveDialogKeys();
  ASSERT_TRUE(InstallDialogKeys(GetModuleHandleA(nullptr),
                                {.routeLanguageSwitch = false, .resultsDialog = nullptr, .greatGrandchildNeedsEnabled = false}));
  RegisterDialogKeys(dialog_, okButton_, cancelButton_);
  EnableWindow(dialog_, FALSE);
  Key(edit_, VK_RETURN);
  EXPECT_EQ(Clicks(okButton_), 1);
  Key(edit_, VK_ESCAPE);
  EXPECT_EQ(Clicks(cancelButton_), 1);
  Key(dialog_, VK_F9);
  EXPECT_EQ(Received(gResults, kMsgExportResults), 0);
}

TEST_F(DialogKeysTest, EscPressesCancelAndF9AsksForExport) {
  Key(panel_, VK_ESCAPE);
  EXPECT_EQ(Clicks(cancelButton_), 1);
  EXPECT_EQ(Received(panel_, WM_KEYDOWN), 1);  // Esc goes on unchanged
  Key(dialog_, VK_F9);
  EXPECT_EQ(Received(gResults, kMsgExportResults), 1);
}

TEST_F(DialogKeysTest, EnterIsNeutralisedBeforeTheControlSeesIt) {
  Key(panel_, VK_RETURN);
  EXPECT_EQ(Received(panel_, WM_KEYDOWN), 0);
  EXPECT_EQ(Clicks(okButton_), 1);
}

TEST_F(DialogKeysTest, KeysOfOtherWindowsAndReleasedDialogsAreLeftAlone) {
  Key(gResults, VK_RETURN);
  EXPECT_EQ(Received(gResults, WM_KEYDOWN), 1);
  RegisterDialogKeys(nullptr, nullptr, nullptr);
  EXPECT_EQ(RegisteredDialog(), nullptr);
  Key(panel_, VK_ESCAPE);
  Key(panel_, VK_RETURN);
  EXPECT_EQ(Clicks(okButton_) + Clicks(cancelButton_), 0);
  // A registration without buttons presses nothing.
  gReceived.clear();
  RegisterDialogKeys(dialog_, nullptr, nullptr);
  Key(panel_, VK_RETURN);
  EXPECT_EQ(Received(panel_, WM_KEYDOWN), 0);
}

TEST_F(DialogKeysTest, KeysThePumpPeeksAtBeforeTakingThemActOnce) {
  // The message pump looks at each message before it takes it; the hook sees both.
  PostMessageA(edit_, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(panel_, WM_KEYDOWN, VK_ESCAPE, 1);
  PumpMessages();
  wintest::Pump();
  EXPECT_EQ(Clicks(okButton_), 1);
  EXPECT_EQ(Clicks(cancelButton_), 1);
  PostMessageA(dialog_, WM_KEYDOWN, VK_F9, 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  wintest::Pump();
  EXPECT_EQ(Received(gResults, kMsgExportResults), 1);
}

TEST_F(DialogKeysTest, LayoutSwitchInComboEditGoesToTheOwnerAndCaretStays) {
  SetForegroundWindow(dialog_);
  SetFocus(edit_);
  PostMessageA(edit_, WM_INPUTLANGCHANGEREQUEST, 0, 0x04190419);
  wintest::Pump();
  EXPECT_EQ(Received(panel_, WM_INPUTLANGCHANGEREQUEST), 1);
  EXPECT_EQ(GetFocus(), edit_);
}

TEST_F(DialogKeysTest, PumpDispatchesAndAnswersTheStopFlag) {
  PostMessageA(panel_, WM_USER + 7, 0, 0);
  SetStopFlag(0);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(Received(panel_, WM_USER + 7), 1);
  SetStopFlag(1);
  EXPECT_EQ(PumpMessages(), 1);
  SetStopFlag(0);
  // A quit request stays queued for the program's own loop.
  PostQuitMessage(3);
  PumpMessages();
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace kro::shell
