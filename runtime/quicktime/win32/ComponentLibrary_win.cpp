// CMGR32.DLL: the component library. Components register a dispatcher for their group
// (the movie library registers the movie controllers as group 1 when it attaches); a call
// arrives as (group << 16) | operation and goes to that group's dispatcher.
#include <windows.h>

#include <array>
#include <cstdint>

#include "runtime/quicktime/QtDispatch.h"

namespace kro::qt {
namespace {

constexpr size_t kMaxComponents = 8;

struct Registration {
  uint32_t group = 0;
  QtDispatcher dispatcher = nullptr;
};

std::array<Registration, kMaxComponents> gComponents;

Registration* Find(uint32_t group) {
  for (Registration& r : gComponents) {
    if (r.dispatcher && r.group == group) return &r;
  }
  return nullptr;
}

}  // namespace
}  // namespace kro::qt

using kro::qt::gComponents;

extern "C" int32_t EntryPoint(uint32_t selector, const uintptr_t* args) {
  const kro::qt::Registration* component = kro::qt::Find(selector >> 16);
  if (!component || !args) return kro::qt::kErrNoComponent;
  return component->dispatcher(selector & 0xFFFF, args);
}

extern "C" int32_t CMgrInitialize() { return kro::qt::kErrNone; }

extern "C" void CMgrTerminate() { gComponents.fill({}); }

extern "C" int32_t CMgrRegisterComponent(uint32_t group, kro::qt::QtDispatcher dispatcher) {
  kro::qt::Registration* slot = kro::qt::Find(group);
  for (auto& r : gComponents) {
    if (!slot && !r.dispatcher) slot = &r;
  }
  if (!slot || !dispatcher) return kro::qt::kErrBadParameter;
  *slot = {group, dispatcher};
  return kro::qt::kErrNone;
}

extern "C" void CMgrUnregisterComponent(uint32_t group) {
  if (kro::qt::Registration* r = kro::qt::Find(group)) *r = {};
}
