#include "runtime/quicktime/core/PictureFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "runtime/quicktime/core/MovieContainer.h"

namespace kro::qt {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
  return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

PictureFormat FormatAtStart(std::span<const uint8_t> bytes) {
  static constexpr std::array<uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};
  static constexpr std::array<uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static constexpr std::array<uint8_t, 2> kBmp = {'B', 'M'};
  static constexpr std::array<uint8_t, 4> kGif = {'G', 'I', 'F', '8'};
  if (StartsWith(bytes, kJpeg)) return PictureFormat::Jpeg;
  if (StartsWith(bytes, kPng)) return PictureFormat::Png;
  if (StartsWith(bytes, kGif)) return PictureFormat::Gif;
  // "BM" alone is two common letters; require the info header size of a real bitmap.
  if (StartsWith(bytes, kBmp) && bytes.size() >= 18) {
    const uint32_t infoSize = bytes[14] | bytes[15] << 8 | bytes[16] << 16 | uint32_t(bytes[17]) << 24;
    if (infoSize == 12 || infoSize == 40 || infoSize == 52 || infoSize == 56 ||
        infoSize == 108 || infoSize == 124)
      return PictureFormat::Bmp;
  }
  return PictureFormat::Unknown;
}

}  // namespace

Result<PictureSniff> SniffPicture(std::span<const uint8_t> bytes) {
  if (const PictureFormat format = FormatAtStart(bytes); format != PictureFormat::Unknown)
    return PictureSniff{format, 0};
  if (bytes.size() <= kPictHeaderBytes) return ParseError{0, ParseCause::BadMagic, "no JPEG, PNG, BMP or GIF picture"};
  const auto rest = bytes.subspan(kPictHeaderBytes);
  if (const PictureFormat format = FormatAtStart(rest); format != PictureFormat::Unknown)
    return PictureSniff{format, kPictHeaderBytes};
  const auto window = rest.first(std::min(rest.size(), kMaxJpegSearchBytes));
  static constexpr std::array<uint8_t, 4> kJpegStart = {0xFF, 0xD8, 0xFF};
  const auto found = std::search(window.begin(), window.end(), kJpegStart.begin(), kJpegStart.begin() + 3);
  if (found == window.end())
    return ParseError{0, ParseCause::BadMagic,
                      "no JPEG, PNG, BMP or GIF picture, nor a JPEG stream in the " + std::to_string(window.size()) +
                          " bytes behind a " + std::to_string(kPictHeaderBytes) + "-byte header"};
  return PictureSniff{PictureFormat::Jpeg, kPictHeaderBytes + size_t(found - window.begin())};
}

uint32_t PictureFormatCode(PictureFormat format) {
  switch (format) {
    case PictureFormat::Jpeg: return Fourcc("jpeg");
    case PictureFormat::Png: return Fourcc("png ");
    case PictureFormat::Bmp: return Fourcc("bmp ");
    case PictureFormat::Gif: return Fourcc("gif ");
    case PictureFormat::Unknown: break;
  }
  return 0;
}

}  // namespace kro::qt
