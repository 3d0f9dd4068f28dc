// Fuzz target for the bytes the service reads from disk. The first byte picks the parser:
// 0 the movie container, 1 the picture recogniser.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/quicktime/core/MovieContainer.h"
#include "runtime/quicktime/core/Pcm.h"
#include "runtime/quicktime/core/PictureFormat.h"

namespace {

// Touches everything a player would read from a parsed movie, so that a table that points
// outside the file shows up as a read failure rather than passing silently.
void PlayThrough(kro::qt::ByteSource& source, const kro::qt::MovieContainer& movie) {
  std::vector<uint8_t> buffer;
  if (movie.video) {
    for (const auto& sample : movie.video->samples) {
      buffer.resize(sample.sizeBytes);
      if (!source.Read(sample.offset, buffer)) __builtin_trap();
    }
    movie.video->SampleAt(movie.video->mediaDuration / 2);
  }
  if (movie.audio) {
    std::vector<uint8_t> out;
    for (const auto& chunk : movie.audio->chunks) {
      buffer.resize(size_t(chunk.frames) * movie.audio->BytesPerFrame());
      if (!source.Read(chunk.offset, buffer)) __builtin_trap();
      out.clear();
      kro::qt::AppendPcm(movie.audio->encoding, buffer, out);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> bytes(data + 1, size - 1);
  if (data[0] == 0) {
    kro::qt::MemorySource source(bytes);
    const auto parse = kro::qt::ParseMovie(source);
    if (parse) PlayThrough(source, *parse);
  } else {
    const auto sniff = kro::qt::SniffPicture(bytes);
    if (sniff && (sniff->format == kro::qt::PictureFormat::Unknown || sniff->offset >= bytes.size())) __builtin_trap();
  }
  return 0;
}
