#include "runtime/mediaview/win32/display/Pictures.h"

#include <objbase.h>
#include <wincodec.h>

#include "runtime/base/Com_win.h"

namespace kro::mvdll::display {
namespace {

// A picture larger than this is refused before its pixels are allocated: the biggest
// illustration of a title is a few megapixels.
constexpr UINT kMaxPixels = 16u * 1024 * 1024;

std::optional<Picture> Decode(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::nullopt;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Out()))))
    return std::nullopt;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxPixels / height)
    return std::nullopt;
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.bgra.resize(size_t{width} * height * 4);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.bgra.size()), picture.bgra.data())))
    return std::nullopt;
  return picture;
}

}  // namespace

const Picture* PictureCache::Get(const mv::Title& title, std::string_view name) {
  auto it = pictures_.find(name);
  if (it == pictures_.end()) {
    const auto bytes = title.BaggageFile(name);
    it = pictures_.emplace(std::string(name), bytes ? Decode(*bytes) : std::nullopt).first;
  }
  return it->second ? &*it->second : nullptr;
}

void DrawPicture(HDC dc, const Picture& picture, const RECT& target) {
  if (target.right <= target.left || target.bottom <= target.top) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                picture.width, picture.height, picture.bgra.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace kro::mvdll::display
