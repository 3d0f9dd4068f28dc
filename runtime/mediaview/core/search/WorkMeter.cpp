#include "runtime/mediaview/core/search/WorkMeter.h"

namespace kro::search {
namespace {

// The caller asks for a call every 20 ms of work; half that leaves room for the slowest
// unit of work between two clock readings.
constexpr auto kProgressInterval = std::chrono::milliseconds(10);
// Units between clock readings: a few microseconds of decoding.
constexpr int32_t kUnitsPerCheck = 2048;

}  // namespace

WorkMeter::WorkMeter(ProgressCallback progress)
    : progress_(std::move(progress)), lastCall_(std::chrono::steady_clock::now()), budget_(kUnitsPerCheck) {}

void WorkMeter::Check() {
  budget_ = kUnitsPerCheck;
  if (!progress_ || stopped_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastCall_ < kProgressInterval) return;
  if (progress_() != 0) stopped_ = true;
  lastCall_ = std::chrono::steady_clock::now();
}

}  // namespace kro::search
