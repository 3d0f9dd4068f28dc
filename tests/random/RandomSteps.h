#pragma once
// The dice of a random-input run and the judgement of its resource samples. Portable.
//
// Every step draws from a stream of its own, made from the run's seed and the step's
// number alone: what earlier steps happened to draw (or skip) never shifts a later one,
// so a failed run is replayed from its seed and stops at the step it names.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kro::randominput {

class StepDice {
public:
  StepDice(uint64_t seed, uint64_t step);
  uint64_t Next();
  // Uniform in [0, n); 0 when n is 0.
  uint32_t Below(uint32_t n);
  // An index drawn in proportion to `weights`; 0 when every weight is 0.
  size_t Weighted(std::span<const uint32_t> weights);

private:
  uint64_t state_;
};

// Steady growth of a count sampled over one life of the program: cut into three consecutive
// runs, the floor (lowest sample) of each stands at least `minRise` above the floor of the
// one before. What an open dialog costs lifts some samples and leaves others, and what the
// first paint of each window costs is one rise followed by a plateau; a leak lifts the floor
// again and again. Two samples a run at least, so that one odd sample decides nothing.
inline constexpr size_t kMinGrowthSamples = 6;
bool GrowsSteadily(std::span<const uint32_t> samples, uint32_t minRise);

// What one run is asked to do: `program` for `seconds` (or exactly `steps` steps when
// given, for a replay) from `seed`, sampling the resource counts every `sampleSeconds`.
struct RunOptions {
  std::string program;
  uint32_t seconds = 60;
  uint64_t seed = 1;
  std::optional<uint64_t> steps;
  uint32_t sampleSeconds = 60;
  std::string logPath;
};

// The command line without the program's own name:
//   PROGRAM [SECONDS [SEED]] [--steps N] [--sample SECONDS] [--log FILE]
// The error names what was refused.
struct OptionsOrError {
  std::optional<RunOptions> options;
  std::string error;
};
OptionsOrError ParseRunOptions(std::span<const std::string_view> args);

}  // namespace kro::randominput
