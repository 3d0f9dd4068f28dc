#include "app/setup/SetupPlan.h"

#include <cctype>

namespace kro::setup {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// "/name=value" with a non-empty value, or nullopt.
std::optional<std::string> SwitchValue(std::string_view argument, std::string_view name) {
  if (argument.size() <= name.size() + 1 || argument[name.size()] != '=') return std::nullopt;
  if (!EqualsNoCase(argument.substr(0, name.size()), name)) return std::nullopt;
  return std::string(argument.substr(name.size() + 1));
}

std::optional<Program> ProgramNamed(std::string_view name) {
  if (EqualsNoCase(name, "player")) return Program::kPlayer;
  if (EqualsNoCase(name, "archive")) return Program::kArchive;
  return std::nullopt;
}

}  // namespace

// The C runtime's rules: 2n backslashes before a quote are n backslashes and the quote
// opens or closes a quoted part; 2n+1 are n and a literal quote; other backslashes are
// literal. Two quotes inside a quoted part are one literal quote.
std::vector<std::string> SplitArguments(std::string_view line) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      size_t slashes = 0;
      while (i < line.size() && line[i] == '\\') ++slashes, ++i;
      if (i < line.size() && line[i] == '"') {
        argument.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
      } else {
        argument.append(slashes, '\\');
        if (i == line.size()) break;
        if (!quoted && (line[i] == ' ' || line[i] == '\t')) break;
        argument += line[i];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string QuoteArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
  std::string quoted = "\"";
  size_t slashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    quoted += c;
  }
  // ...and so are the ones before the closing quote.
  quoted.append(slashes * 2, '\\');
  quoted += '"';
  return quoted;
}

std::optional<Command> ParseCommand(std::string_view commandLine) {
  const std::vector<std::string> arguments = SplitArguments(commandLine);
  Command command;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (EqualsNoCase(argument, "/S")) {
      command.silent = true;
    } else if (EqualsNoCase(argument, "/uninstall")) {
      command.action = Action::kUninstall;
    } else if (EqualsNoCase(argument, "/run")) {
      if (i + 1 == arguments.size()) return std::nullopt;
      const auto program = ProgramNamed(arguments[++i]);
      if (!program) return std::nullopt;
      command.action = Action::kRun;
      command.program = *program;
    } else if (auto disc = SwitchValue(argument, "/disc")) {
      command.discDir = WithoutTrailingBackslash(*disc);
    } else if (auto archive = SwitchValue(argument, "/archive")) {
      command.archiveDir = WithoutTrailingBackslash(*archive);
    } else {
      return std::nullopt;
    }
  }
  return command;
}

std::vector<std::pair<std::string, std::string>> IniKeys(const Installation& installation) {
  return {
      {"ProductDir", installation.encyclopediaDir},
      {"Directory", installation.workingDir},
      {"IsDisk2Exists", installation.archiveDir.empty() ? "0" : "1"},
      {"ShowIntroduction", "1"},
      // archive's key for the same font file.
      {"LUMFilDirectory", installation.workingDir},
  };
}

std::optional<std::string> ProductDirFor(const Installation& installation, Program program) {
  if (program == Program::kPlayer) return installation.encyclopediaDir;
  if (installation.archiveDir.empty()) return std::nullopt;
  return installation.archiveDir;
}

std::vector<std::string> DiscCandidates(std::string_view setupDir, const std::vector<std::string>& cdRoots) {
  std::vector<std::string> candidates(1, std::string(setupDir));
  candidates.push_back(Join(setupDir, kEncyclopediaFolder));
  candidates.push_back(Join(setupDir, kArchiveFolder));
  for (const std::string& root : cdRoots) candidates.push_back(WithoutTrailingBackslash(root));
  return candidates;
}

std::string WithoutTrailingBackslash(std::string dir) {
  // A drive root keeps its backslash: "D:" alone names the drive's current directory.
  while (dir.size() > 1 && dir.back() == '\\' && !(dir.size() == 3 && dir[1] == ':')) dir.pop_back();
  return dir;
}

std::string Join(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += name;
  return path;
}

bool FitsTheProgramsBuffers(std::string_view dir) {
  return !dir.empty() && dir.size() <= kMaxDirLength;
}

const char* ProgramFile(Program program) {
  return program == Program::kPlayer ? "player.exe" : "archive.exe";
}

}  // namespace kro::setup
