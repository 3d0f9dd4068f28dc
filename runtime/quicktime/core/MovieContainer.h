#pragma once
// Reader of QuickTime movie files: the sample tables of the first video track and the first
// PCM audio track, enough to play Photo-JPEG / Motion-JPEG A video with PCM sound.
// Portable; the grammar it accepts is described at the top of MovieContainer.cpp.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/base/Result.h"

namespace kro::qt {

constexpr uint32_t Fourcc(const char (&text)[5]) {
  return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 |
         uint32_t(uint8_t(text[2])) << 8 | uint32_t(uint8_t(text[3]));
}
std::string FourccText(uint32_t code);

// Random access to the bytes of a movie file, so that playing never needs the whole file
// in memory: the parser reads the atom headers and the movie atom, the player reads one
// sample at a time.
class ByteSource {
public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Fills `out` from `offset`; false when the bytes are not all there.
  virtual bool Read(uint64_t offset, std::span<uint8_t> out) = 0;
};

class MemorySource : public ByteSource {
public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, std::span<uint8_t> out) override;

private:
  std::span<const uint8_t> bytes_;
};

struct SampleRef {
  uint64_t offset;
  uint32_t sizeBytes;
};

struct VideoTrack {
  uint32_t codec = 0;              // 'jpeg' or 'mjpa' are the ones we decode
  uint16_t width = 0, height = 0;  // from the sample description
  uint32_t timeScale = 0;          // media units per second
  uint64_t mediaDuration = 0;      // in media units
  std::vector<SampleRef> samples;
  std::vector<uint64_t> sampleTimes;  // start of each sample, media units, ascending
  std::vector<uint32_t> syncSamples;  // 1-based; empty means every sample is a key frame

  // The sample on show at `mediaTime` (the last one for times past the end).
  uint32_t SampleAt(uint64_t mediaTime) const;
};

enum class PcmEncoding { Unsigned8, Signed8, Signed16BE, Signed16LE };

struct AudioChunk {
  uint64_t offset;
  uint32_t frames;      // PCM frames (one sample per channel)
  uint64_t firstFrame;  // frames in all earlier chunks
};

struct AudioTrack {
  uint32_t codec = 0;  // 'raw ', 'twos', 'sowt' or 'lpcm'
  PcmEncoding encoding = PcmEncoding::Signed16LE;
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;
  uint64_t frameCount = 0;
  std::vector<AudioChunk> chunks;

  uint32_t BytesPerFrame() const { return channels * (bitsPerSample / 8u); }
};

struct MovieContainer {
  uint32_t timeScale = 0;   // movie units per second
  uint32_t duration = 0;    // movie units
  uint32_t posterTime = 0;  // movie units, within the duration
  uint32_t width = 0, height = 0;  // the movie's natural box, 0 x 0 without video
  std::optional<VideoTrack> video;
  std::optional<AudioTrack> audio;
  // Tracks we found but cannot play (codec four-character codes), for diagnostics.
  std::vector<uint32_t> skippedCodecs;
};

// Faults name the file offset of the atom (or the field) at fault.
Result<MovieContainer> ParseMovie(ByteSource& source);

// Limits that bound the work and the memory a hostile file can ask for.
constexpr uint64_t kMaxMovieAtomBytes = 32u << 20;  // far above any real movie's index
constexpr uint32_t kMaxTopLevelAtoms = 100'000;     // top-level scan of junk files
constexpr int kMaxAtomDepth = 12;                   // moov/trak/mdia/minf/stbl is 5 deep
constexpr uint32_t kMaxSamples = 4'000'000;         // 74 hours of 15 fps video
constexpr uint32_t kMaxChunks = 4'000'000;
constexpr uint32_t kMaxSampleBytes = 16u << 20;     // one JPEG frame
constexpr uint32_t kMaxFrameSide = 8192;

}  // namespace kro::qt
