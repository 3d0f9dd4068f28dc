#include "app/toolkit/ListStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/toolkit/GlobalBlock.h"

namespace kro::toolkit {
namespace {

struct Control {
  HWND hwnd;
  explicit Control(const char* className, DWORD style)
      : hwnd(CreateWindowExA(0, className, "", WS_POPUP | style, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr)) {}
  ~Control() { DestroyWindow(hwnd); }
};

constexpr char kCities[] = "Москва\0Санкт-Петербург\0Киев\0";  // plus the literal's zero

TEST(ListStrings, FillsAndReadsBackBothKindsOfControl) {
  Control list("LISTBOX", 0);
  Control combo("COMBOBOX", CBS_DROPDOWNLIST);
  const struct {
    HWND hwnd;
    ListControl kind;
    UINT count, selection;
  } kCases[] = {{list.hwnd, ListControl::kListBox, LB_GETCOUNT, LB_GETCURSEL},
                {combo.hwnd, ListControl::kComboBox, CB_GETCOUNT, CB_GETCURSEL}};
  for (const auto& c : kCases) {
    FillListFromStrings(c.hwnd, c.kind, kCities);
    EXPECT_EQ(SendMessageA(c.hwnd, c.count, 0, 0), 3);
    EXPECT_EQ(SendMessageA(c.hwnd, c.selection, 0, 0), 0);
    char out[64];
    std::memset(out, '#', sizeof out);
    ReadListIntoStrings(c.hwnd, c.kind, out);
    EXPECT_EQ(std::string(out, sizeof kCities), std::string(kCities, sizeof kCities));
  }
}

TEST(ListStrings, EmptyListSelectsNothing) {
  Control list("LISTBOX", 0);
  FillListFromStrings(list.hwnd, ListControl::kListBox, "\0");
  EXPECT_EQ(SendMessageA(list.hwnd, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list.hwnd, LB_GETCURSEL, 0, 0), LB_ERR);
  char out[4] = {'#', '#', '#', '#'};
  ReadListIntoStrings(list.hwnd, ListControl::kListBox, out);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(out[1], '\0');
}

TEST(ListStrings, ReadingStopsAtTheFirstItemThatDoesNotFit) {
  Control list("LISTBOX", 0);
  FillListFromStrings(list.hwnd, ListControl::kListBox, kCities);
  // "Москва\0" takes 7 bytes; "Санкт-Петербург\0" would need 16 more plus the closing zero.
  char out[24];
  std::memset(out, '#', sizeof out);
  ReadListIntoStrings(list.hwnd, ListControl::kListBox, std::span(out, 20));
  EXPECT_EQ(std::string(out, 8), std::string("Москва\0\0", 8));
  EXPECT_EQ(std::string(out + 20, 4), "####");  // never past the span
}

TEST(GlobalBlock, IsZeroedMovableAndFreed) {
  auto* block = static_cast<uint8_t*>(AllocateGlobalBlock(100));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[0] | block[99], 0);
  const HGLOBAL handle = GlobalHandle(block);
  ASSERT_NE(handle, nullptr);
  EXPECT_GE(GlobalSize(handle), 100u);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 1u);
  FreeGlobalBlock(block);
  FreeGlobalBlock(nullptr);
}

}  // namespace
}  // namespace kro::toolkit
