#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/shell/AutoRun_win.h"
#include "app/shell/Config_win.h"
#include "app/shell/Display_win.h"
#include "app/shell/Fonts_win.h"
#include "app/shell/SingleInstance_win.h"
#include "tests/support/Files_win.h"

namespace kro::shell {
namespace {

// Each test gets its own ini file in the Windows directory: ctest runs tests in parallel.
class ConfigTest : public testing::Test {
protected:
  void SetUp() override {
    file_ = std::string("kro_test_") + testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    WritePrivateProfileStringA(kIniSection, nullptr, nullptr, file_.c_str());
  }
  void TearDown() override { WritePrivateProfileStringA(kIniSection, nullptr, nullptr, file_.c_str()); }
  void Set(const char* key, const std::string& value) {
    WritePrivateProfileStringA(kIniSection, key, value.c_str(), file_.c_str());
  }
  std::string file_;
};

TEST_F(ConfigTest, OnlyExactlyOneTurnsAFlagOn) {
  const struct { const char* value; bool on; } kCases[] = {
      {"1", true}, {"yes", false}, {"0", false}, {"11", false}, {"", false}, {"true", false},
  };
  for (const auto& c : kCases) {
    Set("ShowIntroduction", c.value);
    EXPECT_EQ(Config(file_).Flag("ShowIntroduction"), c.on) << '"' << c.value << '"';
  }
  // "1 " stored with its blank (quoted, as the ini reader strips unquoted blanks).
  Set("ShowIntroduction", "\"1 \"");
  EXPECT_FALSE(Config(file_).Flag("ShowIntroduction"));
  EXPECT_FALSE(Config(file_).Flag("IsDisk2Exists"));  // missing
}

TEST_F(ConfigTest, ProductDirGetsItsBackslashAndMustFitTheBuffers) {
  EXPECT_EQ(Config(file_).ProductDir(), std::nullopt);  // missing
  Set("ProductDir", "D:\\KRO");
  EXPECT_EQ(Config(file_).ProductDir(), "D:\\KRO\\");
  Set("ProductDir", std::string(254, 'x'));
  EXPECT_EQ(Config(file_).ProductDir()->size(), 255u);
  Set("ProductDir", std::string(255, 'x'));  // no room left for the backslash
  EXPECT_EQ(Config(file_).ProductDir(), std::nullopt);
  Set("ProductDir", std::string(600, 'x'));
  EXPECT_EQ(Config(file_).ProductDir(), std::nullopt);
}

TEST_F(ConfigTest, WorkingDirLosesOneTrailingBackslashAndDefaultsToWindows) {
  Set("Directory", "C:\\KRO\\");
  EXPECT_EQ(Config(file_).WorkingDir(), "C:\\KRO");
  Set("Directory", "C:\\KRO");
  EXPECT_EQ(Config(file_).WorkingDir(), "C:\\KRO");
  Set("Directory", "");
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  std::string expected = windows;
  if (expected.back() == '\\') expected.pop_back();
  EXPECT_EQ(Config(file_).WorkingDir(), expected);
  Set("Directory", std::string(300, 'y'));
  EXPECT_EQ(Config(file_).WorkingDir(), std::nullopt);
}

TEST_F(ConfigTest, WriteBackIsReadAgain) {
  ASSERT_TRUE(Config(file_).Write("ShowIntroduction", "1"));
  EXPECT_TRUE(Config(file_).Flag("ShowIntroduction"));
}

class AutoRunTest : public testing::Test {
protected:
  // A key of our own, so the test never touches the real policy value.
  static constexpr const char* kKey = "Software\\KroTests\\AutoRun";
  void SetUp() override { RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key_); }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  DWORD Read(DWORD* type = nullptr) {
    DWORD value = 0, size = sizeof value;
    RegQueryValueExA(key_, kAutoRunValue, nullptr, type, reinterpret_cast<BYTE*>(&value), &size);
    return value;
  }
  HKEY key_{};
};

TEST_F(AutoRunTest, ReplacesWhileAliveAndRestoresOnce) {
  const DWORD original = 0x91;
  RegSetValueExA(key_, kAutoRunValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&original), sizeof original);
  {
    AutoRunSwitch autoRun(kKey);
    EXPECT_TRUE(autoRun.Replaced());
    EXPECT_EQ(Read(), 0xB5u);
    autoRun.Restore();
    EXPECT_EQ(Read(), original);
    const DWORD user = 0x33;  // a later change by someone else is not overwritten
    RegSetValueExA(key_, kAutoRunValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&user), sizeof user);
  }
  DWORD type = 0;
  EXPECT_EQ(Read(&type), 0x33u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(AutoRunTest, MissingValueIsNeitherCreatedNorRestored) {
  {
    AutoRunSwitch autoRun(kKey);
    EXPECT_FALSE(autoRun.Replaced());
  }
  DWORD size = 0;
  EXPECT_NE(RegQueryValueExA(key_, kAutoRunValue, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

TEST(SingleInstance, SecondHolderSeesTheFirst) {
  SingleInstance first("KroTests.SingleInstance");
  EXPECT_FALSE(first.AnotherCopyRunning());
  {
    SingleInstance second("KroTests.SingleInstance");
    EXPECT_TRUE(second.AnotherCopyRunning());
  }
  SingleInstance other("KroTests.SingleInstance.Other");
  EXPECT_FALSE(other.AnotherCopyRunning());
}

TEST(Display, VerdictsAtTheBoundaries) {
  const struct { bool palette; int colours, width, height; DisplayVerdict verdict; } kCases[] = {
      {false, 0, 640, 480, DisplayVerdict::kAccepted},
      {false, 0, 639, 480, DisplayVerdict::kTooSmall},
      {false, 0, 640, 479, DisplayVerdict::kTooSmall},
      {true, 256, 800, 600, DisplayVerdict::kPaletteRecommended},
      {true, 16, 800, 600, DisplayVerdict::kTooFewColours},
      {true, 16, 320, 200, DisplayVerdict::kTooFewColours},  // the colour message comes first
      {true, 256, 639, 480, DisplayVerdict::kTooSmall},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(JudgeDisplay(c.palette, c.colours, c.width, c.height), c.verdict)
        << c.palette << ' ' << c.colours << ' ' << c.width << 'x' << c.height;
}

TEST(Display, CompactDiskFontIsTwoThirdsWithLargeSystemFonts) {
  EXPECT_EQ(CompactDiskHeight(96, 8, 16), -11);   // 8 pt at 96 dpi
  EXPECT_EQ(CompactDiskHeight(96, 9, 16), -7);    // two thirds
  EXPECT_EQ(CompactDiskHeight(96, 8, 17), -7);
  EXPECT_EQ(CompactDiskHeight(120, 8, 16), -13);
}

// The face a font resolves to on a screen DC, and whether it draws Russian letters with ink.
// The face `font` resolves to; `ink` gets the pixels `text` draws in it, one character per
// pixel. The text goes in as Unicode, as the system's list boxes and edits draw theirs.
std::string FaceOf(HFONT font, std::string* ink, const wchar_t* text = L"\u0401\u0436") {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  {
    WindowDc screen(nullptr);
    bitmap = CreateCompatibleBitmap(screen.Get(), 80, 20);
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  RECT all{0, 0, 80, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TextOutW(dc, 0, 0, text, lstrlenW(text));
  ink->clear();
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) ink->push_back(GetPixel(dc, x, y) != RGB(255, 255, 255) ? '#' : '.');
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return face;
}

// The fonts the product's disc and the run command provide: the raster face of the dialogs
// from the working directory (added, and its two fonts made), the TrueType family from the
// product directory (resolved by name).
TEST(ProductFonts, TheDialogFontsComeFromTheWorkingDirectory) {
  const std::string product = wintest::HostPath(KRO_PRODUCT_DIR) + "\\";
  {
    const wintest::TemporaryFolder empty;
    const ProductFonts none(empty.Path(), empty.Path() + "\\", 8, 16);
    EXPECT_EQ(none.Bold(), nullptr);  // no cdp.fon: the dialogs keep the system font
  }
  const wintest::TemporaryFolder work;
  ASSERT_TRUE(CopyFileA((product + "cdp.fon").c_str(), (work / "cdp.fon").c_str(), FALSE));
  const ProductFonts fonts(work.Path(), product, 8, 16);
  ASSERT_NE(fonts.Bold(), nullptr);
  ASSERT_NE(fonts.Light(), nullptr);
  std::string russian, unknown;
  EXPECT_EQ(FaceOf(fonts.Bold(), &russian), "CompactDisk");  // the raster face, not a substitute
  FaceOf(fonts.Bold(), &unknown, L"??");
  EXPECT_GT(std::count(russian.begin(), russian.end(), '#'), 20);
  EXPECT_NE(russian, unknown);  // Russian letters draw as themselves, not as the default glyph
  EXPECT_EQ(FaceOf(fonts.Light(), &russian), "CompactDisk");
  LOGFONTA pragmatica{};
  pragmatica.lfHeight = -14;
  lstrcpyA(pragmatica.lfFaceName, "PragmaticaZKD");
  UniqueFont footer(CreateFontIndirectA(&pragmatica));
  EXPECT_EQ(FaceOf(footer.Get(), &russian), "PragmaticaZKD");
  EXPECT_GT(std::count(russian.begin(), russian.end(), '#'), 20);
}

}  // namespace
}  // namespace kro::shell
