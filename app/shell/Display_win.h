#pragma once
// The display check of start-up and the display metrics the frame drawing uses.
#include <windows.h>

namespace kro::shell {

enum class DisplayVerdict {
  kAccepted,            // no palette, or the palette warning below was not needed
  kPaletteRecommended,  // exactly 256 colours: runs in palette mode after a warning
  kTooFewColours,       // a palette of another size: refused
  kTooSmall,            // smaller than 640x480: refused
};

// The decision alone, so it can be checked for displays the test machine does not have.
DisplayVerdict JudgeDisplay(bool hasPalette, int paletteSize, int width, int height);

// Height of the "CompactDisk" fonts: 8 points, two thirds of that with large system
// fonts (dialog base units above 8 by 16).
int CompactDiskHeight(int logPixelsY, int dialogBaseX, int dialogBaseY);

struct CaptionButtons {
  int top = 0, bottom = 0;
  int closeLeft = 621, closeRight = 621;
  int minimiseLeft = 599, minimiseRight = 599;
};

struct DisplayMetrics {
  bool paletteMode = false;
  int screenWidth = 0, screenHeight = 0;
  int captionHeight = 0;
  int frameWidth = 0;   // SM_CXBORDER + SM_CXEDGE
  int frameHeight = 0;  // SM_CYEDGE + SM_CYBORDER
  CaptionButtons buttons;
  int dialogBaseX = 0, dialogBaseY = 0;
};

// Runs the display check on the real display, showing its messages; fills `metrics`
// and answers false when the program must stop. The caption buttons' geometry comes
// from the "closeon" bitmap of `instance`. The archive program goes without the 256-colour
// recommendation (`recommendColours` false).
bool CheckDisplay(HINSTANCE instance, DisplayMetrics* metrics, bool recommendColours = true);

}  // namespace kro::shell
