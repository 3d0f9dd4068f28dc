#include "app/toolkit/ProgramInstance.h"

namespace kro::toolkit {
namespace {

HINSTANCE gProgramInstance = nullptr;

}  // namespace

void SetProgramInstance(HINSTANCE instance) { gProgramInstance = instance; }

HINSTANCE ProgramInstance() { return gProgramInstance ? gProgramInstance : GetModuleHandleA(nullptr); }

}  // namespace kro::toolkit
