// The entry point of player: start-up, the message loop and shutdown. Every exit path
// runs through the owners below, so the AutoRun value is restored, the fonts removed and
// the movie service unloaded whatever happens.
#include <windows.h>

#include <string>

#include "app/article/TopicWindow_win.h"
#include "app/movies/DiscPrompt.h"
#include "app/movies/QuickTime.h"
#include "app/movies/SoundWindow.h"
#include "app/movies/VideoWindow.h"
#include "app/shell/AutoRun_win.h"
#include "app/shell/Classes_win.h"
#include "app/shell/Config_win.h"
#include "app/shell/Cursors_win.h"
#include "app/shell/DialogKeys_win.h"
#include "app/shell/Fonts_win.h"
#include "app/shell/LogoWindow_win.h"
#include "app/shell/MainWindow_win.h"
#include "app/shell/NavigationState_win.h"
#include "app/shell/Program_win.h"
#include "app/shell/SingleInstance_win.h"
#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/FileIo_win.h"

namespace kro::shell {
namespace {

constexpr int kExitRefused = 1;
constexpr int kExitSilent = 0;

void ShowError(const char* text) { MessageBoxA(nullptr, text, "Ошибка", MB_ICONHAND); }

// The title runtime's message pump during long operations (opening the title, queries).
LONG CALLBACK TitlePump() { return PumpMessages(); }

HWND ResultsDialog() { return TheProgram().resultsDialog; }

// The runtimes, from the title runtime's instance to the movie service, undone together.
class Platform {
public:
  explicit Platform(HINSTANCE instance) : instance_(instance) { MVSetInstance(instance); }
  ~Platform() {
    MVTerminate(instance_);
    if (moviesStarted_) QTShutDown();
  }
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  bool StartMovies() {
    moviesStarted_ = true;  // a failed start-up still unloads what it loaded
    if (!QTStartUp(kQtLoadFailurePlayer)) return false;
    EnterMovies();
    return true;
  }

private:
  HINSTANCE instance_;
  bool moviesStarted_ = false;
};

// The main window and the index, released on every path after they were made.
class Windows {
public:
  Windows() = default;
  ~Windows() {
    Program& program = TheProgram();
    if (program.mainWindow && IsWindow(program.mainWindow)) DestroyWindow(program.mainWindow);
    program.mainWindow = nullptr;
    ReleaseArticleMachinery();
  }
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;
};

bool DiscPresent(const std::string& productDir, HINSTANCE instance) {
  while (!FileExists(productDir + "kro.m14")) {
    movies::SetPromptMode(movies::kAskForEncyclopedia);
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(movies::kDiscPromptTemplate), nullptr, movies::DiscPromptProc, 0) == 0)
      return false;
  }
  return true;
}

// What the video window takes from the settings: the discs, fonts, brush and palette; the
// sound player, where the disc is.
void SetUpVideoWindow(const Program& program) {
  movies::SetVideoSettings({.productDir = program.productDir,
                            .discConversation = true,
                            .secondDisc = program.disk2,
                            .paletteMode = program.display.paletteMode,
                            .titleFont = program.boldFont,
                            .captionFont = program.lightFont,
                            .staticBrush = program.lightGreyBrush.Get(),
                            .buttonCursor = Cursors().handE});
  movies::SetSoundFolder(program.productDir);
}

bool OpenTitle(HINSTANCE instance) {
  Program& program = TheProgram();
  if (!program.title) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    program.title = hMVTitleOpenEx((program.productDir + "kro.m14").c_str(), TitlePump, nullptr);
    if (!program.title) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
  if (!program.title) return false;
  article::TopicRecord* record = article::CreateMainArticleWindow(instance, program.title, ArticleArea(), article::ArticleHotspotHandler);
  // The main window, not the plain article area, keeps track of the active topic window.
  if (record) record->owner = program.mainWindow;
  return record != nullptr;
}

bool OpenIndex() {
  Program& program = TheProgram();
  LONG error = 0;
  program.wordWheel = hMVWordWheelOpenTitle(program.title, "|a");
  if (program.wordWheel) program.wordWheelLength = lMVWordWheelLength(program.wordWheel);
  program.indexDisplay = lpMVNew(program.title, &error);
  return program.wordWheel && program.indexDisplay;
}

int MessageLoop() {
  Program& program = TheProgram();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (program.historyDialog && IsDialogMessageA(program.historyDialog, &msg)) continue;
    if (program.resultsDialog && IsDialogMessageA(program.resultsDialog, &msg)) continue;
    if (TranslateAcceleratorA(program.mainWindow, program.accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance) {
  SingleInstance single("KroEncyclopedia.Player");
  if (single.AnotherCopyRunning()) {
    MessageBoxA(nullptr, "Энциклопедия уже запущена!", "Энциклопедия", MB_ICONHAND);
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) SetForegroundWindow(running);
    return kExitRefused;
  }
  Program& program = TheProgram();
  program.instance = instance;
  toolkit::SetProgramInstance(instance);
  AutoRunSwitch autoRun;
  Platform platform(instance);
  if (!platform.StartMovies()) return kExitRefused;

  const Config config;
  const auto productDir = config.ProductDir();
  if (!productDir) {
    ShowError("Обнаружена ошибка в файлах инициализации. Пожалуйста, переустановите программу!");
    return kExitRefused;
  }
  program.productDir = *productDir;
  if (!CheckDisplay(instance, &program.display)) return kExitRefused;
  if (!RegisterClasses(instance)) return kExitSilent;
  if (!DiscPresent(program.productDir, instance)) return kExitRefused;

  Windows windows;
  if (!CreateMainWindow(instance)) return kExitSilent;
  const auto workingDir = config.WorkingDir();
  if (!workingDir) {
    ShowError("Обнаружена ошибка в файлах инициализации. Пожалуйста, переустановите программу!");
    return kExitRefused;
  }
  program.workingDir = *workingDir;
  SetCurrentDirectoryA(program.workingDir.c_str());
  ProductFonts fonts(program.workingDir, program.productDir, program.display.dialogBaseX, program.display.dialogBaseY);
  program.boldFont = fonts.Bold();
  program.lightFont = fonts.Light();
  if (!OpenTitle(instance)) {
    ShowError("Невозможно открыть  файл\n с текстом Энциклопедии!!!");
    return kExitRefused;
  }
  if (!OpenIndex()) {
    ShowError("Нехватает памяти для инициализации индекса!!!");
    return kExitSilent;
  }
  InstallDialogKeys(instance, {true, ResultsDialog});
  LoadBookmarks();
  program.whiteBrush.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  program.lightGreyBrush.Reset(CreateSolidBrush(RGB(192, 192, 192)));
  InvalidateRect(program.mainWindow, nullptr, TRUE);
  SetWindowTextA(program.mainWindow, kProductTitle);
  program.disk2 = config.Flag("IsDisk2Exists");
  program.showIntroduction = config.Flag("ShowIntroduction");
  SetUpVideoWindow(program);
  SetIntroductionBox(program.showIntroduction);
  // The logo window shows the article view when it is gone.
  if (program.showIntroduction)
    ShowLogo(instance);
  else
    ShowArticleViewAtStart();

  const int exitCode = MessageLoop();
  program.whiteBrush.Reset();
  program.lightGreyBrush.Reset();
  program.boldFont = program.lightFont = nullptr;
  SaveBookmarks();
  RemoveDialogKeys();
  return exitCode;
}

}  // namespace
}  // namespace kro::shell

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return kro::shell::Run(instance);
}
