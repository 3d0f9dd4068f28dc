#include "app/shell/Program_win.h"

namespace kro::shell {

Program& TheProgram() {
  static Program program;
  return program;
}

}  // namespace kro::shell
