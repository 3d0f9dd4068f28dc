// The entry point of the archive program: start-up, the message loop and shutdown. As in
// player, each step that must be undone is an owner whose destructor undoes it, so every
// exit path unloads the movie service, removes the font and the hook.
#include <windows.h>

#include <optional>
#include <string>

#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/ArchiveVideo_win.h"
#include "app/archive/ArchiveWindow_win.h"
#include "app/movies/DiscPrompt.h"
#include "app/movies/QuickTime.h"
#include "app/movies/VideoWindow.h"
#include "app/shell/Config_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/shell/Display_win.h"
#include "app/shell/Fonts_win.h"
#include "app/shell/SingleInstance_win.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/FileIo_win.h"

namespace kro::archive {
namespace {

constexpr int kExitRefused = 1;

// The movie service from its first load to its unloading, on every path.
class Movies {
public:
  Movies() = default;
  ~Movies() { QTShutDown(); }
  Movies(const Movies&) = delete;
  Movies& operator=(const Movies&) = delete;
  bool Start() {
    if (!QTStartUp(kQtLoadFailureArchive)) return false;
    EnterMovies();
    return true;
  }
};

// The dialog keys for the main window and the help window; no layout switching or F9.
class DialogKeys {
public:
  explicit DialogKeys(HINSTANCE instance) {
    shell::InstallDialogKeys(instance, {.routeLanguageSwitch = false, .resultsDialog = nullptr,
                                        .greatGrandchildNeedsEnabled = false});
  }
  ~DialogKeys() { shell::RemoveDialogKeys(); }
  DialogKeys(const DialogKeys&) = delete;
  DialogKeys& operator=(const DialogKeys&) = delete;
};

class MainWindow {
public:
  MainWindow() = default;
  ~MainWindow() {
    HWND& hwnd = TheArchive().mainWindow;
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    hwnd = nullptr;
    shell::DestroySharedCursors();
  }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
};

void ShowError(const char* text) { MessageBoxA(nullptr, text, "Ошибка", MB_ICONHAND); }

bool DiscPresent(const std::string& productDir, HINSTANCE instance) {
  movies::SetPromptMode(movies::kArchiveStartUp);
  movies::SetPromptCursor(shell::Cursors().handE);
  while (!FileExists(productDir + movies::kArchiveMarker))
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(movies::kArchiveStartPromptTemplate), nullptr, movies::DiscPromptProc,
                        0) == 0)
      return false;
  return true;
}

// The window of a running copy: the main window of this program, which the caption tells
// apart from player's galleries of the same class.
void FocusRunningCopy() {
  if (HWND running = FindWindowA(kArchiveWindowClass, kArchiveTitle)) SetForegroundWindow(running);
}

int MessageLoop() {
  MSG msg;
  // The program keeps no accelerator table, so the loop translates none.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    // The exit's WM_QUIT can be taken by a loop the window was in (a title-bar drag) and
    // never reach this one: a program without its window has ended all the same.
    if (!TheArchive().mainWindow) return kExitByUser;
  }
  return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance) {
  shell::SingleInstance single("KroEncyclopedia.Archive");
  if (single.AnotherCopyRunning()) {
    MessageBoxA(nullptr, "Фильмотека уже запущен!", kArchiveTitle, MB_ICONHAND);
    FocusRunningCopy();
    return kExitRefused;
  }
  ArchiveProgram& program = TheArchive();
  program.instance = instance;
  toolkit::SetProgramInstance(instance);
  Movies movies;
  if (!movies.Start()) return kExitRefused;

  const shell::Config config;
  const auto productDir = config.ProductDir();
  if (!productDir) {
    ShowError("Обнаружена ошибка в файлах инициализации. Пожалуйста, переустановите программу!");
    return kExitRefused;
  }
  program.productDir = *productDir;
  if (!shell::CheckDisplay(instance, &program.display, false)) return kExitRefused;
  MainWindow mainWindow;
  if (!RegisterArchiveClasses(instance)) return kExitRefused;
  if (!DiscPresent(program.productDir, instance)) return kExitRefused;

  const auto fontDir = config.DirectoryOf("LUMFilDirectory");
  std::optional<shell::ProductFonts> fonts;
  if (fontDir) fonts.emplace(*fontDir, "", program.display.dialogBaseX, program.display.dialogBaseY);
  program.titleFont = fonts ? fonts->Bold() : nullptr;
  program.captionFont = fonts ? fonts->Light() : nullptr;
  DialogKeys keys(instance);
  program.whiteBrush.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  program.lightGreyBrush.Reset(CreateSolidBrush(RGB(192, 192, 192)));

  if (!CreateArchiveWindow(instance)) return kExitRefused;
  const int exitCode = MessageLoop();
  program.whiteBrush.Reset();
  program.lightGreyBrush.Reset();
  program.titleFont = program.captionFont = nullptr;
  return exitCode;
}

}  // namespace
}  // namespace kro::archive

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return kro::archive::Run(instance);
}
