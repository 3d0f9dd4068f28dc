#pragma once
// PCM sound through waveOut without callbacks or threads: the controller's timer calls
// Pump() to refill the buffers the device has finished with. Start() fails when there is
// no audio device (as under a headless X server); the movie then runs on a silent clock.
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/quicktime/core/MovieContainer.h"

namespace kro::qt {

class AudioOut {
public:
  AudioOut() = default;
  ~AudioOut() { Stop(); }
  AudioOut(const AudioOut&) = delete;
  AudioOut& operator=(const AudioOut&) = delete;

  bool Start(const AudioTrack& track, ByteSource& source, uint64_t firstFrame);
  void Stop();
  void Pump();
  bool Active() const { return wave_ != nullptr; }
  // Frames the device has played since Start.
  uint64_t PlayedFrames() const;
  // Every frame of the track has been handed over and played.
  bool Finished() const;

private:
  static constexpr int kBuffers = 4;
  static constexpr uint32_t kBufferMilliseconds = 250;
  bool Fill(int index);

  HWAVEOUT wave_ = nullptr;
  const AudioTrack* track_ = nullptr;
  ByteSource* source_ = nullptr;
  uint64_t nextFrame_ = 0;
  uint64_t queuedFrames_ = 0;
  uint32_t outputFrameBytes_ = 0;
  std::array<WAVEHDR, kBuffers> headers_{};
  std::array<std::vector<uint8_t>, kBuffers> buffers_;
};

}  // namespace kro::qt
