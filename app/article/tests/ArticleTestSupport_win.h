#pragma once
// Shared pieces of the article window tests: the fixture title, a host that records what
// the article windows tell it, a main window that records its commands, and what the
// displays show. The pump, input and the clipboard come from tests/support.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/Messages_win.h"

namespace kro::article::test {

HMVTITLE FixtureTitle();
LONG AddressOf(const char* context);

struct HostLog {
  int historySteps = 0;
  std::vector<std::pair<bool, bool>> navigation;
  std::vector<int> letters;
  int shown = 0;
  int highlights = 0;
  std::vector<WPARAM> commands;                // WM_COMMAND ids the main window got
  std::vector<std::pair<UINT, HWND>> notices;  // kTopicActivated / kTopicClosed
};

class RecordingHost : public ArticleHost {
public:
  RecordingHost();
  ~RecordingHost() override;
  void RecordHistory(LPMV) override { ++log.historySteps; }
  void NavigationChanged(bool hasPrevious, bool hasNext) override { log.navigation.push_back({hasPrevious, hasNext}); }
  void LetterChanged(int letterIndex) override { log.letters.push_back(letterIndex); }
  void ArticleShown(TopicRecord*) override { ++log.shown; }
  void ApplyHighlights(LPMV) override { ++log.highlights; }
  HWND MainWindow() override { return window_; }

  HostLog log;

private:
  HWND window_;
};

// A fixture with the host installed and its main window on screen at (0, 0).
class ArticleTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // A visible child topic window of the main window at `rect` showing `context`.
  TopicRecord* Open(const char* context, RECT rect);

  RecordingHost host_;
  std::vector<TopicRecord*> records_;
};

using wintest::Click;
using wintest::ClearClipboard;
using wintest::HeldKeys;
using wintest::PressKey;
using wintest::Pump;
// The clipboard's text, CR removed.
inline std::string ClipboardText() { return wintest::WithoutCr(wintest::ClipboardText()); }
// Text of the region a display shows, CR removed.
std::string RegionText(LPMV display);
// The hotspot rectangles of a display, in Tab order; leaves the focus on the first.
std::vector<RECT> HotspotRects(LPMV display);
POINT CentreOf(const RECT& r);
LONG ShownAddress(LPMV display);

}  // namespace kro::article::test
