// The installer of the encyclopedia: finds the discs, writes kro97.ini, puts the working
// files in place, records itself for uninstalling and makes the Start-menu shortcuts.
// "/uninstall" takes all of it away again; "/run" starts a program with its disc.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "app/setup/SetupPlan.h"
#include "app/setup/SetupSystem_win.h"

namespace kro::setup {
namespace {

constexpr const char* kCaption = "Установка Энциклопедии России";
constexpr const char* kMenuFolder = "Энциклопедия России";
constexpr const char* kWorkingFolder = "Kro97";

enum ExitCode { kDone = 0, kFailed = 1, kBadCommandLine = 2 };

bool gSilent = false;

// Silent runs have no one to ask: the message goes to the standard error when there is one.
int Tell(const std::string& text, UINT style) {
  if (!gSilent) return MessageBoxA(nullptr, text.c_str(), kCaption, style);
  if (HANDLE error = GetStdHandle(STD_ERROR_HANDLE); error && error != INVALID_HANDLE_VALUE) {
    const std::string line = "setup: " + text + "\n";
    DWORD written = 0;
    WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  return IDCANCEL;
}

int Refuse(const std::string& text) {
  Tell(text, MB_OK | MB_ICONHAND);
  return kFailed;
}

int Refuse(const Failure& failure) {
  char code[16];
  std::snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(failure.code));
  return Refuse("Не удалось выполнить установку:\n" + failure.what + "\n(код ошибки " + code + ").");
}

std::vector<Shortcut> Shortcuts(const Installation& installation) {
  const std::string player = Join(installation.programDir, ProgramFile(Program::kPlayer));
  const std::string archive = Join(installation.programDir, ProgramFile(Program::kArchive));
  std::vector<Shortcut> shortcuts = {{"Энциклопедия России", "/run player", player}};
  if (!installation.archiveDir.empty()) shortcuts.push_back({"Фильмотека", "/run archive", archive});
  shortcuts.push_back({"Удаление Энциклопедии России", "/uninstall", player});
  return shortcuts;
}

std::string MenuFolder() {
  return Join(CommonFolder(CSIDL_COMMON_PROGRAMS), kMenuFolder);
}

// The folder dialog; "" when the user closes it.
std::string AskForFolder(const char* prompt) {
  // The dialog's new style is an OLE control.
  struct OleScope {
    OleScope() { OleInitialize(nullptr); }
    ~OleScope() { OleUninitialize(); }
  } ole;
  BROWSEINFOA browse{};
  browse.lpszTitle = prompt;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
  if (!chosen) return {};
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  return ok ? WithoutTrailingBackslash(path) : std::string();
}

std::string NotADisc(const std::string& dir) {
  return "В папке\n" + dir + "\nнет файлов Энциклопедии (kro.m14, sound.mov).";
}

// The encyclopedia disc: given, found and confirmed, or chosen in the folder dialog.
// "" when the user gives up or a silent run has none.
std::string EncyclopediaDisc(const Command& command, const std::string& setupDir) {
  std::string dir = command.discDir;
  if (dir.empty()) dir = FindDisc(DiscCandidates(setupDir, CdRoots()), kEncyclopediaMarkers);
  if (gSilent) {
    if (dir.empty()) Refuse("Не найдена папка с диском Энциклопедии; укажите её ключом /disc=ПАПКА.");
    else if (!HasMarkers(dir, kEncyclopediaMarkers)) Refuse(NotADisc(dir));
    else return dir;
    return {};
  }
  for (;;) {
    if (!dir.empty() && HasMarkers(dir, kEncyclopediaMarkers)) {
      const int answer = Tell("Энциклопедия России будет установлена с диска в папке\n" + dir +
                                  "\n\n«Да» — установить, «Нет» — указать другую папку.",
                              MB_YESNOCANCEL | MB_ICONQUESTION);
      if (answer == IDYES) return dir;
      if (answer == IDCANCEL) return {};
    } else {
      Tell(dir.empty() ? "Диск Энциклопедии России не найден. Укажите папку, в которой он лежит."
                       : NotADisc(dir) + "\nУкажите папку диска Энциклопедии.",
           MB_OK | MB_ICONEXCLAMATION);
    }
    dir = AskForFolder("Укажите папку диска «Энциклопедия России»");
    if (dir.empty()) return {};
  }
}

// Undoes whatever part of an installation exists; the first failure is reported.
Outcome RemoveInstallation(const Installation& installation) {
  Outcome first;
  auto keep = [&first](Outcome outcome) {
    if (outcome && !first) first = std::move(outcome);
  };
  keep(RemoveShortcuts(MenuFolder(), Shortcuts(installation)));
  keep(RemoveIni());
  if (!installation.workingDir.empty()) keep(RemoveDirWithFiles(installation.workingDir));
  keep(RemoveRecord());
  return first;
}

Outcome MakeInstallation(const Installation& installation, const std::string& encyclopediaDir) {
  const std::string setupExe = Join(ModuleDir(), "setup.exe");
  if (auto failure = MakeDir(installation.workingDir)) return failure;
  for (const char* file : kWorkingFiles) {
    if (auto failure = CopyInto(Join(encyclopediaDir, file), installation.workingDir)) return failure;
  }
  if (auto failure = WriteIni(IniKeys(installation))) return failure;
  if (auto failure = WriteRecord(installation, setupExe)) return failure;
  return MakeShortcuts(MenuFolder(), setupExe, Shortcuts(installation));
}

int Install(const Command& command) {
  const std::string setupDir = ModuleDir();
  Installation installation;
  installation.programDir = ProgramDirBeside(setupDir);
  if (installation.programDir.empty()) {
    return Refuse("Рядом с программой установки нет папки с программами Энциклопедии (x86_64 или i686).");
  }
  installation.encyclopediaDir = EncyclopediaDisc(command, setupDir);
  if (installation.encyclopediaDir.empty()) return kFailed;
  installation.archiveDir = command.archiveDir;
  if (installation.archiveDir.empty()) {
    std::vector<std::string> candidates = DiscCandidates(setupDir, CdRoots());
    candidates.insert(candidates.begin(), installation.encyclopediaDir);
    installation.archiveDir = FindDisc(candidates, kArchiveMarkers);
  } else if (!HasMarkers(installation.archiveDir, kArchiveMarkers)) {
    return Refuse("В папке\n" + installation.archiveDir + "\nнет диска видеоархива (MOVIES\\ORBITAL.MOV).");
  }
  const std::string appData = CommonFolder(CSIDL_COMMON_APPDATA);
  if (appData.empty()) return Refuse("Не найдена общая папка данных программ Windows.");
  installation.workingDir = Join(appData, kWorkingFolder);
  for (const std::string* dir : {&installation.encyclopediaDir, &installation.archiveDir, &installation.workingDir}) {
    if (!dir->empty() && !FitsTheProgramsBuffers(*dir)) {
      return Refuse("Путь\n" + *dir + "\nдлиннее 254 знаков: программы Энциклопедии его не прочтут. "
                    "Перенесите папку ближе к корню диска.");
    }
  }
  if (auto failure = MakeInstallation(installation, installation.encyclopediaDir)) {
    RemoveInstallation(installation);
    return Refuse(*failure);
  }
  Tell(std::string("Установка завершена.\nЭнциклопедия России — в меню «Пуск», папка «") + kMenuFolder + "»." +
           (installation.archiveDir.empty() ? "\n\nДиск видеоархива не найден: фильмы с него недоступны." : ""),
       MB_OK | MB_ICONINFORMATION);
  return kDone;
}

int Uninstall() {
  const auto installation = ReadRecord();
  if (!installation) return Refuse("Энциклопедия России не установлена.");
  if (!gSilent && Tell("Удалить Энциклопедию России с компьютера?\nЗакладки и последняя прочитанная статья "
                       "будут удалены вместе с ней.",
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return kFailed;
  }
  if (auto failure = RemoveInstallation(*installation)) return Refuse(*failure);
  Tell("Энциклопедия России удалена с компьютера.", MB_OK | MB_ICONINFORMATION);
  return kDone;
}

int Run(Program program) {
  const auto installation = ReadRecord();
  if (!installation) return Refuse("Энциклопедия России не установлена. Запустите программу установки.");
  const auto disc = ProductDirFor(*installation, program);
  if (!disc) return Refuse("Диск видеоархива не был найден при установке.");
  if (auto failure = WriteIniKey("ProductDir", *disc)) return Refuse(*failure);
  if (auto failure = Start(Join(installation->programDir, ProgramFile(program)), installation->programDir)) {
    return Refuse(*failure);
  }
  return kDone;
}

}  // namespace
}  // namespace kro::setup

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  using namespace kro::setup;
  const auto command = ParseCommand(commandLine ? commandLine : "");
  if (!command) {
    Refuse("Неизвестный ключ командной строки.\nКлючи: /S, /uninstall, /run player|archive, /disc=ПАПКА, "
           "/archive=ПАПКА.");
    return kBadCommandLine;
  }
  gSilent = command->silent;
  switch (command->action) {
    case Action::kInstall: return Install(*command);
    case Action::kUninstall: return Uninstall();
    case Action::kRun: return Run(command->program);
  }
  return kFailed;
}
