#include "tests/e2e/PlayerFixture_win.h"

#include <algorithm>

#include "app/shell/MainWindow_win.h"
#include "app/shell/Program_win.h"
#include "tests/support/Canvas_win.h"
#include "tests/support/Messages_win.h"
#include "tests/support/Screenshot_win.h"

namespace kro::e2e {

HWND ButtonAt(HWND parent, int x, int y) {
  POINT point{x + 2, y + 2};
  return ChildWindowFromPointEx(parent, point, CWP_SKIPINVISIBLE);
}

void PostClick(HWND window, POINT at) {
  const LPARAM point = MAKELPARAM(at.x, at.y);
  PostMessageA(window, WM_MOUSEMOVE, 0, point);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(window, WM_LBUTTONUP, 0, point);
}

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[256] = {};
    char text[256] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
    WideCharToMultiByte(1251, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    texts.emplace_back(text);
  }
  return texts;
}

HWND ArticleBody(HWND main) {
  const HWND area = FindWindowExA(main, nullptr, shell::kArticleAreaClass, nullptr);
  for (HWND topic = GetWindow(area, GW_CHILD); topic; topic = GetWindow(topic, GW_HWNDNEXT))
    for (HWND child = GetWindow(topic, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetWindowLongA(child, GWL_STYLE) & WS_VSCROLL) return child;
  return nullptr;
}

namespace {

// Link text is green; antialiased edges only lean towards it.
bool LinkGreen(COLORREF c) {
  return GetGValue(c) >= 90 && GetRValue(c) < 90 && GetBValue(c) < 90 && GetGValue(c) > GetRValue(c) + 40;
}

constexpr int kWordGap = 8;       // columns without green that end a word
constexpr int kUnderlineGap = 2;  // rows between a link's letters and its underline
// An unbroken green row under most of a word is its underline; no letter is that wide.
int UnderlineRun(int wordWidth) { return std::max(6, wordWidth * 4 / 5); }

}  // namespace

std::vector<LinkWord> LinkWords(HWND pane) {
  RECT view;
  GetClientRect(pane, &view);
  POINT origin{0, 0};
  ClientToScreen(pane, &origin);
  const int width = view.right, height = view.bottom;
  std::vector<uint8_t> green(static_cast<size_t>(width) * height);
  {
    wintest::Canvas shown(width, height);
    const HDC screen = GetDC(nullptr);
    BitBlt(shown.Dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) green[y * width + x] = LinkGreen(shown.At(x, y));
  }
  const auto RowHas = [&](int y) {
    return std::any_of(&green[y * width], &green[y * width] + width, [](uint8_t g) { return g; });
  };
  std::vector<LinkWord> words;
  for (int top = 0; top < height;) {
    if (!RowHas(top)) {
      ++top;
      continue;
    }
    int bottom = top;
    while (bottom < height && RowHas(bottom)) ++bottom;
    // A link's underline can stand apart from its letters by a row or two: it belongs to
    // the line above, and a band that thin is no line of text.
    for (int y = bottom; y < std::min(height, bottom + kUnderlineGap + 1); ++y)
      if (RowHas(y)) {
        int end = y;
        while (end < height && RowHas(end)) ++end;
        if (end - y <= kUnderlineGap) bottom = end;
        break;
      }
    if (bottom - top <= kUnderlineGap) {
      top = bottom;
      continue;
    }
    // One line of text [top, bottom): its words are runs of columns with green in them.
    for (int x = 0; x < width;) {
      const auto ColumnHas = [&](int column) {
        for (int y = top; y < bottom; ++y)
          if (green[y * width + column]) return true;
        return false;
      };
      if (!ColumnHas(x)) {
        ++x;
        continue;
      }
      int right = x, gap = 0;
      for (int c = x; c < width && gap < kWordGap; ++c) {
        if (ColumnHas(c)) {
          right = c + 1;
          gap = 0;
        } else {
          ++gap;
        }
      }
      bool underlined = false;
      for (int y = top; y < bottom && !underlined; ++y) {
        int run = 0;
        for (int c = x; c < right && !underlined; ++c)
          underlined = (run = green[y * width + c] ? run + 1 : 0) >= UnderlineRun(right - x);
      }
      words.push_back({{origin.x + x, origin.y + top, origin.x + right, origin.y + bottom}, underlined});
      x = right;
    }
    top = bottom;
  }
  return words;
}

void PlayerTest::SetUp() {
  WritePrivateProfileStringA("Kro", nullptr, nullptr, "kro97.ini");
  wintest::SetIni("ProductDir", wintest::HostPath(KRO_PRODUCT_DIR).c_str());
  wintest::SetIni("Directory", work_.Path().c_str());
  wintest::SetIni("IsDisk2Exists", "1");
  wintest::SetIni("ShowIntroduction", "0");
  wintest::SetAutoRun(kUserAutoRun);
  // The run command puts the dialogs' raster font into the working directory.
  CopyFileA(wintest::HostPath(KRO_PRODUCT_DIR "/cdp.fon").c_str(), (work_ / "cdp.fon").c_str(), FALSE);
  auto opened = mv::Title::OpenFile(wintest::HostPath(KRO_PRODUCT_DIR "/kro.m14"), {});
  ASSERT_TRUE(opened) << opened.error().ToString();
  title_ = std::move(*opened);
}

void PlayerTest::TearDown() {
  player_.Forget();
  // Its file stays open while it is: a disc made of links to it could not be removed.
  title_.reset();
}

bool PlayerTest::Start() {
  return Launch() && WaitFor([&] { return (main_ = FindWindowA(shell::kMainWindowClass, nullptr)) && IsWindowVisible(main_); },
                             kStartPolls);
}

bool PlayerTest::Shows(const std::string& title) {
  return WaitFor([&] { return wintest::TextOf(main_).rfind(title, 0) == 0; }, kStepPolls);
}

DWORD PlayerTest::CloseByCaptionButton() {
  RECT window;
  GetWindowRect(main_, &window);
  PostMessageA(main_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 628, window.top + 10));
  return ExitCode();
}

DWORD PlayerTest::Quit() {
  PostMessageA(main_, WM_COMMAND, shell::kCmdExit, 0);
  return ExitCode();
}

std::string PlayerTest::Named(const char* context) const {
  return std::string(title_->TopicTitle(title_->TopicByContext(context)).value_or("?"));
}

void PlayerTest::Screenshot(HWND window, const char* name) {
  // What is on the screen once the program has painted: some rounds of its loop first.
  player_.Idle(10);
  EXPECT_TRUE(wintest::SaveScreenshot(window, name)) << name;
}

}  // namespace kro::e2e
