#include <gtest/gtest.h>

#include "app/shell/MainWindow_win.h"

namespace kro::shell {
namespace {

TEST(MainWindow, PlacementOnSmallAndLargeScreens) {
  const struct { int width, height, x, y; } kCases[] = {
      {640, 480, 0, 0}, {800, 600, 80, 60}, {1024, 768, 192, 144}, {640, 481, 0, 0}, {641, 480, 0, 0},
  };
  for (const auto& c : kCases) {
    const POINT origin = MainWindowOrigin(c.width, c.height);
    EXPECT_EQ(origin.x, c.x) << c.width << 'x' << c.height;
    EXPECT_EQ(origin.y, c.y) << c.width << 'x' << c.height;
  }
}

TEST(MainWindow, CaptionButtonsExcludeTheirBorderPixels) {
  const RECT window{100, 50, 740, 530};
  // The close button: 621..637 across, 2..18 down.
  EXPECT_FALSE(InCaptionButton({100 + 621, 60}, window, 621, 637, 2, 18));
  EXPECT_TRUE(InCaptionButton({100 + 622, 60}, window, 621, 637, 2, 18));
  EXPECT_TRUE(InCaptionButton({100 + 636, 67}, window, 621, 637, 2, 18));
  EXPECT_FALSE(InCaptionButton({100 + 637, 60}, window, 621, 637, 2, 18));
  EXPECT_FALSE(InCaptionButton({100 + 630, 52}, window, 621, 637, 2, 18));
  EXPECT_FALSE(InCaptionButton({100 + 630, 68}, window, 621, 637, 2, 18));
}

}  // namespace
}  // namespace kro::shell
