#include "tests/random/GuiCounts_win.h"

#include <winternl.h>

#include <vector>

namespace kro::randominput {

namespace {

// The handle table that the PEB points at: 65536 entries of 24 bytes (two 64-bit pointers
// round a 32-bit owner, a 16-bit generation and the type byte) in both kinds of process;
// an entry is live while its type is not 0.
constexpr size_t kGdiHandleEntries = 0x10000;
constexpr size_t kGdiEntryBytes = 24;
constexpr size_t kGdiTypeOffset = 14;
// GdiSharedHandleTable in the PEB of a process of this build's kind.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

bool Read(HANDLE process, const void* at, void* into, size_t bytes) {
  SIZE_T read = 0;
  return ReadProcessMemory(process, at, into, bytes, &read) && read == bytes;
}

// The type byte is the object kind in the handle's high word; Wine adds its own kinds.
std::string KindName(BYTE type) {
  switch (type) {
    case 0x01: return "DC";
    case 0x41: return "memory DC";
    case 0x04: return "region";
    case 0x05: return "surface";
    case 0x09: return "bitmap";
    case 0x08: return "palette";
    case 0x0A: return "font";
    case 0x10: return "brush";
    case 0x30: return "pen";
    case 0x50: return "extended pen";
    default: return "kind " + std::to_string(type);
  }
}

// 0 when the table cannot be found or read.
uint32_t CountGdiTable(HANDLE process, std::map<std::string, uint32_t>& kinds) {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
  const BYTE* table = nullptr;
  if (!Read(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table, sizeof table) ||
      !table)
    return 0;
  std::vector<BYTE> entries(kGdiHandleEntries * kGdiEntryBytes);
  if (!Read(process, table, entries.data(), entries.size())) return 0;
  uint32_t live = 0;
  for (size_t i = 0; i < kGdiHandleEntries; ++i) {
    const BYTE type = entries[i * kGdiEntryBytes + kGdiTypeOffset];
    if (!type) continue;
    ++live;
    ++kinds[KindName(type)];
  }
  return live;
}

struct WindowCount {
  DWORD processId;
  uint32_t count;
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam) {
  ++reinterpret_cast<WindowCount*>(lParam)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM lParam) {
  auto& counting = *reinterpret_cast<WindowCount*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != counting.processId) return TRUE;
  ++counting.count;
  EnumChildWindows(hwnd, CountChild, lParam);
  return TRUE;
}

}  // namespace

uint32_t CountWindows(DWORD processId) {
  WindowCount counting{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counting));
  return counting.count;
}

GuiCounts CountGuiObjects(HANDLE process, DWORD processId) {
  GuiCounts counts;
  counts.windows = CountWindows(processId);
  counts.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  counts.user = GetGuiResources(process, GR_USEROBJECTS);
  counts.fromSystem = counts.gdi != 0 || counts.user != 0;
  if (!counts.fromSystem) {
    counts.gdi = CountGdiTable(process, counts.gdiKinds);
    counts.user = counts.windows;
  }
  return counts;
}

}  // namespace kro::randominput
