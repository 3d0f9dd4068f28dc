#include "app/archive/ArchiveProgram_win.h"

namespace kro::archive {

ArchiveProgram& TheArchive() {
  static ArchiveProgram program;
  return program;
}

}  // namespace kro::archive
