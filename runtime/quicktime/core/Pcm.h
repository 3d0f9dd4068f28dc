#pragma once
// PCM as the wave output wants it: unsigned 8-bit or signed 16-bit little-endian.
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/quicktime/core/MovieContainer.h"

namespace kro::qt {

// Bits per sample of the converted output (8 stays 8, 16 stays 16).
inline uint16_t OutputBits(PcmEncoding encoding) {
  return encoding == PcmEncoding::Unsigned8 || encoding == PcmEncoding::Signed8 ? 8 : 16;
}

// Appends `in` converted to the output form; a trailing partial sample is dropped.
void AppendPcm(PcmEncoding encoding, std::span<const uint8_t> in, std::vector<uint8_t>& out);

// Appends up to `frames` frames of the track from `firstFrame` on, converted, across chunk
// boundaries. Answers the frames appended (fewer at the end of the track or when the
// source fails to read).
uint32_t ReadPcm(const AudioTrack& track, ByteSource& source, uint64_t firstFrame,
                 uint32_t frames, std::vector<uint8_t>& out);

}  // namespace kro::qt
