#include "runtime/quicktime/win32/AudioOut_win.h"

#include "runtime/quicktime/core/Pcm.h"

namespace kro::qt {

bool AudioOut::Start(const AudioTrack& track, ByteSource& source, uint64_t firstFrame) {
  Stop();
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = track.channels;
  format.nSamplesPerSec = track.sampleRate;
  format.wBitsPerSample = OutputBits(track.encoding);
  format.nBlockAlign = WORD(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  if (firstFrame >= track.frameCount ||
      waveOutOpen(&wave_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    wave_ = nullptr;
    return false;
  }
  track_ = &track;
  source_ = &source;
  nextFrame_ = firstFrame;
  queuedFrames_ = 0;
  outputFrameBytes_ = format.nBlockAlign;
  for (int i = 0; i < kBuffers; ++i) {
    headers_[i] = {};
    Fill(i);
  }
  return true;
}

// Queues the next stretch of sound in buffer `index`; false at the end of the track.
bool AudioOut::Fill(int index) {
  const uint32_t frames = track_->sampleRate * kBufferMilliseconds / 1000;
  std::vector<uint8_t>& buffer = buffers_[index];
  buffer.clear();
  const uint32_t got = ReadPcm(*track_, *source_, nextFrame_, frames, buffer);
  if (got == 0) return false;
  nextFrame_ += got;
  WAVEHDR& header = headers_[index];
  header = {};
  header.lpData = reinterpret_cast<LPSTR>(buffer.data());
  header.dwBufferLength = DWORD(buffer.size());
  if (waveOutPrepareHeader(wave_, &header, sizeof header) != MMSYSERR_NOERROR) return false;
  if (waveOutWrite(wave_, &header, sizeof header) != MMSYSERR_NOERROR) {
    waveOutUnprepareHeader(wave_, &header, sizeof header);
    return false;
  }
  queuedFrames_ += got;
  return true;
}

void AudioOut::Pump() {
  if (!wave_) return;
  for (int i = 0; i < kBuffers; ++i) {
    WAVEHDR& header = headers_[i];
    if ((header.dwFlags & WHDR_PREPARED) && (header.dwFlags & WHDR_DONE)) {
      waveOutUnprepareHeader(wave_, &header, sizeof header);
      header.dwFlags = 0;
      Fill(i);
    }
  }
}

void AudioOut::Stop() {
  if (!wave_) return;
  waveOutReset(wave_);  // marks every queued buffer done
  for (WAVEHDR& header : headers_) {
    if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(wave_, &header, sizeof header);
    header = {};
  }
  waveOutClose(wave_);
  wave_ = nullptr;
}

uint64_t AudioOut::PlayedFrames() const {
  if (!wave_) return 0;
  MMTIME position{};
  position.wType = TIME_SAMPLES;
  if (waveOutGetPosition(wave_, &position, sizeof position) != MMSYSERR_NOERROR) return 0;
  if (position.wType == TIME_SAMPLES) return position.u.sample;
  if (position.wType == TIME_BYTES && outputFrameBytes_) return position.u.cb / outputFrameBytes_;
  return 0;
}

bool AudioOut::Finished() const {
  return wave_ && nextFrame_ >= track_->frameCount && PlayedFrames() >= queuedFrames_;
}

}  // namespace kro::qt
