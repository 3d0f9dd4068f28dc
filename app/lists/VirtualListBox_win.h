#pragma once
// The virtual list box: a list-box-like control for lists too long to load. It keeps only
// the visible page in an inner list box and asks its owner for every item through
// request messages carrying a VlbRecord.
#include <windows.h>

#include <cstdint>

namespace kro::lists {

constexpr const char* kVirtualListBoxClass = "VirtualListBox";

// Request record between the control and its owner.
struct VlbRecord {
  int32_t controlId;
  int32_t status;  // the owner's answer: 0 done, anything else no such item
  int32_t data;
  int32_t index;
  const char* text;        // the owner's text, valid until the request returns
  const char* findString;  // search requests only
};

// Messages to the control.
enum VlbMessage : UINT {
  kVlbReset = WM_USER + 500,
  kVlbSetSelection,
  kVlbGetSelection,
  kVlbGetText,  // lParam: caller's record whose text points at a buffer of wParam bytes (0: of
                // the text length plus one, as list boxes size theirs)
  kVlbGetTextLength,
  kVlbGetCount,
  kVlbSelectString,
  kVlbFindStringExact,
  kVlbGetItemRect,
  kVlbGetItemData,
  kVlbSetItemData,
  kVlbSetItemHeight,
  kVlbGetItemHeight,
  kVlbFindString,
  kVlbInitialise,
  kVlbSetTabStops,
  kVlbGetTop,
  kVlbSetTop,
  kVlbGetHorizontalExtent,
  kVlbSetHorizontalExtent,
  kVlbRefresh,
  kVlbGetVisibleRows,
  kVlbScrollDown,
  kVlbScrollUp,
};

// Requests to the owner (wParam 0, lParam the record); kVlbSetSelection's wParam uses the
// item requests (first, previous, next, last, at) to say how to move.
enum VlbRequest : UINT {
  kVlbFindExactRequest = WM_USER + 600,
  kVlbFindRequest = WM_USER + 601,
  kVlbGetDataRequest = WM_USER + 603,
  kVlbGetTextRequest = WM_USER + 604,
  kVlbGetTextLengthRequest = WM_USER + 605,
  kVlbFirstItem = WM_USER + 606,
  kVlbPreviousItem = WM_USER + 607,
  kVlbNextItem = WM_USER + 608,
  kVlbLastItem = WM_USER + 609,
  kVlbItemAt = WM_USER + 610,
  kVlbCountRequest = WM_USER + 611,
  kVlbItemAtPercentage = WM_USER + 612,
};

// Notifications to the owner (wParam the control id).
constexpr UINT kVlbItemLeftPage = WM_USER + 700;  // lParam: the item's index (data in data mode)
constexpr UINT kVlbPageEmptied = WM_USER + 701;

// Control styles of our own beside the LBS_ ones.
constexpr DWORD kVlbFramed = 0x4000;
constexpr DWORD kVlbDataMode = 0x8000;

bool RegisterVirtualListBoxClass(HINSTANCE instance);

}  // namespace kro::lists

// Exported by name from the program.
extern "C" {
__declspec(dllexport) LRESULT CALLBACK VListBoxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
__declspec(dllexport) LRESULT CALLBACK LBSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}
