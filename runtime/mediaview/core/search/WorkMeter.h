#pragma once
// Counts the work of a running query and calls the caller's progress callback at least
// every kProgressIntervalMs of it; a non-zero answer stops the query.
#include <chrono>
#include <cstdint>
#include <functional>

namespace kro::search {

// Answers non-zero to stop the query.
using ProgressCallback = std::function<int()>;

class WorkMeter {
public:
  explicit WorkMeter(ProgressCallback progress);

  // `units` are documents or terms handled; the clock is read only every few thousand.
  void Tick(uint32_t units) {
    budget_ -= static_cast<int32_t>(units);
    if (budget_ <= 0) Check();
  }
  bool stopped() const { return stopped_; }

private:
  void Check();

  ProgressCallback progress_;
  std::chrono::steady_clock::time_point lastCall_;
  int32_t budget_;
  bool stopped_ = false;
};

}  // namespace kro::search
