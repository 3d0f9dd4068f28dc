// A stand-in component library for the access layer's tests. FAKE_INIT_RESULT is what
// _CMgrInitialize answers.
#include <cstdint>

#include "app/movies/tests/FakeLog_win.h"

extern "C" int32_t EntryPoint(uint32_t selector, const uintptr_t* args) {
  FakeLog("C%lu.%lu:", selector >> 16, selector & 0xFFFF);
  FakeLog("%lu ", static_cast<unsigned long>(args[0]));
  return 2000 + static_cast<int32_t>(selector & 0xFFFF);
}

extern "C" int32_t CMgrInitialize() {
  FakeLog("Cinit ");
  return FAKE_INIT_RESULT;
}

extern "C" void CMgrTerminate() { FakeLog("Cterm "); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) FakeLog("+C ");
  if (reason == DLL_PROCESS_DETACH) FakeLog("-C ");
  return TRUE;
}
