#pragma once
// How many GDI and USER objects another process holds.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

namespace kro::randominput {

struct GuiCounts {
  uint32_t gdi = 0;
  uint32_t user = 0;
  uint32_t windows = 0;  // top-level and child, shown or hidden
  bool fromSystem = false;  // GetGuiResources answered; otherwise counted here
  std::map<std::string, uint32_t> gdiKinds;  // by kind, when counted from the table
};

// GetGuiResources where the system implements it. Wine answers 0 for both kinds; there the
// GDI count is the live entries of the process's GDI handle table and the USER count its
// windows, which is what a leak of either would show.
GuiCounts CountGuiObjects(HANDLE process, DWORD processId);
uint32_t CountWindows(DWORD processId);

}  // namespace kro::randominput
