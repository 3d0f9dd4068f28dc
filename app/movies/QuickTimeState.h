#pragma once
// The access layer's one process-wide record. Exposed to the layer's own files and tests.
#include <windows.h>

#include <cstdint>

#include "runtime/quicktime/QtDispatch.h"

namespace kro {

// Stand in the dispatcher fields while a library is not loaded: the first operation of
// the run loads the libraries; after one attempt every operation answers kNotLoaded.
int32_t MovieLibraryResolver(uint32_t selector, const uintptr_t* args);
int32_t ComponentLibraryResolver(uint32_t selector, const uintptr_t* args);

struct QuickTimeState {
  bool loadAttempted = false;  // set by the first QTInitialize; never cleared
  HMODULE movieLibrary = nullptr;
  qt::QtDispatcher movieDispatcher = MovieLibraryResolver;
  int32_t movieUsers = 0;
  HMODULE componentLibrary = nullptr;
  qt::QtDispatcher componentDispatcher = ComponentLibraryResolver;
  int32_t componentUsers = 0;
};

extern QuickTimeState gQuickTime;

// The movie library's product version folded into one number: 2.1.1.57 gives 11065.
int32_t FoldVersion(DWORD productVersionMs, DWORD productVersionLs);
// Read through version.dll from the loaded movie library; 0 when it cannot be read.
int32_t ReadMovieLibraryVersion(HMODULE movieLibrary);

}  // namespace kro
