#include "runtime/mediaview/core/search/WorkMeter.h"

#include <gtest/gtest.h>

namespace kro::search {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
constexpr int32_t kUnits = WorkMeter::kUnitsPerCheck;

// A clock that moves only when the test moves it.
struct FakeClock {
  steady_clock::time_point now{};
  int readings = 0;
  WorkClock Reader() {
    return [this] { return ++readings, now; };
  }
};

TEST(WorkMeter, CallsAtTheFirstReadingThenOncePerIntervalOfWork) {
  const struct {
    int advanceMs;
    int32_t units;
    int calls;
  } kSteps[] = {
      {0, kUnits - 1, 0},     // the clock is not read before a reading's worth of work
      {0, 1, 1},              // the first reading calls at once
      {9, kUnits, 1},         // 9 ms after the call: not due
      {1, kUnits - 1, 1},     // due, but not read until the units run out
      {0, 1, 2},              // read: due
      {500, 10 * kUnits, 3},  // one large piece of work is one reading and one call
      {10, kUnits, 4},
      {0, kUnits, 4},
  };
  FakeClock clock;
  int calls = 0;
  WorkMeter meter([&] { return ++calls, 0; }, clock.Reader());
  int step = 0;
  for (const auto& s : kSteps) {
    clock.now += milliseconds(s.advanceMs);
    meter.Tick(static_cast<uint32_t>(s.units));
    EXPECT_EQ(calls, s.calls) << "step " << step++;
  }
  EXPECT_FALSE(meter.stopped());
  // One reading per check but the first, and one after each call: the clock is not read
  // per unit of work.
  EXPECT_EQ(clock.readings, 9);
}

TEST(WorkMeter, ANonZeroAnswerStopsForGood) {
  FakeClock clock;
  int calls = 0;
  WorkMeter meter([&] { return ++calls == 2 ? 1 : 0; }, clock.Reader());
  for (int i = 0; i < 5; ++i) {
    clock.now += milliseconds(20);
    meter.Tick(kUnits);
  }
  EXPECT_TRUE(meter.stopped());
  EXPECT_EQ(calls, 2);
}

TEST(WorkMeter, WithoutACallbackNothingIsCalledOrStopped) {
  FakeClock clock;
  WorkMeter meter(nullptr, clock.Reader());
  meter.Tick(100 * kUnits);
  EXPECT_FALSE(meter.stopped());
  EXPECT_EQ(clock.readings, 0);
}

}  // namespace
}  // namespace kro::search
