#include "runtime/base/HandleTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace kro {
namespace {

struct Thing_;
using ThingHandle = Thing_*;  // as a C interface declares its handles

TEST(HandleTable, StaleHandlesFindNothingEvenWhenTheNextObjectReusesTheMemory) {
  HandleTable<int> table(0x4D);
  const uint32_t first = table.Add(std::make_unique<int>(7));
  EXPECT_EQ(*table.Find(first), 7);
  EXPECT_EQ(*table.Take(first), 7);
  EXPECT_EQ(table.Find(first), nullptr);
  EXPECT_EQ(table.Take(first), nullptr);
  EXPECT_FALSE(table.Remove(first));
  const uint32_t second = table.Add(std::make_unique<int>(8));
  EXPECT_NE(second, first);
  EXPECT_EQ(table.Find(first), nullptr);
  EXPECT_EQ(*table.Find(second), 8);
}

TEST(HandleTable, HandlesOfAnotherKindOrMadeUpFindNothing) {
  HandleTable<int> movies(0x4D), pictures(0x49);
  const uint32_t movie = movies.Add(std::make_unique<int>(1));
  const uint32_t picture = pictures.Add(std::make_unique<int>(2));
  EXPECT_EQ(movie >> 24, 0x4Du);
  EXPECT_EQ(movie & 0xFFFFFF, picture & 0xFFFFFF);  // the same serial: only the kind differs
  EXPECT_EQ(movies.Find(picture), nullptr);
  EXPECT_FALSE(movies.Remove(picture));
  EXPECT_NE(pictures.Find(picture), nullptr);
  for (const uint32_t madeUp : {0u, 1u, movie & 0xFFFFFF, movie + 1, movie | 0x80000000u, 0xFFFFFFFFu})
    EXPECT_EQ(movies.Find(madeUp), nullptr) << std::hex << madeUp;
}

TEST(HandleTable, KindZeroStillNeverAnswersZero) {
  HandleTable<int> table(0);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_NE(table.Add(std::make_unique<int>(0)), 0u);
}

TEST(HandleTable, SerialsWrapPastTheirWidthSkippingOpenOnesAndZero) {
  HandleTable<int, uint32_t, 2> table(0x54);  // serials 1..3
  const uint32_t a = table.Add(std::make_unique<int>(1));
  const uint32_t b = table.Add(std::make_unique<int>(2));
  const uint32_t c = table.Add(std::make_unique<int>(3));
  EXPECT_EQ(std::vector<uint32_t>({a, b, c}), std::vector<uint32_t>({0x54000001, 0x54000002, 0x54000003}));
  table.Remove(b);
  // The serial wraps to 1 and 1 is open: the free one comes next, not 0 or a 4 that would
  // spill into the kind byte.
  EXPECT_EQ(table.Add(std::make_unique<int>(4)), b);
  EXPECT_EQ(*table.Find(a), 1);
  EXPECT_EQ(*table.Find(b), 4);
  EXPECT_EQ(*table.Find(c), 3);
  // Every serial open: refused as memory running out would be, and nothing replaced.
  EXPECT_THROW(table.Add(std::make_unique<int>(5)), std::bad_alloc);
  EXPECT_EQ(table.Size(), 3u);
  EXPECT_EQ(*table.Find(a), 1);
}

TEST(HandleTable, ClearKeepsCountingSoEarlierHandlesStayStale) {
  HandleTable<int> table(0x44);
  const uint32_t before = table.Add(std::make_unique<int>(1));
  table.Clear();
  EXPECT_EQ(table.Size(), 0u);
  const uint32_t after = table.Add(std::make_unique<int>(2));
  EXPECT_NE(after, before);
  EXPECT_EQ(table.Find(before), nullptr);
}

// An object whose destructor looks into its own table, as a controller looks up its movie.
struct Watcher {
  HandleTable<Watcher>* table;
  uint32_t self;
  int* seenDuringDestruction;
  ~Watcher() { *seenDuringDestruction += table->Find(self) != nullptr; }
};

TEST(HandleTable, ObjectsAreUnregisteredBeforeTheyAreDestroyed) {
  HandleTable<Watcher> table(0x43);
  int seen = 0;
  for (int i = 0; i < 3; ++i) {
    auto w = std::make_unique<Watcher>(Watcher{&table, 0, &seen});
    Watcher* raw = w.get();
    raw->self = table.Add(std::move(w));
  }
  const uint32_t first = 0x43000001;
  EXPECT_TRUE(table.Remove(first));
  table.Clear();
  EXPECT_EQ(seen, 0);
}

TEST(HandleTable, PointerTypedHandlesCarryTheNumberAsTheirValue) {
  HandleTable<int, ThingHandle> table(0x57);
  const ThingHandle h = table.Add(std::make_unique<int>(5));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(h), 0x57000001u);
  EXPECT_EQ(*table.Find(h), 5);
  EXPECT_EQ(table.Find(nullptr), nullptr);
  int object = 0;
  EXPECT_EQ(table.Find(reinterpret_cast<ThingHandle>(&object)), nullptr);  // an address is no handle
  if constexpr (sizeof(uintptr_t) > 4) {
    // Bits above the low half make another value, not the handle the low half spells.
    const auto padded = static_cast<uintptr_t>(reinterpret_cast<uintptr_t>(h) | uint64_t{1} << 32);
    EXPECT_EQ(table.Find(reinterpret_cast<ThingHandle>(padded)), nullptr);
    EXPECT_FALSE(table.Remove(reinterpret_cast<ThingHandle>(padded)));
  }
  EXPECT_TRUE(table.Remove(h));
}

}  // namespace
}  // namespace kro
