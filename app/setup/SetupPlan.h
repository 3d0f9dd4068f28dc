#pragma once
// What the installer does, decided without touching the system: its command line, the
// kro97.ini keys it writes for each program, and the checks on the folders it is given.
// Portable, so that the decisions are tested natively; Setup_win.cpp carries them out.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kro::setup {

enum class Action { kInstall, kUninstall, kRun };
enum class Program { kPlayer, kArchive };

struct Command {
  Action action = Action::kInstall;
  bool silent = false;            // no questions and no messages: for scripted installs
  std::string discDir;            // /disc=PATH: the encyclopedia disc, not searched for
  std::string archiveDir;         // /archive=PATH: the video archive disc, likewise
  Program program = Program::kPlayer;  // of /run
};

// Parses "/S", "/uninstall", "/run player|archive", "/disc=PATH", "/archive=PATH" (case-insensitive
// switches, arguments split as the C runtime splits them). nullopt names a bad command line.
std::optional<Command> ParseCommand(std::string_view commandLine);
std::vector<std::string> SplitArguments(std::string_view commandLine);
// The command-line form of one argument that SplitArguments reads back unchanged.
std::string QuoteArgument(std::string_view argument);

// What one installation consists of; the installer keeps it in its uninstall record.
struct Installation {
  std::string encyclopediaDir;  // the encyclopedia disc, without a trailing backslash
  std::string archiveDir;       // the video archive disc; empty when there is none
  std::string programDir;       // the folder of player.exe and archive.exe
  std::string workingDir;       // state files and the dialogs' font
};

// The keys an installation writes, in order: the encyclopedia disc as ProductDir, the
// logo on for the first start.
std::vector<std::pair<std::string, std::string>> IniKeys(const Installation& installation);
// The programs read one ProductDir, the disc in the drive, so starting a program first
// puts the disc it needs there, as a user would swap discs. nullopt: archive without its disc.
std::optional<std::string> ProductDirFor(const Installation& installation, Program program);

// Where discs are looked for, in order: the installer's own folder and the disc folders
// beside it (as the zip holds them), then the root of each CD drive.
std::vector<std::string> DiscCandidates(std::string_view setupDir, const std::vector<std::string>& cdRoots);

// The programs keep every ini value in a 256-byte buffer and append a backslash to
// ProductDir: a longer folder would be refused by them at start, so it is refused here.
constexpr size_t kMaxDirLength = 254;
std::string WithoutTrailingBackslash(std::string dir);
std::string Join(std::string_view dir, std::string_view name);
bool FitsTheProgramsBuffers(std::string_view dir);

// The zip's folders of the two discs, beside the installer.
constexpr const char* kEncyclopediaFolder = "disc1";
constexpr const char* kArchiveFolder = "disc2";
// Files that tell the discs apart, relative to the disc's folder.
constexpr const char* kEncyclopediaMarkers[] = {"kro.m14", "sound.mov"};
constexpr const char* kArchiveMarkers[] = {"MOVIES\\ORBITAL.MOV", "video.dat"};
// The dialogs' raster font that start-up adds from the working directory.
constexpr const char* kWorkingFiles[] = {"cdp.fon"};

const char* ProgramFile(Program program);

}  // namespace kro::setup
