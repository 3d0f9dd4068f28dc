#pragma once
// Recognises a still picture by its content, never by its file name: the ".pic" background
// pictures are JPEG, PNG, BMP or GIF data, optionally behind the 512-byte header of a
// picture file made on another system (whose picture is then a JPEG stream further on).
#include <cstdint>
#include <span>

#include "runtime/base/Result.h"

namespace kro::qt {

enum class PictureFormat { Unknown, Jpeg, Png, Bmp, Gif };

struct PictureSniff {
  PictureFormat format = PictureFormat::Unknown;
  size_t offset = 0;  // where the encoded picture starts
};

// A bad-magic fault for bytes that hold none of the four formats where they may start.
Result<PictureSniff> SniffPicture(std::span<const uint8_t> bytes);

// Four-character code reported in the picture information record.
uint32_t PictureFormatCode(PictureFormat format);

// A header-prefixed file is searched this far for its JPEG stream.
constexpr size_t kPictHeaderBytes = 512;
constexpr size_t kMaxJpegSearchBytes = 64 * 1024;

}  // namespace kro::qt
