// random_input: a seeded random-input run of player or archive, driven from outside as a
// restless user would: clicks at random points of the program's windows, mostly on its
// buttons and lists, and keys into whatever holds the focus.
//   random_input PROGRAM [SECONDS [SEED]] [--steps N] [--sample SECONDS] [--log FILE]
// It fails at the first crash, hang (a window that does not answer within 5 s), message box
// whose text the program does not carry, dialog of another program, steady growth of GDI or
// USER objects, or state file that no longer loads. A failed run is replayed with its seed
// and --steps set to the step it names. Exit code 0 when the run passed.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/article/Pane_win.h"
#include "app/article/tests/TestPrinter_win.h"
#include "app/lists/VirtualListBox_win.h"
#include "app/toolkit/BitmapButton.h"
#include "app/toolkit/MovieButton.h"
#include "runtime/base/FileIo_win.h"
#include "tests/random/DefinedTexts_win.h"
#include "tests/random/GuiCounts_win.h"
#include "tests/random/Input_win.h"
#include "tests/random/ProgramRun_win.h"
#include "tests/random/RandomSteps.h"
#include "tests/support/Files_win.h"
#include "tests/support/Messages_win.h"

namespace kro::randominput {
namespace {

constexpr UINT kAnswerMs = 5000;
// Polls a program may go without any visible window (while it closes, or between the logo
// and the main window) before it counts as lost.
constexpr int kWindowlessPolls = 6000;
// Rounds the program gets after each step (besides its own idle wait) to paint and settle.
constexpr int kSettlePolls = 3;
// Rises of the floor per third of a life below these are too small to call a leak.
constexpr uint32_t kMinGdiRise = 25;
constexpr uint32_t kMinUserRise = 10;

// ---- The dice's vocabulary -------------------------------------------------------------

enum Action : size_t { kClick, kDoubleClick, kKey };
constexpr uint32_t kActionWeights[] = {50, 10, 40};

// Where a click aims: the program's buttons and lists above all, then its text, then any
// point of the window (caption strip included).
enum Aim : size_t { kAimButton, kAimList, kAimText, kAimAnywhere };
constexpr uint32_t kAimWeights[] = {45, 25, 10, 20};
const std::vector<std::string> kAimClasses[] = {
    {toolkit::kBitmapButtonClass, toolkit::kMovieButtonClass, "ButtonClassName", "SwitchClassName", "Button"},
    {lists::kVirtualListBoxClass, "ListWindowClass", "ExplorerWindowClass", "ScrollBarClassName", "ListBox", "ComboBox",
     "ScrollBar"},
    {article::kPaneClass, "Edit", "WinSlide", "TIMELINECLASS"},
    {}};
constexpr const char* kAimNames[] = {"button", "list", "text", "window"};

enum KeyKind { kVirtual, kLatinLetter, kRussianLetter };
struct Key {
  const char* name;
  KeyKind kind;
  WORD virtualKey;
  bool alt;
  uint32_t weight;
};
// Alt+F4 ends the program (the run restarts it), so it is rare enough for lives of minutes.
constexpr Key kKeys[] = {
    {"Esc", kVirtual, VK_ESCAPE, false, 6},    {"Enter", kVirtual, VK_RETURN, false, 8},
    {"F9", kVirtual, VK_F9, false, 3},         {"Tab", kVirtual, VK_TAB, false, 4},
    {"Left", kVirtual, VK_LEFT, false, 4},     {"Right", kVirtual, VK_RIGHT, false, 4},
    {"Up", kVirtual, VK_UP, false, 4},         {"Down", kVirtual, VK_DOWN, false, 4},
    {"PgUp", kVirtual, VK_PRIOR, false, 3},    {"PgDn", kVirtual, VK_NEXT, false, 3},
    {"Home", kVirtual, VK_HOME, false, 3},     {"End", kVirtual, VK_END, false, 3},
    {"Space", kVirtual, VK_SPACE, false, 2},   {"Backspace", kVirtual, VK_BACK, false, 2},
    {"Alt+F4", kVirtual, VK_F4, true, 1},      {"letter", kLatinLetter, 0, false, 6},
    {"Russian letter", kRussianLetter, 0, false, 8},
};

// ---- The log ----------------------------------------------------------------------------

std::string Utf8(std::string_view cp1251) {
  const int wide = MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), nullptr, 0);
  std::wstring text(wide, L'\0');
  MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), text.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

// Every line goes to the log file, in UTF-8 for the Linux side; the summary and the faults
// also to the console.
class RunLog {
public:
  explicit RunLog(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
  ~RunLog() {
    if (file_) std::fclose(file_);
  }
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;
  bool Open() const { return file_ != nullptr; }
  void Line(std::string_view text) {
    if (!file_) return;
    std::fputs((Utf8(text) + "\n").c_str(), file_);
    std::fflush(file_);
  }
  void Echo(std::string_view text) {
    Line(text);
    std::fputs((Utf8(text) + "\n").c_str(), stdout);
    std::fflush(stdout);
  }

private:
  std::FILE* file_;
};

std::string Describe(HWND hwnd) { return ClassOf(hwnd) + " \"" + CaptionOf(hwnd) + "\""; }

// ---- Input ------------------------------------------------------------------------------

DWORD OwnerOf(HWND hwnd) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  return owner;
}

struct Candidates {
  const std::vector<std::string>* classes;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
  auto& candidates = *reinterpret_cast<Candidates*>(lParam);
  if (!IsWindowVisible(hwnd)) return TRUE;
  const std::string name = ClassOf(hwnd);
  for (const std::string& wanted : *candidates.classes)
    if (lstrcmpiA(name.c_str(), wanted.c_str()) == 0) candidates.found.push_back(hwnd);
  return TRUE;
}

// ---- The checks -------------------------------------------------------------------------

struct BoxTexts {
  bool messageBox = true;  // nothing but texts and buttons
  std::vector<std::string> texts;
};

BOOL CALLBACK CollectBoxText(HWND hwnd, LPARAM lParam) {
  auto& box = *reinterpret_cast<BoxTexts*>(lParam);
  const std::string name = ClassOf(hwnd);
  if (lstrcmpiA(name.c_str(), "Static") == 0) {
    if (std::string text = CaptionOf(hwnd); !text.empty()) box.texts.push_back(std::move(text));
  } else if (lstrcmpiA(name.c_str(), "Button") != 0) {
    box.messageBox = false;
  }
  return TRUE;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : " | ") + text;
  return joined;
}

std::string Counts(std::string_view name, const std::vector<uint32_t>& samples) {
  std::string text(name);
  for (uint32_t sample : samples) text += " " + std::to_string(sample);
  return text;
}

// ---- The run ----------------------------------------------------------------------------

class RandomRun {
public:
  RandomRun(const RunOptions& options, ProgramKind kind, RunLog& log)
      : options_(options), program_(std::move(kind)), log_(log), defined_(ReadWholeFile(program_.Kind().exe).value_or(std::vector<uint8_t>{})) {}

  bool Execute();

private:
  bool Fault(const std::string& what) {
    log_.Echo("FAULT at step " + std::to_string(step_) + ": " + what);
    log_.Echo("replay: ./dev random " + options_.program + " " + std::to_string(options_.seconds) + " " +
              std::to_string(options_.seed) + " --steps " + std::to_string(step_));
    return false;
  }
  bool StartLife();
  bool EndLife();
  bool Restart();
  bool AwaitWindow();
  bool CheckWindows();
  bool CheckBox(HWND box);
  bool CheckForeign();
  void Sample(bool echo);
  void Step();
  void Click(StepDice& dice, HWND top, bool twice);
  void TypeKey(StepDice& dice, HWND top);
  bool Finish();
  uint64_t ElapsedMs() const { return GetTickCount64() - started_; }

  const RunOptions& options_;
  ProgramRun program_;
  RunLog& log_;
  DefinedTexts defined_;
  std::set<HWND> othersAtStart_, seen_;
  std::vector<uint32_t> gdi_, user_;  // this life's samples
  uint64_t started_ = 0, nextSampleMs_ = 0, step_ = 0;
  int restarts_ = 0, samples_ = 0, lives_ = 0;
};

BOOL CALLBACK CollectOther(HWND hwnd, LPARAM lParam) {
  if (IsWindowVisible(hwnd)) reinterpret_cast<std::set<HWND>*>(lParam)->insert(hwnd);
  return TRUE;
}

bool RandomRun::StartLife() {
  ++lives_;
  gdi_.clear();
  user_.clear();
  if (!program_.Start()) return Fault("the program did not show a window");
  Sample(false);
  return true;
}

// The judgement of one life's samples, once it is over.
bool RandomRun::EndLife() {
  if (GrowsSteadily(gdi_, kMinGdiRise)) return Fault("GDI objects grow steadily:" + Counts("", gdi_));
  if (GrowsSteadily(user_, kMinUserRise)) return Fault("USER objects grow steadily:" + Counts("", user_));
  return true;
}

bool RandomRun::Restart() {
  const DWORD code = program_.ExitCode();
  // 0 and 1 are the programs' own ends (closed, or a start-up that refused); anything else
  // is an exception code or a forced end.
  if (code != 0 && code != 1) {
    char text[64];
    std::snprintf(text, sizeof text, "the program crashed: exit code 0x%08lX", code);
    return Fault(text);
  }
  if (!EndLife()) return false;
  ++restarts_;
  log_.Line("restart " + std::to_string(restarts_) + " before step " + std::to_string(step_) + ": exit code " +
            std::to_string(code));
  return StartLife();
}

BOOL CALLBACK CollectHidden(HWND hwnd, LPARAM lParam) {
  auto& listed = *reinterpret_cast<std::pair<DWORD, std::string>*>(lParam);
  if (OwnerOf(hwnd) != listed.first || IsWindowVisible(hwnd)) return TRUE;
  DWORD_PTR answer = 0;
  const bool answers = SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &answer);
  listed.second += " " + Describe(hwnd) + (answers ? " (answers)" : " (does not answer)");
  return TRUE;
}

std::string HiddenWindows(DWORD processId) {
  std::pair<DWORD, std::string> listed{processId, {}};
  EnumWindows(CollectHidden, reinterpret_cast<LPARAM>(&listed));
  return listed.second;
}

// A step needs a window to aim at; the time a program spends without one (closing, or
// between its logo and its main window) takes no step, so that a replay draws the same.
bool RandomRun::AwaitWindow() {
  const DWORD id = program_.ProcessId();
  wintest::WaitUntil([&] { return !TopLevelWindows(id).empty(); }, kWindowlessPolls, program_.Process());
  if (!program_.Running()) return Restart() && AwaitWindow();
  if (TopLevelWindows(id).empty()) {
    const std::string hidden = HiddenWindows(id);
    // A slow close and a hung one look alike at first: another minute tells them apart.
    wintest::WaitUntil([&] { return !program_.Running(); }, kWindowlessPolls, program_.Process());
    const std::string after = program_.Running() ? "still running a minute later"
                                                 : "ended a minute later, exit code " + std::to_string(program_.ExitCode());
    return Fault("the program runs on without a window; hidden:" + hidden + "; " + after);
  }
  return true;
}

bool RandomRun::CheckWindows() {
  for (HWND hwnd : TopLevelWindows(program_.ProcessId())) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &answer) && IsWindow(hwnd))
      return Fault("no answer within 5 s from " + Describe(hwnd));
    if (ClassOf(hwnd) == "#32770" && seen_.insert(hwnd).second && !CheckBox(hwnd)) return false;
  }
  return CheckForeign();
}

bool RandomRun::CheckBox(HWND box) {
  BoxTexts found;
  EnumChildWindows(box, CollectBoxText, reinterpret_cast<LPARAM>(&found));
  const std::string what = Describe(box) + ": " + Joined(found.texts);
  if (!found.messageBox) {
    log_.Line("dialog " + what);
    return true;
  }
  // Wine puts its own "About" into every system menu, and that dialog a licence box: the
  // platform's texts, which no caption of the programs names.
  if (CaptionOf(box).find("Wine") != std::string::npos) {
    log_.Line("platform box " + what);
    return true;
  }
  for (const std::string& text : found.texts)
    if (!defined_.Contains(text)) return Fault("a message box the program does not define: " + what);
  log_.Line("message box " + what);
  return true;
}

// Nothing else may put up a window while the program runs: a new dialog of another process
// is an error report (the crash handler's, a helper program's).
bool RandomRun::CheckForeign() {
  std::set<HWND> now;
  EnumWindows(CollectOther, reinterpret_cast<LPARAM>(&now));
  for (HWND hwnd : now) {
    const DWORD owner = OwnerOf(hwnd);
    if (owner == program_.ProcessId() || owner == GetCurrentProcessId() || othersAtStart_.contains(hwnd)) continue;
    if (!seen_.insert(hwnd).second) continue;
    log_.Line("window of process " + std::to_string(owner) + ": " + Describe(hwnd));
    if (ClassOf(hwnd) == "#32770") {
      BoxTexts found;
      EnumChildWindows(hwnd, CollectBoxText, reinterpret_cast<LPARAM>(&found));
      return Fault("a dialog of another process: " + Describe(hwnd) + ": " + Joined(found.texts));
    }
  }
  return true;
}

std::string Kinds(const GuiCounts& counts) {
  std::string text;
  for (const auto& [kind, count] : counts.gdiKinds) text += (text.empty() ? "; " : ", ") + kind + " " + std::to_string(count);
  return text;
}

// The samples each minute go to the console too; the one at each start only to the log.
void RandomRun::Sample(bool echo) {
  const GuiCounts counts = CountGuiObjects(program_.Process(), program_.ProcessId());
  gdi_.push_back(counts.gdi);
  user_.push_back(counts.user);
  ++samples_;
  nextSampleMs_ = ElapsedMs() + options_.sampleSeconds * 1000ull;
  const std::string line = "sample at " + std::to_string(ElapsedMs() / 1000) + " s, step " + std::to_string(step_) +
                           ", life " + std::to_string(lives_) + ": GDI " + std::to_string(counts.gdi) + ", USER " + std::to_string(counts.user) +
            ", windows " + std::to_string(counts.windows) +
                           (counts.fromSystem ? " (GetGuiResources)" : " (GDI handle table, window count)") +
                           Kinds(counts);
  if (echo) log_.Echo(line);
  else log_.Line(line);
}

void RandomRun::Click(StepDice& dice, HWND top, bool twice) {
  const size_t aim = dice.Weighted(kAimWeights);
  Candidates candidates{&kAimClasses[aim], {}};
  if (aim != kAimAnywhere) EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&candidates));
  const uint32_t pick = dice.Below(static_cast<uint32_t>(candidates.found.size()));
  const HWND target = candidates.found.empty() ? top : candidates.found[pick];
  RECT rect{};
  GetWindowRect(target, &rect);
  const POINT at{rect.left + static_cast<LONG>(dice.Below(std::max<LONG>(rect.right - rect.left, 1))),
                 rect.top + static_cast<LONG>(dice.Below(std::max<LONG>(rect.bottom - rect.top, 1)))};
  std::string what = std::string(twice ? "double click " : "click ") + kAimNames[candidates.found.empty() ? kAimAnywhere : aim] +
                     " " + Describe(target) + " at " + std::to_string(at.x) + "," + std::to_string(at.y);
  // Only the program's own windows take the hand: a point covered by anything else is left.
  const HWND under = WindowFromPoint(at);
  if (!under || OwnerOf(under) != program_.ProcessId()) {
    log_.Line("step " + std::to_string(step_) + ": skipped " + what + " (not the program's there)");
    return;
  }
  log_.Line("step " + std::to_string(step_) + ": " + what);
  ClickAt(at, twice);
}

void RandomRun::TypeKey(StepDice& dice, HWND top) {
  uint32_t weights[std::size(kKeys)];
  for (size_t i = 0; i < std::size(kKeys); ++i) weights[i] = kKeys[i].weight;
  const Key& key = kKeys[dice.Weighted(weights)];
  // Typing reaches the focus of the program's one thread, or its active window.
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(program_.ThreadId(), &thread);
  const HWND target = thread.hwndFocus ? thread.hwndFocus : thread.hwndActive ? thread.hwndActive : top;
  std::string name = key.name;
  if (key.kind == kRussianLetter) {
    // А to я in cp1251, as the Russian layout types them.
    const char letter = static_cast<char>(0xC0 + dice.Below(64));
    name += std::string(" ") + letter;
    PostCharacter(target, letter);
  } else {
    const WORD virtualKey = key.kind == kLatinLetter ? static_cast<WORD>('A' + dice.Below(26)) : key.virtualKey;
    if (key.kind == kLatinLetter) name += std::string(" ") + static_cast<char>(virtualKey);
    PostKeyStroke(target, virtualKey, key.alt);
  }
  log_.Line("step " + std::to_string(step_) + ": key " + name + " to " + Describe(target));
}

void RandomRun::Step() {
  StepDice dice(options_.seed, step_);
  const size_t action = dice.Weighted(kActionWeights);
  const std::vector<HWND> windows = TopLevelWindows(program_.ProcessId());
  if (windows.empty()) return;  // gone since it was awaited: the next step waits again
  const HWND top = windows[dice.Below(static_cast<uint32_t>(windows.size()))];
  if (action == kKey) TypeKey(dice, top);
  else Click(dice, top, action == kDoubleClick);
  WaitForInputIdle(program_.Process(), kAnswerMs);
  wintest::WaitUntil([] { return false; }, kSettlePolls, program_.Process());
}

// Closes the program as a user would and checks that what it saved loads, in its readers
// and in the program itself at one more start.
bool RandomRun::Finish() {
  Sample(true);
  if (!EndLife()) return false;
  if (!program_.Close()) return Fault("the program did not end when its windows were closed");
  const DWORD code = program_.ExitCode();
  if (code != 0 && code != 1) return Fault("the program ended with exit code " + std::to_string(code) + " on close");
  if (const std::string fault = program_.CheckState(); !fault.empty()) return Fault("state files: " + fault);
  if (!program_.Start()) return Fault("the program did not start again on the state it saved");
  if (!program_.Close()) return Fault("the program did not end after the start on its saved state");
  return true;
}

bool RandomRun::Execute() {
  log_.Echo("random input: " + options_.program + ", seed " + std::to_string(options_.seed) + ", " +
            (options_.steps ? std::to_string(*options_.steps) + " steps" : std::to_string(options_.seconds) + " s") +
            ", samples every " + std::to_string(options_.sampleSeconds) + " s, working folder " + program_.WorkFolder());
  if (!defined_.Loaded()) return Fault("cannot read " + program_.Kind().exe);
  // Without a printer the print dialog only says so; with one, the whole dialog takes input.
  if (program_.Kind().keepsState) log_.Line("printer: " + article::test::TestPrinter());
  EnumWindows(CollectOther, reinterpret_cast<LPARAM>(&othersAtStart_));
  started_ = GetTickCount64();
  if (!StartLife()) return false;
  for (step_ = 1;; ++step_) {
    if (options_.steps ? step_ > *options_.steps : ElapsedMs() >= options_.seconds * 1000ull) break;
    if (!AwaitWindow() || !CheckWindows()) return false;
    if (ElapsedMs() >= nextSampleMs_) Sample(true);
    Step();
  }
  --step_;
  const bool finished = Finish();
  log_.Echo("random input " + std::string(finished ? "passed" : "FAILED") + ": " + options_.program + ", seed " +
            std::to_string(options_.seed) + ", " + std::to_string(step_) + " steps in " +
            std::to_string(ElapsedMs() / 1000) + " s, " + std::to_string(restarts_) + " restarts, " +
            std::to_string(samples_) + " samples");
  return finished;
}

std::optional<ProgramKind> KindOf(const std::string& program) {
  if (program == "player")
    return ProgramKind{"player", wintest::HostPath(KRO_PLAYER_EXE), wintest::HostPath(KRO_PRODUCT_DIR), "EncWindowClass",
                       true};
  if (program == "archive")
    return ProgramKind{"archive", wintest::HostPath(KRO_ARCHIVE_EXE), wintest::HostPath(KRO_ARCHIVE_DIR),
                       "GalleryDialog", false};
  return std::nullopt;
}

}  // namespace
}  // namespace kro::randominput

int main(int argc, char** argv) {
  using namespace kro::randominput;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const OptionsOrError parsed = ParseRunOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "random_input: %s\nusage: random_input player|archive [SECONDS [SEED]] [--steps N] "
                         "[--sample SECONDS] [--log FILE]\n", parsed.error.c_str());
    return 2;
  }
  RunLog log(parsed.options->logPath);
  if (!log.Open()) {
    std::fprintf(stderr, "random_input: cannot write %s\n", parsed.options->logPath.c_str());
    return 2;
  }
  RandomRun run(*parsed.options, *KindOf(parsed.options->program), log);
  return run.Execute() ? 0 : 1;
}
