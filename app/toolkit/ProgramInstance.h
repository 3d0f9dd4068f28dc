#pragma once
// The module whose classes the toolkit registers and whose resources it loads. The
// start-up code records it; until then it is the program's own module.
#include <windows.h>

namespace kro::toolkit {

void SetProgramInstance(HINSTANCE instance);
HINSTANCE ProgramInstance();

}  // namespace kro::toolkit
