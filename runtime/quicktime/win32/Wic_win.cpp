#include "runtime/quicktime/win32/Wic_win.h"

#include <objbase.h>
#include <wincodec.h>

#include "runtime/base/Com_win.h"

namespace kro::qt {
namespace {

void FlattenOnWhite(Bitmap& bitmap) {
  for (uint32_t& pixel : bitmap.pixels) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 255) continue;
    uint32_t flat = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t channel = (pixel >> shift) & 0xFF;
      flat |= ((channel * alpha + 255 * (255 - alpha)) / 255) << shift;
    }
    pixel = flat | 0xFF000000u;
  }
}

}  // namespace

bool Wic::Ready() {
  if (factory_) return true;
  // S_FALSE (already initialised on this thread) also needs a matching uninitialise.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  comInitialized_ = SUCCEEDED(com);
  const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory_));
  if (FAILED(hr)) {
    factory_ = nullptr;
    Release();
    return false;
  }
  return true;
}

void Wic::Release() {
  if (factory_) factory_->Release();
  factory_ = nullptr;
  if (comInitialized_) CoUninitialize();
  comInitialized_ = false;
}

bool Wic::Decode(std::span<const uint8_t> bytes, Bitmap* out) {
  if (bytes.empty() || bytes.size() > MAXDWORD || !Ready()) return false;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  // The stream only reads the bytes; its signature just predates const.
  BYTE* data = const_cast<BYTE*>(bytes.data());
  if (FAILED(factory_->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(data, DWORD(bytes.size()))) ||
      FAILED(factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                               decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory_->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)))
    return false;
  if (width == 0 || height == 0 || uint64_t(width) * height > kMaxBitmapPixels) return false;
  out->width = int(width);
  out->height = int(height);
  out->pixels.resize(size_t(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, UINT(out->pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(out->pixels.data()))))
    return false;
  FlattenOnWhite(*out);
  return true;
}

void DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& target) {
  if (bitmap.pixels.empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bitmap.width;
  info.bmiHeader.biHeight = -bitmap.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int width = target.right - target.left, height = target.bottom - target.top;
  const bool scaled = width != bitmap.width || height != bitmap.height;
  const int previousMode = SetStretchBltMode(dc, scaled ? HALFTONE : COLORONCOLOR);
  POINT previousOrigin;
  SetBrushOrgEx(dc, 0, 0, &previousOrigin);  // HALFTONE wants it set after the mode
  StretchDIBits(dc, target.left, target.top, width, height, 0, 0, bitmap.width, bitmap.height,
                bitmap.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
  SetStretchBltMode(dc, previousMode);
}

}  // namespace kro::qt
