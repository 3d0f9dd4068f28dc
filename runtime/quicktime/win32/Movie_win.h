#pragma once
// One open movie: its sample tables, its clock and its decoded current frame. The clock is
// the sound device's position when there is sound and a device, never running ahead of
// the wall clock (some devices consume sound faster than real time) nor more than half a
// second behind it; otherwise the wall clock alone. Time is in movie units and stops at
// the duration.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/quicktime/core/MovieContainer.h"
#include "runtime/quicktime/win32/AudioOut_win.h"
#include "runtime/quicktime/win32/FileSource_win.h"
#include "runtime/quicktime/win32/Wic_win.h"

namespace kro::qt {

class Movie {
public:
  // Reads the movie's tables through its own handle; 0 in *error on success.
  static std::unique_ptr<Movie> Open(UniqueFile file, int32_t* error);

  uint32_t Duration() const { return container_.duration; }
  uint32_t TimeScale() const { return container_.timeScale; }
  uint32_t PosterTime() const { return container_.posterTime; }
  int Width() const { return int(container_.width); }
  int Height() const { return int(container_.height); }
  bool HasVideo() const { return container_.video.has_value(); }

  uint32_t Time() const;
  void SetTime(uint32_t time);
  void Play();
  void Stop();
  bool Playing() const { return playing_; }
  // Called from the controller's timer: keeps the sound fed and stops at the end.
  void Tick();

  // The frame on show at `time`, decoded on demand; null when there is no picture.
  const Bitmap* FrameAt(uint32_t time, Wic& wic);
  // Index of the video sample on show at `time` (0 without video).
  uint32_t SampleAt(uint32_t time) const;

private:
  explicit Movie(UniqueFile file) : source_(std::move(file)) {}
  uint64_t ElapsedUnits() const;
  void StartClock();

  FileSource source_;
  MovieContainer container_;
  AudioOut audio_;
  bool playing_ = false;
  uint32_t time_ = 0;             // when stopped: the time; when playing: the start time
  LARGE_INTEGER started_{};       // performance counter when play began
  int64_t decodedSample_ = -1;
  Bitmap frame_;
  std::vector<uint8_t> sampleBytes_;
};

}  // namespace kro::qt
