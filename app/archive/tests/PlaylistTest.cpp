#include "app/archive/Playlist.h"

#include <gtest/gtest.h>

namespace kro::archive {
namespace {

Playlist Ticking(std::initializer_list<uint32_t> ids) {
  Playlist playlist;
  for (uint32_t id : ids) playlist.OnEntryChecked(id, 1);
  return playlist;
}

TEST(Playlist, KeepsTheTickOrderAndIgnoresEntriesThatAreNotMovies) {
  Playlist playlist = Ticking({5, 2, 9, 0, 101, 1, 100});
  EXPECT_EQ(playlist.Ticked(), (std::vector<int32_t>{4, 1, 8, 0, 99}));
  playlist.OnEntryChecked(0, 0);
  playlist.OnEntryChecked(101, 0);
  playlist.OnEntryChecked(5, 2);  // neither ticked nor unticked
  EXPECT_EQ(playlist.Ticked().size(), 5u);
}

TEST(Playlist, UntickingRemovesTheFirstOccurrenceAndClosesTheGap) {
  Playlist playlist = Ticking({5, 2, 9, 2});
  playlist.OnEntryChecked(2, 0);
  EXPECT_EQ(playlist.Ticked(), (std::vector<int32_t>{4, 8, 1}));
  playlist.OnEntryChecked(7, 0);  // never ticked
  EXPECT_EQ(playlist.Ticked(), (std::vector<int32_t>{4, 8, 1}));
}

TEST(Playlist, NeverHoldsMoreThanAHundredRecords) {
  Playlist playlist;
  for (int round = 0; round < 3; ++round)
    for (uint32_t id = 1; id <= 100; ++id) playlist.OnEntryChecked(id, 1);
  EXPECT_EQ(playlist.Count(), kMaxTicked);
}

TEST(Playlist, StepsThroughTheTickedRecordsAndStopsAtBothEnds) {
  Playlist playlist = Ticking({5, 2, 9});
  EXPECT_EQ(playlist.Start(), 4);
  EXPECT_FALSE(playlist.HasPrevious());
  EXPECT_TRUE(playlist.HasNext());
  EXPECT_EQ(playlist.Previous(), std::nullopt);
  EXPECT_EQ(playlist.Next(), 1);
  EXPECT_EQ(playlist.Next(), 8);
  EXPECT_FALSE(playlist.HasNext());
  EXPECT_EQ(playlist.Next(), std::nullopt);
  EXPECT_EQ(playlist.Position(), 2u);
  EXPECT_EQ(playlist.Previous(), 1);
  EXPECT_TRUE(playlist.HasPrevious());
  EXPECT_EQ(playlist.Start(), 4);
}

TEST(Playlist, AnEmptyListStartsNothing) {
  Playlist playlist;
  EXPECT_EQ(playlist.Start(), std::nullopt);
  EXPECT_FALSE(playlist.HasNext());
  EXPECT_FALSE(playlist.HasPrevious());
}

TEST(Playlist, UntickingBehindThePositionKeepsTheStepsInRange) {
  Playlist playlist = Ticking({1, 2, 3});
  playlist.Start();
  playlist.Next();
  playlist.Next();
  playlist.OnEntryChecked(3, 0);
  playlist.OnEntryChecked(2, 0);
  EXPECT_FALSE(playlist.HasNext());
  EXPECT_FALSE(playlist.HasPrevious());
  EXPECT_EQ(playlist.Next(), std::nullopt);
}

}  // namespace
}  // namespace kro::archive
