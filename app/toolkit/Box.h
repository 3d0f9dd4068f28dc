#pragma once
// A rectangle as position and size, the way the programs' layout tables give it.
#include <cstdint>

namespace kro::toolkit {

struct Box {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

}  // namespace kro::toolkit
