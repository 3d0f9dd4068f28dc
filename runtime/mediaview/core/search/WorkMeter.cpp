#include "runtime/mediaview/core/search/WorkMeter.h"

namespace kro::search {

// The caller asks for a call every 20 ms of work; kProgressInterval is half that, which
// leaves room for the slowest unit of work between two clock readings. kUnitsPerCheck
// units are a few microseconds of decoding.
WorkMeter::WorkMeter(ProgressCallback progress, WorkClock clock)
    : progress_(std::move(progress)), clock_(std::move(clock)) {}

void WorkMeter::Check() {
  budget_ = kUnitsPerCheck;
  if (!progress_ || stopped_) return;
  if (called_ && clock_() - lastCall_ < kProgressInterval) return;
  called_ = true;
  if (progress_() != 0) stopped_ = true;
  lastCall_ = clock_();
}

}  // namespace kro::search
