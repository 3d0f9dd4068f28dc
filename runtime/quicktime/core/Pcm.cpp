#include "runtime/quicktime/core/Pcm.h"

#include <algorithm>

namespace kro::qt {

void AppendPcm(PcmEncoding encoding, std::span<const uint8_t> in, std::vector<uint8_t>& out) {
  switch (encoding) {
    case PcmEncoding::Unsigned8:
      out.insert(out.end(), in.begin(), in.end());
      break;
    case PcmEncoding::Signed8:
      for (const uint8_t b : in) out.push_back(b ^ 0x80);
      break;
    case PcmEncoding::Signed16LE:
      out.insert(out.end(), in.begin(), in.begin() + (in.size() & ~size_t{1}));
      break;
    case PcmEncoding::Signed16BE:
      for (size_t i = 0; i + 1 < in.size(); i += 2) {
        out.push_back(in[i + 1]);
        out.push_back(in[i]);
      }
      break;
  }
}

uint32_t ReadPcm(const AudioTrack& track, ByteSource& source, uint64_t firstFrame,
                 uint32_t frames, std::vector<uint8_t>& out) {
  const uint32_t frameBytes = track.BytesPerFrame();
  auto chunk = std::upper_bound(track.chunks.begin(), track.chunks.end(), firstFrame,
                                [](uint64_t frame, const AudioChunk& c) { return frame < c.firstFrame; });
  if (chunk == track.chunks.begin() || frameBytes == 0) return 0;
  --chunk;
  std::vector<uint8_t> raw;
  uint32_t done = 0;
  uint64_t frame = firstFrame;
  for (; chunk != track.chunks.end() && done < frames; ++chunk) {
    const uint64_t skip = frame - chunk->firstFrame;
    if (skip >= chunk->frames) continue;
    const uint32_t take = uint32_t(std::min<uint64_t>(chunk->frames - skip, frames - done));
    raw.resize(size_t(take) * frameBytes);
    if (!source.Read(chunk->offset + skip * frameBytes, raw)) break;
    AppendPcm(track.encoding, raw, out);
    done += take;
    frame += take;
  }
  return done;
}

}  // namespace kro::qt
