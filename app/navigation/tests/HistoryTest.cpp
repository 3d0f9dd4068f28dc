#include "app/navigation/History.h"

#include <gtest/gtest.h>

namespace kro::navigation {
namespace {

Position At(int32_t address) {
  Position p;
  p.address = address;
  p.name = "Статья " + std::to_string(address);
  return p;
}

TEST(History, BackWalksFromNewestToOldestThoughEveryStepRecords) {
  History h;
  for (int a : {1, 2, 3}) h.Record(At(a));
  std::vector<int32_t> shown;
  Position current = At(4);
  while (auto target = h.GoBack(current)) {
    shown.push_back(target->address);
    current = *target;
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{3, 2, 1}));
  EXPECT_EQ(h.Cursor(), -1);
  EXPECT_EQ(h.Last(), 5);  // 1 2 3, then the positions left: 4 3 2
}

TEST(History, EmptyHistoryDoesNothing) {
  History h;
  EXPECT_FALSE(h.GoBack(At(1)));
  EXPECT_EQ(h.Last(), -1);
}

TEST(History, TheFiveHundredAndFirstRecordingDropsTheOldest) {
  History h;
  for (int a = 0; a < 501; ++a) h.Record(At(a));
  EXPECT_EQ(h.Last(), 499);
  EXPECT_EQ(h.At(0).address, 1);
  EXPECT_EQ(h.At(499).address, 500);
  // Back from a full list: the recording shifts the list, and the cursor follows.
  const auto target = h.GoBack(At(1000));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->address, 500);
  EXPECT_EQ(h.At(h.Cursor()).address, 499);
  EXPECT_EQ(h.GoBack(At(1001))->address, 499);
}

TEST(History, ListsNewestFirstAndNamelessTopicsByNumber) {
  History h;
  h.Record(At(1));
  Position nameless;
  nameless.topicNumber = 42;
  h.Record(nameless);
  EXPECT_EQ(h.ListTexts(), (std::vector<std::string>{"Topic #42", "Статья 1"}));
  EXPECT_EQ(h.Stored(1).named, 0);
  EXPECT_EQ(h.Stored(1).nameOrNumber, 42);
  EXPECT_EQ(h.Stored(0).named, 1);
  h.Clear();
  EXPECT_EQ(h.Last(), -1);
  EXPECT_EQ(h.Cursor(), -1);
}

}  // namespace
}  // namespace kro::navigation
