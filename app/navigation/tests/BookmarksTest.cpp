#include "app/navigation/Bookmarks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kro::navigation {
namespace {

HistoryEntry At(int32_t address) { return {0, address, 3, 1, 0, 0}; }

TEST(BookmarkTable, HoldsThirtyTwoAndRefusesTheNext) {
  BookmarkTable table;
  for (int i = 0; i < 32; ++i) ASSERT_TRUE(table.Add("Закладка " + std::to_string(i), At(i)));
  EXPECT_EQ(table.Last(), 31);
  EXPECT_FALSE(table.Add("лишняя", At(99)));
  EXPECT_EQ(table.Last(), 31);
  EXPECT_EQ(table.At(31).entry.address, 31);
}

TEST(BookmarkTable, DeleteMovesTheLaterOnesDown) {
  BookmarkTable table;
  for (int i = 0; i < 3; ++i) table.Add(std::string(1, static_cast<char>('a' + i)), At(i));
  table.Delete(1);
  EXPECT_EQ(table.Names(), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(table.At(1).entry.address, 2);
  table.Delete(5);  // out of range: nothing
  table.Delete(-1);
  EXPECT_EQ(table.Last(), 1);
}

// The names block holds 4095 bytes of names with their NULs: a name that would overrun it
// is cut to what is left, and a later one comes back empty rather than shifting the names
// against their positions.
TEST(BookmarkTable, NamesCopiedBackStayWithinTheBlockAndBesideTheirPositions) {
  BookmarkTable table;
  for (int i = 0; i < 10; ++i) table.Add("x", At(i));
  std::vector<std::string> names(10, std::string(511, 'n'));
  names[0] = std::string(40, 'w');  // 40 characters stay whole during the run
  table.SetNames(names);
  size_t used = 0;
  for (const std::string& name : table.Names()) used += name.size() + 1;
  EXPECT_LE(used + 1, BookmarkTable::kNamesBlockBytes);
  EXPECT_EQ(table.At(0).name, std::string(40, 'w'));
  EXPECT_EQ(table.At(7).name.size(), 511u);
  EXPECT_EQ(table.At(8).name.size(), 4095u - 41 - 7 * 512 - 2);  // what was left, less two NULs
  EXPECT_EQ(table.At(9).name, "");
  EXPECT_EQ(table.At(9).entry.address, 9);
}

TEST(BookmarkTable, LoadedBookmarksTakeTheOpenTitle) {
  BookmarkTable table;
  std::vector<Bookmark> marks(34, Bookmark{"m", {1, 5, 0, 0, 3, 777}});
  table.Load(marks, 42);
  EXPECT_EQ(table.Last(), 31);  // never more than the table holds
  EXPECT_EQ(table.At(0).entry.title, 42);
  EXPECT_EQ(table.At(31).entry.title, 42);
}

}  // namespace
}  // namespace kro::navigation
