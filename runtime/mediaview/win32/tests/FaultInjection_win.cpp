// Linked into MVFAULTS.DLL only: the runtime's code with an allocator that fails when a
// test asks, so that the paths memory running out takes can be walked through the DLL.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

enum Fault : LONG { kAllocate = 0, kOutOfMemory = 1, kOtherException = 2 };
LONG gFault = kAllocate;

// Not derived from std::bad_alloc, and made without allocating.
struct InjectedFault : std::exception {
  const char* what() const noexcept override { return "injected fault"; }
};

}  // namespace

void* operator new(std::size_t size) {
  if (gFault == kOutOfMemory) throw std::bad_alloc();
  if (gFault == kOtherException) throw InjectedFault();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

extern "C" __declspec(dllexport) void WINAPI MVFaultsFailAllocations(LONG fault) { gFault = fault; }
