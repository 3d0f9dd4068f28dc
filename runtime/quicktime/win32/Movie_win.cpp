#include "runtime/quicktime/win32/Movie_win.h"

#include <algorithm>

#include "runtime/quicktime/QtDispatch.h"

namespace kro::qt {

constexpr uint32_t kMaxSoundLagMilliseconds = 500;

std::unique_ptr<Movie> Movie::Open(UniqueFile file, int32_t* error) {
  std::unique_ptr<Movie> movie(new Movie(std::move(file)));
  auto parse = ParseMovie(movie->source_);
  if (!parse) {
    *error = kErrBadMovie;
    return nullptr;
  }
  movie->container_ = *std::move(parse);
  *error = kErrNone;
  return movie;
}

uint64_t Movie::ElapsedUnits() const {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  const uint64_t ticks = uint64_t(now.QuadPart - started_.QuadPart);
  uint64_t units = ticks / uint64_t(frequency.QuadPart) * TimeScale() +
                   ticks % uint64_t(frequency.QuadPart) * TimeScale() / uint64_t(frequency.QuadPart);
  if (audio_.Active() && !audio_.Finished()) {
    const uint64_t played = audio_.PlayedFrames();
    const uint32_t rate = container_.audio->sampleRate;
    const uint64_t heard = played / rate * TimeScale() + played % rate * TimeScale() / rate;
    // Never ahead of the wall clock, and never so far behind it that a stalled device
    // could hold the movie (and whoever waits for its end) forever.
    const uint64_t maxLag = uint64_t(kMaxSoundLagMilliseconds) * TimeScale() / 1000;
    units = std::clamp(heard, units > maxLag ? units - maxLag : 0, units);
  }
  return units;
}

uint32_t Movie::Time() const {
  if (!playing_) return time_;
  return uint32_t(std::min<uint64_t>(time_ + ElapsedUnits(), Duration()));
}

// The wall clock starts once the sound is queued: opening a device can take a while.
void Movie::StartClock() {
  if (container_.audio) {
    const uint64_t frame = uint64_t(time_) * container_.audio->sampleRate / TimeScale();
    audio_.Start(*container_.audio, source_, frame);
  }
  QueryPerformanceCounter(&started_);
}

void Movie::Play() {
  if (playing_) return;
  if (time_ >= Duration()) time_ = 0;  // play at the end starts over, as a player's button does
  if (Duration() == 0) return;
  playing_ = true;
  StartClock();
}

void Movie::Stop() {
  if (!playing_) return;
  time_ = Time();
  playing_ = false;
  audio_.Stop();
}

void Movie::SetTime(uint32_t time) {
  const bool wasPlaying = playing_;
  Stop();
  time_ = std::min(time, Duration());
  if (wasPlaying) Play();
}

void Movie::Tick() {
  if (!playing_) return;
  audio_.Pump();
  if (Time() >= Duration()) {
    Stop();
    time_ = Duration();
  }
}

uint32_t Movie::SampleAt(uint32_t time) const {
  if (!container_.video) return 0;
  const VideoTrack& video = *container_.video;
  return video.SampleAt(uint64_t(time) * video.timeScale / TimeScale());
}

const Bitmap* Movie::FrameAt(uint32_t time, Wic& wic) {
  if (!container_.video) return nullptr;
  const uint32_t sample = SampleAt(time);
  if (sample != decodedSample_) {
    const SampleRef& ref = container_.video->samples[sample];
    sampleBytes_.resize(ref.sizeBytes);
    Bitmap decoded;
    // A frame that fails to decode leaves the previous one on show (and is not retried).
    if (source_.Read(ref.offset, sampleBytes_) && wic.Decode(sampleBytes_, &decoded))
      frame_ = std::move(decoded);
    decodedSample_ = sample;
  }
  return frame_.pixels.empty() ? nullptr : &frame_;
}

}  // namespace kro::qt
