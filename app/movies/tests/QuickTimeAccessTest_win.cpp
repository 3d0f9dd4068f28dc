#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/movies/QuickTime.h"
#include "app/movies/QuickTimeState.h"
#include "app/movies/tests/FakeLog_win.h"
#include "tests/support/Files_win.h"

namespace kro {
namespace {

std::string TakeLog() {
  char log[4096] = "";
  GetEnvironmentVariableA(kFakeLogVariable, log, sizeof log);
  SetEnvironmentVariableA(kFakeLogVariable, "");
  return log;
}

std::string VariantFolder(const char* variant) { return wintest::BesideExe(std::string("..\\variants\\") + variant); }

// Each test points the loader at one folder of fake libraries and starts from the
// layer's initial state; the load-attempted flag is never cleared within a run, so the
// record is reset here, after the libraries have been released.
class Access : public testing::Test {
protected:
  void Use(const char* variant) { ASSERT_TRUE(SetDllDirectoryA(VariantFolder(variant).c_str())); }
  void SetUp() override {
    gQuickTime = QuickTimeState{};
    TakeLog();
  }
  void TearDown() override {
    while (gQuickTime.movieUsers > 0 || gQuickTime.componentUsers > 0) QTTerminate();
    gQuickTime = QuickTimeState{};
    SetDllDirectoryA(nullptr);
  }
  static bool Loaded(const char* file) { return GetModuleHandleA(file) != nullptr; }
};

constexpr char kAttachedLog[] = "+Q32768 +C Cinit Q57:0 ";

TEST_F(Access, InitialiseTwiceNeedsTerminateTwice) {
  Use("ok");
  int32_t version = -1;
  EXPECT_EQ(QTInitialize(&version), 0);
  EXPECT_EQ(version, 11065);
  EXPECT_EQ(QTInitialize(nullptr), 0);
  EXPECT_EQ(TakeLog(), kAttachedLog);  // attached once
  EXPECT_EQ(gQuickTime.movieUsers, 2);
  EXPECT_EQ(gQuickTime.componentUsers, 2);

  QTTerminate();
  EXPECT_EQ(TakeLog(), "");
  EXPECT_TRUE(Loaded("QTIM32.DLL") && Loaded("CMGR32.DLL"));
  QTTerminate();
  EXPECT_EQ(TakeLog(), "Cterm -C Q58:0 -Q ");
  EXPECT_FALSE(Loaded("QTIM32.DLL") || Loaded("CMGR32.DLL"));
  EXPECT_EQ(gQuickTime.movieLibrary, nullptr);
  EXPECT_EQ(gQuickTime.movieDispatcher, &MovieLibraryResolver);
  EXPECT_EQ(gQuickTime.componentDispatcher, &ComponentLibraryResolver);

  // Terminated: operations fail quietly, nothing is loaded again.
  EXPECT_EQ(GetMovieDuration(5), uint32_t(qt::kNotLoaded));
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(Access, FirstOperationLoadsTheLibrariesThenRuns) {
  Use("ok");
  EXPECT_EQ(GetMovieDuration(77), 1018u);
  EXPECT_EQ(TakeLog(), std::string(kAttachedLog) + "Q18:77 ");
  EXPECT_EQ(MCDoAction(12, qt::kActionPlay, qt::kFixedOne), 2001);
  EXPECT_EQ(TakeLog(), "C1.1:12 ");
  EXPECT_EQ(gQuickTime.movieUsers, 1);
}

TEST_F(Access, ComponentOperationFirstAlsoLoads) {
  Use("ok");
  EXPECT_EQ(MCIsPlayerEvent(3, nullptr, WM_PAINT, 0, 0), 2011);
  EXPECT_EQ(TakeLog(), std::string(kAttachedLog) + "C1.11:3 ");
}

TEST_F(Access, AfterAFailedLoadOperationsAnswerNotLoaded) {
  Use("nocomponent");
  EXPECT_EQ(QTInitialize(nullptr), 1);
  EXPECT_EQ(TakeLog(), "+Q32768 Q58:0 -Q ");  // the movie library released once
  EXPECT_EQ(GetMovieDuration(5), uint32_t(qt::kNotLoaded));
  EXPECT_EQ(MCDoAction(1, qt::kActionPlay, 0), qt::kNotLoaded);
  EXPECT_EQ(ExitMovies(), qt::kNotLoaded);
  EXPECT_EQ(TakeLog(), "");  // no second attempt
  // Only an explicit initialise tries again.
  EXPECT_EQ(QTInitialize(nullptr), 1);
  EXPECT_EQ(TakeLog(), "+Q32768 Q58:0 -Q ");
}

TEST_F(Access, FailuresOfEachKind) {
  const struct {
    const char* variant;
    int32_t result;
    const char* log;
  } cases[] = {
      {"none", 1, ""},
      {"noentry", 2, "+Q32768 -Q "},
      {"componentfails", 2, "+Q32768 +C Cinit -C Q58:0 -Q "},
  };
  for (const auto& c : cases) {
    gQuickTime = QuickTimeState{};
    Use(c.variant);
    EXPECT_EQ(QTInitialize(nullptr), c.result) << c.variant;
    EXPECT_EQ(TakeLog(), c.log) << c.variant;
    EXPECT_EQ(gQuickTime.movieLibrary, nullptr) << c.variant;
    EXPECT_EQ(gQuickTime.componentLibrary, nullptr) << c.variant;
    EXPECT_FALSE(Loaded("QTIM32.DLL") || Loaded("CMGR32.DLL")) << c.variant;
  }
}

TEST_F(Access, ErrorModeIsRestored) {
  const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
  Use("ok");
  EXPECT_EQ(QTInitialize(nullptr), 0);
  EXPECT_EQ(GetErrorMode(), UINT(SEM_FAILCRITICALERRORS));
  QTTerminate();
  Use("none");
  gQuickTime = QuickTimeState{};
  EXPECT_EQ(QTInitialize(nullptr), 1);
  EXPECT_EQ(GetErrorMode(), UINT(SEM_FAILCRITICALERRORS));
  SetErrorMode(before);
}

TEST_F(Access, VersionFoldedFromTheProductVersion) {
  const struct {
    const char* variant;
    int32_t version;
  } cases[] = {
      {"ok", 11065}, {"v11064", 11064}, {"v4096", 4096}, {"v4095", 4095},
      {"noversion", 0}, {"bigversion", 0},  // a block over 2,048 bytes is not read
  };
  for (const auto& c : cases) {
    Use(c.variant);
    int32_t version = -1;
    ASSERT_EQ(QTInitialize(&version), 0) << c.variant;
    EXPECT_EQ(version, c.version) << c.variant;
    QTTerminate();
    gQuickTime = QuickTimeState{};
  }
}

std::vector<std::string> gShown;
int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  gShown.push_back(std::string(caption) + "|" + text + "|" + std::to_string(type) +
                   (owner ? "|owned" : ""));
  return IDOK;
}

TEST_F(Access, StartUpMessagesAndThresholds) {
  const std::string error = std::string("Ошибка|");
  const std::string icon = "|" + std::to_string(MB_ICONHAND);
  const std::string invalid =
      error + "Недопустимая версия QuickTime! Установите QuickTime for Windows версии 2.11.57" + icon;
  const std::string older =
      "Предупреждение|Установленная версия QuickTime for Windows не соответствует используемой "
      "программой!  Рекомендуем установить QuickTime for Windows версии 2.11.57" + icon;
  const struct {
    const char* variant;
    const char* loadText;
    bool goesOn;
    std::string shown;
  } cases[] = {
      {"ok", kQtLoadFailurePlayer, true, ""},
      {"v11064", kQtLoadFailurePlayer, true, older},
      {"v4096", kQtLoadFailurePlayer, true, older},
      {"v4095", kQtLoadFailurePlayer, false, invalid},
      {"noversion", kQtLoadFailurePlayer, false, invalid},
      {"none", kQtLoadFailurePlayer, false,
       error + "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии  2.11.57." + icon},
      {"noentry", kQtLoadFailureArchive, false,
       error + "Невозможно загрузить QuickTime!  Установите QuickTime for Windows версии 2.01." + icon},
  };
  for (const auto& c : cases) {
    gQuickTime = QuickTimeState{};
    gShown.clear();
    WritePrivateProfileStringA("Sound 32", "DisableAutoRateAdjust", nullptr, "qtw.ini");
    Use(c.variant);
    EXPECT_EQ(QTStartUp(c.loadText, RecordMessageBox), c.goesOn) << c.variant;
    EXPECT_EQ(gShown.empty() ? "" : gShown[0], c.shown) << c.variant;
    EXPECT_LE(gShown.size(), 1u) << c.variant;
    char entry[8] = "";
    GetPrivateProfileStringA("Sound 32", "DisableAutoRateAdjust", "", entry, sizeof entry, "qtw.ini");
    EXPECT_STREQ(entry, "1") << c.variant;
    QTShutDown();
    EXPECT_FALSE(Loaded("QTIM32.DLL")) << c.variant;
  }
}

}  // namespace
}  // namespace kro
