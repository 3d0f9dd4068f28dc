#pragma once
// Detects a running copy of the program. The entry point's previous-instance argument is
// always null on 32-bit Windows, so a named mutex does the job: a second copy would
// otherwise take the already replaced AutoRun value for the user's own and lose it, and
// overwrite the first copy's bookmarks.
#include <windows.h>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::shell {

class SingleInstance {
public:
  explicit SingleInstance(const char* mutexName);
  // True when another copy already holds the name.
  bool AnotherCopyRunning() const { return another_; }

private:
  UniqueKernelHandle mutex_;
  bool another_ = false;
};

}  // namespace kro::shell
