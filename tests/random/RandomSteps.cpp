#include "tests/random/RandomSteps.h"

#include <algorithm>
#include <charconv>

namespace kro::randominput {

namespace {

// SplitMix64: one multiply-xorshift finaliser over a Weyl sequence; good enough dice and the
// same on every compiler, which the replay of a seed depends on.
constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

StepDice::StepDice(uint64_t seed, uint64_t step) : state_(Mix(seed + kGolden) ^ Mix(step * kGolden + 1)) {}

uint64_t StepDice::Next() { return Mix(state_ += kGolden); }

uint32_t StepDice::Below(uint32_t n) {
  // The high bits times n: no modulo bias worth the name for the small n of a run.
  return n ? static_cast<uint32_t>(((Next() >> 32) * n) >> 32) : 0;
}

size_t StepDice::Weighted(std::span<const uint32_t> weights) {
  uint64_t total = 0;
  for (uint32_t w : weights) total += w;
  if (total == 0) return 0;
  uint64_t roll = Next() % total;
  for (size_t i = 0; i < weights.size(); ++i) {
    if (roll < weights[i]) return i;
    roll -= weights[i];
  }
  return weights.size() - 1;
}

bool GrowsSteadily(std::span<const uint32_t> samples, uint32_t minRise) {
  const size_t n = samples.size();
  if (n < kMinGrowthSamples) return false;
  const std::span<const uint32_t> runs[] = {samples.subspan(0, n / 3), samples.subspan(n / 3, 2 * n / 3 - n / 3),
                                            samples.subspan(2 * n / 3)};
  uint32_t floors[3];
  for (int i = 0; i < 3; ++i) floors[i] = *std::ranges::min_element(runs[i]);
  return floors[1] >= floors[0] + minRise && floors[2] >= floors[1] + minRise;
}

namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc{} && end == text.data() + text.size();
}

bool TakeOption(RunOptions& options, std::string_view name, std::string_view value) {
  if (name == "--log") {
    options.logPath = value;
    return !value.empty();
  }
  uint64_t number = 0;
  if (!ParseNumber(value, number) || number == 0) return false;
  if (name == "--steps") options.steps = number;
  else if (name == "--sample" && number <= UINT32_MAX) options.sampleSeconds = static_cast<uint32_t>(number);
  else return false;
  return true;
}

}  // namespace

OptionsOrError ParseRunOptions(std::span<const std::string_view> args) {
  RunOptions options;
  int positional = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.starts_with("--")) {
      if (i + 1 == args.size()) return {std::nullopt, std::string(arg) + " needs a value"};
      const std::string_view value = args[++i];
      if (!TakeOption(options, arg, value)) return {std::nullopt, "bad option " + std::string(arg) + " " + std::string(value)};
      continue;
    }
    const bool ok = positional == 0   ? (options.program = arg, arg == "player" || arg == "archive")
                    : positional == 1 ? ParseNumber(arg, options.seconds) && options.seconds > 0
                    : positional == 2 ? ParseNumber(arg, options.seed)
                                      : false;
    if (!ok) return {std::nullopt, "bad argument " + std::string(arg)};
    ++positional;
  }
  if (positional == 0) return {std::nullopt, "which program: player or archive"};
  if (options.logPath.empty()) options.logPath = "random-" + options.program + ".log";
  return {options, {}};
}

}  // namespace kro::randominput
