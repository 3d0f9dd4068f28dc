#include "app/shell/Fonts_win.h"

#include <cstring>

#include "app/shell/Display_win.h"

namespace kro::shell {
namespace {

constexpr const char* kTrueTypeFonts[] = {"prg55zkd.ttf", "prg56zkd.ttf", "prg75zkd.ttf", "prg76zkd.ttf"};

HFONT CreateCompactDisk(int height, int weight) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfOutPrecision = OUT_RASTER_PRECIS;
  // The face is of the Russian character set: asked for as ANSI (0) it would lose to a
  // substitute, and a face declared ANSI draws Russian text of the Unicode controls (list
  // boxes, edits) as question marks.
  font.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(font.lfFaceName, "CompactDisk");
  return CreateFontIndirectA(&font);
}

}  // namespace

ProductFonts::ProductFonts(const std::string& workingDir, const std::string& productDir, int dialogBaseX,
                           int dialogBaseY) {
  const std::string bitmapFont = workingDir + "\\cdp.fon";
  if (AddFontResourceA(bitmapFont.c_str()) > 0) {
    added_.push_back(bitmapFont);
    int logPixelsY;
    {
      WindowDc desktop(nullptr);
      logPixelsY = GetDeviceCaps(desktop.Get(), LOGPIXELSY);
    }
    const int height = CompactDiskHeight(logPixelsY, dialogBaseX, dialogBaseY);
    bold_.Reset(CreateCompactDisk(height, 600));
    light_.Reset(CreateCompactDisk(height, 300));
  }
  if (productDir.empty()) return;
  for (const char* name : kTrueTypeFonts) {
    const std::string path = productDir + name;
    if (AddFontResourceA(path.c_str()) > 0) added_.push_back(path);
  }
}

ProductFonts::~ProductFonts() {
  bold_.Reset();
  light_.Reset();
  for (const auto& path : added_) RemoveFontResourceA(path.c_str());
}

}  // namespace kro::shell
