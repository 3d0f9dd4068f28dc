// The helpers of the end-to-end suites: the configuration they put back, the pictures they
// write and the host commands they run.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/base/FileIo_win.h"
#include "tests/support/Files_win.h"
#include "tests/support/HostCommand_win.h"
#include "tests/support/Messages_win.h"
#include "tests/support/Program_win.h"
#include "tests/support/Screenshot_win.h"

namespace kro::wintest {
namespace {

std::string Ini(const char* key) {
  char value[64] = {};
  GetPrivateProfileStringA("Kro", key, "<missing>", value, sizeof value, "kro97.ini");
  return value;
}

TEST(Program, SavedIniKeysComeBackAsTheyWereMissingEmptyOrSet) {
  SetIni("KroTestMissing", nullptr);
  SetIni("KroTestEmpty", "");
  SetIni("KroTestSet", "C:\\disc");
  {
    const SavedIniKeys saved{"KroTestMissing", "KroTestEmpty", "KroTestSet"};
    SetIni("KroTestMissing", "1");
    SetIni("KroTestEmpty", "2");
    SetIni("KroTestSet", nullptr);
  }
  EXPECT_EQ(Ini("KroTestMissing"), "<missing>");
  EXPECT_EQ(Ini("KroTestEmpty"), "");
  EXPECT_EQ(Ini("KroTestSet"), "C:\\disc");
  for (const char* key : {"KroTestEmpty", "KroTestSet"}) SetIni(key, nullptr);
}

LRESULT CALLBACK HalvesProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd, &paint);
  RECT left{0, 0, 20, 30}, right{20, 0, 40, 30};
  const HBRUSH red = CreateSolidBrush(RGB(200, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 200));
  FillRect(dc, &left, red);
  FillRect(dc, &right, blue);
  DeleteObject(red);
  DeleteObject(blue);
  EndPaint(hwnd, &paint);
  return 0;
}

// The pixel at (x, y) of a PNG file as WIC decodes it, 0xRRGGBB; the size through `size`.
uint32_t DecodedPixel(const std::string& path, int x, int y, SIZE* size) {
  uint32_t pixel = 0xFFFFFFFF;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  const std::wstring wide(path.begin(), path.end());
  UINT width = 0, height = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                   &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom))) {
    const WICRect one{x, y, 1, 1};
    converter->CopyPixels(&one, 4, 4, reinterpret_cast<BYTE*>(&pixel));
    pixel &= 0xFFFFFF;
  }
  *size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                           static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
    if (object) object->Release();
  return pixel;
}

TEST(Screenshot, AWindowIsWrittenAsThePngOfWhatTheScreenShows) {
  ASSERT_TRUE(RegisterTestClass("KroSupportHalves", HalvesProc));
  const HWND window =
      CreateWindowExA(WS_EX_TOPMOST, "KroSupportHalves", "", WS_POPUP | WS_VISIBLE, 50, 60, 40, 30, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  PumpRounds(10);
  const TemporaryFolder folder;
  RECT area;
  GetWindowRect(window, &area);
  ASSERT_TRUE(WriteScreenPng(area, folder / "halves.png"));
  DestroyWindow(window);
  SIZE size{};
  EXPECT_EQ(DecodedPixel(folder / "halves.png", 5, 15, &size), 0xC80000u);
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 30);
  EXPECT_EQ(DecodedPixel(folder / "halves.png", 35, 15, &size), 0x0000C8u);
}

TEST(Screenshot, WithoutTheFolderNothingIsWritten) {
  if (std::getenv("KRO_SCREENS")) GTEST_SKIP() << "pictures are wanted in this run";
  EXPECT_EQ(ScreensFolder(), "");
  EXPECT_TRUE(SaveScreenshot(GetDesktopWindow(), "never.png"));
}

TEST(HostCommand, AnswersTheStatusAndSharesFilesThroughTheirHostPaths) {
  EXPECT_EQ(RunOnHost("exit 3", 3000), 3);
  const TemporaryFolder folder;
  const std::string file = UnixPath(folder / "out.txt");
  ASSERT_EQ(file.front(), '/');
  ASSERT_EQ(RunOnHost("printf 'from the host' > '" + file + "'", 3000), 0);
  const auto bytes = ReadWholeFile(folder / "out.txt");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "from the host");
  EXPECT_EQ(RunOnHost("echo \"quoted\"", 3000), -1);  // double quotes cannot be passed through
}

}  // namespace
}  // namespace kro::wintest
