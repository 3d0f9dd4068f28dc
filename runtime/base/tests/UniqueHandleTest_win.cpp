#include "runtime/base/UniqueHandle_win.h"

#include <gtest/gtest.h>

namespace kro {
namespace {

int GdiObjectCount() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }

TEST(UniqueHandle, ReleasesOnScopeExitAndMove) {
  const int before = GdiObjectCount();
  {
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush);
    UniqueBrush moved = std::move(brush);
    EXPECT_FALSE(brush);
    EXPECT_TRUE(moved);
    moved = UniqueBrush(CreateSolidBrush(RGB(4, 5, 6)));  // the first brush is freed here
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(UniqueHandle, FileUsesInvalidHandleAsEmpty) {
  UniqueFile missing(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
}

TEST(SelectGuard, RestoresThePreviousObject) {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniquePen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_PEN);
  {
    SelectGuard guard(dc.Get(), pen.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);
}

}  // namespace
}  // namespace kro
