#pragma once
// Standard list and combo boxes filled from, and read back into, a double-zero-terminated
// list of strings ("one\0two\0\0").
#include <windows.h>

#include <span>

namespace kro::toolkit {

enum class ListControl { kListBox, kComboBox };

// Adds each string in order; when there was any, selects the first.
void FillListFromStrings(HWND control, ListControl kind, const char* strings);
// Writes the items in order while they fit, always leaving the list terminated; an item
// that would not fit ends the list.
void ReadListIntoStrings(HWND control, ListControl kind, std::span<char> out);

}  // namespace kro::toolkit
