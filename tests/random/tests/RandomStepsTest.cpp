#include "tests/random/RandomSteps.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

namespace kro::randominput {
namespace {

TEST(StepDiceTest, AStepDrawsTheSameFromItsSeedAndNumberAloneAndOthersDrawDifferently) {
  StepDice first(7, 412), again(7, 412), nextStep(7, 413), otherSeed(8, 412);
  const uint64_t value = first.Next();
  EXPECT_EQ(again.Next(), value);
  EXPECT_NE(nextStep.Next(), value);
  EXPECT_NE(otherSeed.Next(), value);
  // Logged seeds are replayed by later builds: the stream itself must not change.
  EXPECT_EQ(StepDice(1, 1).Next(), 0xE220A8397B1DCDAFull);
}

TEST(StepDiceTest, BelowStaysInRangeAndReachesEveryValue) {
  std::set<uint32_t> seen;
  for (uint64_t step = 0; step < 2000; ++step) {
    StepDice dice(3, step);
    const uint32_t value = dice.Below(7);
    ASSERT_LT(value, 7u);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 7u);
  StepDice dice(3, 0);
  EXPECT_EQ(dice.Below(0), 0u);
  EXPECT_EQ(dice.Below(1), 0u);
}

TEST(StepDiceTest, WeightedFollowsTheWeightsAndNeverPicksAZeroWeight) {
  constexpr std::array<uint32_t, 4> kWeights = {30, 0, 60, 10};
  std::array<int, 4> picked{};
  constexpr int kDraws = 20000;
  for (int step = 0; step < kDraws; ++step) {
    StepDice dice(11, step);
    ++picked[dice.Weighted(kWeights)];
  }
  EXPECT_EQ(picked[1], 0);
  EXPECT_NEAR(picked[0], kDraws * 0.3, kDraws * 0.02);
  EXPECT_NEAR(picked[2], kDraws * 0.6, kDraws * 0.02);
  EXPECT_NEAR(picked[3], kDraws * 0.1, kDraws * 0.02);
  StepDice dice(11, 0);
  EXPECT_EQ(dice.Weighted(std::array<uint32_t, 2>{0, 0}), 0u);
}

TEST(GrowsSteadilyTest, OnlyAFloorThatRisesThroughEveryThirdCountsAsALeak) {
  struct Case {
    const char* what;
    std::vector<uint32_t> samples;
    bool grows;
  };
  const Case cases[] = {
      {"no samples", {}, false},
      {"too few to judge", {100, 200, 300, 400, 500}, false},
      {"a leak", {100, 130, 160, 190, 220, 250}, true},
      {"a leak at the smallest judged rise", {100, 100, 150, 150, 200, 200}, true},
      {"just below it", {100, 100, 150, 150, 199, 199}, false},
      {"a dialog opened and closed", {100, 180, 100, 180, 100, 180}, false},
      {"the first paints, then a plateau", {270, 500, 495, 497, 498, 504}, false},
      {"a climb too small to matter", {100, 110, 120, 130, 140, 150}, false},
      {"a climb that stops in the middle", {100, 150, 300, 310, 305, 320, 300, 350}, false},
      {"a leak behind an open dialog", {100, 300, 160, 320, 340, 420, 460, 480}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(GrowsSteadily(c.samples, 50), c.grows) << c.what;
}

TEST(RunOptionsTest, ReadsTheProgramSecondsSeedAndOptions) {
  const std::vector<std::string_view> full = {"archive", "600", "42", "--steps", "812", "--sample", "20", "--log", "x.log"};
  const OptionsOrError parsed = ParseRunOptions(full);
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->program, "archive");
  EXPECT_EQ(parsed.options->seconds, 600u);
  EXPECT_EQ(parsed.options->seed, 42u);
  EXPECT_EQ(parsed.options->steps, 812u);
  EXPECT_EQ(parsed.options->sampleSeconds, 20u);
  EXPECT_EQ(parsed.options->logPath, "x.log");

  const std::vector<std::string_view> bare = {"player"};
  const OptionsOrError defaults = ParseRunOptions(bare);
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->seconds, 60u);
  EXPECT_EQ(defaults.options->seed, 1u);
  EXPECT_FALSE(defaults.options->steps);
  EXPECT_EQ(defaults.options->logPath, "random-player.log");
}

TEST(RunOptionsTest, RefusesWhatItCannotRun) {
  const std::vector<std::vector<std::string_view>> refused = {
      {},
      {"notepad"},
      {"player", "0"},
      {"player", "60s"},
      {"player", "60", "-1"},
      {"player", "60", "1", "2"},
      {"player", "--steps", "0"},
      {"player", "--sample"},
      {"player", "--speed", "9"},
  };
  for (const auto& args : refused) {
    const OptionsOrError parsed = ParseRunOptions(args);
    EXPECT_FALSE(parsed.options) << (args.empty() ? "(none)" : args.back());
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace kro::randominput
