#include "tests/support/Screenshot_win.h"

#include <wincodec.h>

#include <cstdlib>
#include <vector>

#include "runtime/base/Com_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Files_win.h"

namespace kro::wintest {
namespace {

// The 24-bit rows of `area` as the screen shows them, top row first, each padded to 4 bytes.
std::vector<BYTE> ScreenRows(const RECT& area, int stride) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const HDC screen = GetDC(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen));
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::vector<BYTE> rows;
  if (bitmap.Get() && bits) {
    const HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* start = static_cast<const BYTE*>(bits);
    rows.assign(start, start + static_cast<size_t>(stride) * height);
    SelectObject(memory.Get(), previous);
  }
  ReleaseDC(nullptr, screen);
  return rows;
}

}  // namespace

std::string ScreensFolder() {
  const char* folder = std::getenv("KRO_SCREENS");
  if (!folder || !*folder) return {};
  return folder[0] == '/' ? HostPath(folder) : std::string(folder);
}

bool WriteScreenPng(const RECT& area, const std::string& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<BYTE> rows = ScreenRows(area, stride);
  if (rows.empty()) return false;

  // Each test program is its own process with one thread, so COM stays on for its life.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) return false;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  std::wstring widePath(path.size(), L'\0');
  widePath.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), widePath.data(),
                                      static_cast<int>(widePath.size())));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Out()))) &&
         SUCCEEDED(factory->CreateStream(stream.Out())) &&
         SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         format == GUID_WICPixelFormat24bppBGR &&
         SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(rows.size()), rows.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool SaveScreenshot(HWND window, const char* name) {
  const std::string folder = ScreensFolder();
  if (folder.empty()) return true;
  RECT area;
  if (!GetWindowRect(window, &area)) return false;
  CreateDirectoryA(folder.c_str(), nullptr);
  return WriteScreenPng(area, folder + "\\" + name);
}

}  // namespace kro::wintest
