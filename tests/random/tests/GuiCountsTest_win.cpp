// The counts the random run judges leaks by, taken of this very process, where we know what
// was made.
#include "tests/random/GuiCounts_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/base/UniqueHandle_win.h"
#include "tests/random/ProgramRun_win.h"
#include "tests/support/Messages_win.h"

namespace kro::randominput {
namespace {

constexpr int kBrushes = 40;

GuiCounts Now() { return CountGuiObjects(GetCurrentProcess(), GetCurrentProcessId()); }

TEST(GuiCountsTest, GdiObjectsAreCountedAsTheyAreMadeAndDeleted) {
  const GuiCounts before = Now();
  ASSERT_GT(before.gdi, 0u) << "neither GetGuiResources nor the handle table gave a count";
  {
    std::vector<UniqueBrush> brushes;
    for (int i = 0; i < kBrushes; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
    const GuiCounts during = Now();
    EXPECT_GE(during.gdi, before.gdi + kBrushes);
    EXPECT_LE(during.gdi, before.gdi + kBrushes + 4);  // nothing else of note was made
  }
  EXPECT_LE(Now().gdi, before.gdi + 4);
}

TEST(GuiCountsTest, WindowsOfTheProcessAreCountedShownOrHiddenAndListedOnlyWhenShown) {
  ASSERT_TRUE(wintest::RegisterTestClass("GuiCountsTestWindow", DefWindowProcA));
  const HWND top = CreateWindowExA(0, "GuiCountsTestWindow", "b", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  // Counted from here: the thread's first window also brings hidden ones of the system's.
  const uint32_t before = CountWindows(GetCurrentProcessId());
  for (int i = 0; i < 2; ++i)
    CreateWindowExA(0, "GuiCountsTestWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
  EXPECT_EQ(CountWindows(GetCurrentProcessId()), before + 2);
  EXPECT_EQ(Now().windows, before + 2);
  EXPECT_TRUE(TopLevelWindows(GetCurrentProcessId()).empty());

  const HWND second = CreateWindowExA(0, "GuiCountsTestWindow", "a", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                      nullptr, nullptr, nullptr);
  ShowWindow(top, SW_SHOWNA);
  // In class, caption, place order, whichever is in front.
  EXPECT_EQ(TopLevelWindows(GetCurrentProcessId()), (std::vector<HWND>{second, top}));
  DestroyWindow(second);
  EXPECT_EQ(CountWindows(GetCurrentProcessId()), before + 2);
  DestroyWindow(top);
  EXPECT_LE(CountWindows(GetCurrentProcessId()), before - 1);  // the system's may go with the last one
}

}  // namespace
}  // namespace kro::randominput
