#pragma once
// Counts the work of a running query and calls the caller's progress callback: at the
// first clock reading (so any query of more than kUnitsPerCheck units calls it at least
// once), then at least every kProgressInterval of work; a non-zero answer stops the query.
#include <chrono>
#include <cstdint>
#include <functional>

namespace kro::search {

// Answers non-zero to stop the query.
using ProgressCallback = std::function<int()>;
using WorkClock = std::function<std::chrono::steady_clock::time_point()>;

class WorkMeter {
public:
  static constexpr auto kProgressInterval = std::chrono::milliseconds(10);
  static constexpr int32_t kUnitsPerCheck = 2048;

  // `clock` is read every kUnitsPerCheck units; the steady clock unless a test gives one.
  explicit WorkMeter(ProgressCallback progress, WorkClock clock = std::chrono::steady_clock::now);

  // `units` are documents or terms handled; the clock is read only every few thousand.
  void Tick(uint32_t units) {
    budget_ -= static_cast<int32_t>(units);
    if (budget_ <= 0) Check();
  }
  bool stopped() const { return stopped_; }

private:
  void Check();

  ProgressCallback progress_;
  WorkClock clock_;
  std::chrono::steady_clock::time_point lastCall_{};
  int32_t budget_ = kUnitsPerCheck;
  bool called_ = false;
  bool stopped_ = false;
};

}  // namespace kro::search
