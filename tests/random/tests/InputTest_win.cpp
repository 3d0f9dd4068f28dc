// The random run's input as a window of this process receives it.
#include "tests/random/Input_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/Messages_win.h"

namespace kro::randominput {
namespace {

using wintest::Message;

std::vector<Message> gSeen;

LRESULT CALLBACK Recording(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      gSeen.push_back({message, wParam, lParam});
      break;
    case WM_SYSCOMMAND:
      gSeen.push_back({message, wParam & 0xFFF0, 0});
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class InputTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(wintest::RegisterTestClass("RandomInputTestWindow", Recording, nullptr, CS_DBLCLKS));
    window_ = CreateWindowExA(WS_EX_TOPMOST, "RandomInputTestWindow", "", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    wintest::PumpRounds(5);
    gSeen.clear();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  bool Seen(const Message& wanted) {
    for (const Message& m : gSeen)
      if (m == wanted) return true;
    return false;
  }
  HWND window_ = nullptr;
};

TEST_F(InputTest, AKeyIsPressedAndReleasedAndTranslatedAsTyping) {
  PostKeyStroke(window_, 'A', false);
  wintest::PumpRounds(3);
  ASSERT_EQ(gSeen.size(), 3u);
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA('A', MAPVK_VK_TO_VSC)) << 16;
  EXPECT_EQ(gSeen[0], (Message{WM_KEYDOWN, 'A', 1 | scan}));
  EXPECT_EQ(gSeen[1], (Message{WM_KEYUP, 'A', static_cast<LPARAM>(1 | scan | (3u << 30))}));
  // The translation is queued behind the release, which was posted with the press.
  EXPECT_EQ(gSeen[2].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(gSeen[2].wParam, static_cast<WPARAM>('a'));
}

TEST_F(InputTest, ARussianLetterArrivesAsItsCodePageCharacter) {
  PostCharacter(window_, '\xE6');  // ж
  wintest::PumpRounds(3);
  EXPECT_EQ(gSeen, (std::vector<Message>{{WM_CHAR, 0xE6, 1}}));
}

TEST_F(InputTest, AltF4ClosesTheWindowAsTheDefaultProcedureDoes) {
  PostKeyStroke(window_, VK_F4, true);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(window_); }, 100));
  EXPECT_TRUE(Seen({WM_SYSCOMMAND, SC_CLOSE, 0}));
}

TEST_F(InputTest, ClicksArriveAtTheirPointAndTwoMakeADoubleClick) {
  ClickAt({150, 130}, false);
  const LPARAM at = MAKELPARAM(50, 50);
  EXPECT_TRUE(wintest::PumpUntil([&] { return Seen({WM_LBUTTONUP, 0, at}); }, 200));
  EXPECT_TRUE(Seen({WM_LBUTTONDOWN, MK_LBUTTON, at}));
  gSeen.clear();
  // Away from the first click, so that the two of the double click pair with each other.
  ClickAt({250, 200}, true);
  const LPARAM second = MAKELPARAM(150, 120);
  EXPECT_TRUE(wintest::PumpUntil([&] { return Seen({WM_LBUTTONDBLCLK, MK_LBUTTON, second}); }, 200));
}

}  // namespace
}  // namespace kro::randominput
