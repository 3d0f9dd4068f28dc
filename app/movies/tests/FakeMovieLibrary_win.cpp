// A stand-in movie library for the access layer's tests: it logs its loading (with the
// process error mode at that moment), its unloading and every call.
#include <cstdint>

#include "app/movies/tests/FakeLog_win.h"

extern "C" int32_t EntryPoint(uint32_t selector, const uintptr_t* args) {
  FakeLog("Q%lu:%lu ", selector, static_cast<unsigned long>(args[0]));
  return 1000 + static_cast<int32_t>(selector);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) FakeLog("+Q%lu ", GetErrorMode());
  if (reason == DLL_PROCESS_DETACH) FakeLog("-Q ");
  return TRUE;
}
