#pragma once
// Frame-strip pictures and region files written for the tests and the benchmark.
#include <windows.h>

#include <string>
#include <vector>

#include "app/timeline/StripModel.h"

namespace kro::timeline::testing {

// Palette entry i is the colour of frame i - 1 (entry 0 is black); every pixel of frame f
// has entry f % 255 + 1, so a frame's colour tells which frame is on screen.
COLORREF FrameColour(int frame);
// The strip file of `frames` frames of width x height; `keepFrames` cuts the pixel data
// after that many frames (-1: all of them).
bool WriteStripFile(const std::string& path, int frames, int width, int height, int keepFrames = -1);
bool WriteRegionFile(const std::string& path, const std::vector<Region>& regions);

}  // namespace kro::timeline::testing
