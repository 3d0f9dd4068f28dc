#pragma once
// Registration of player's window classes at start-up.
#include <windows.h>

namespace kro::shell {

// Loads the shared cursors, then registers every class whose window exists, in the
// program's order; the first failure shows its message and answers false.
bool RegisterClasses(HINSTANCE instance);

}  // namespace kro::shell
