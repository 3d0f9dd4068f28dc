#include "app/article/tests/ArticleTestSupport_win.h"

#include <algorithm>

namespace kro::article::test {
namespace {

constexpr char kMainClass[] = "ArticleTestMain";

std::string BesideExe(const char* name) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* log = reinterpret_cast<HostLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (log) log->commands.push_back(wParam);
      return 0;
    case kTopicActivated:
    case kTopicClosed:
      if (log) log->notices.push_back({message, reinterpret_cast<HWND>(lParam)});
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Once per process: the runtime, the classes and the title.
struct Environment {
  Environment() {
    MVSetInstance(GetModuleHandleA(nullptr));
    EXPECT_TRUE(RegisterArticleClasses(GetModuleHandleA(nullptr)));
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kMainClass;
    RegisterClassA(&wc);
    title = hMVTitleOpenEx(BesideExe("article_fixture.m14").c_str(), nullptr, nullptr);
  }
  HMVTITLE title = nullptr;
};

Environment& Env() {
  static Environment env;
  return env;
}

}  // namespace

HMVTITLE FixtureTitle() { return Env().title; }
LONG AddressOf(const char* context) { return vaMVConvertContextString(FixtureTitle(), context); }

RecordingHost::RecordingHost() {
  Env();
  window_ = CreateWindowExA(0, kMainClass, "main", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
}

RecordingHost::~RecordingHost() { DestroyWindow(window_); }

void ArticleTest::SetUp() {
  ASSERT_NE(FixtureTitle(), nullptr);
  SetArticleHost(&host_);
  SetForegroundWindow(host_.MainWindow());
}

void ArticleTest::TearDown() {
  ClosePopups(nullptr);
  for (TopicRecord* record : records_) DestroyTopicWindow(record);
  if (TopicRecord* secondary = SecondaryWindow()) DestroyTopicWindow(secondary);
  if (TopicRecord* main = MainArticle()) DestroyTopicWindow(main);
  SetArticleHost(nullptr);
  Pump();
}

TopicRecord* ArticleTest::Open(const char* context, RECT rect) {
  TopicRecord* record = CreateTopicWindow(GetModuleHandleA(nullptr), FixtureTitle(), host_.MainWindow(),
                                          WS_CHILD | WS_VISIBLE, context, nullptr);
  if (!record) return nullptr;
  records_.push_back(record);
  MoveWindow(record->topicWindow, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  Pump();
  return record;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  GetKeyboardState(saved_);
  BYTE state[256];
  std::copy(std::begin(saved_), std::end(saved_), state);
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(saved_); }

void PressKey(HWND window, WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 1); }

void Click(HWND window, POINT point) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_MOUSEMOVE, 0, at);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(window, WM_LBUTTONUP, 0, at);
}

std::string ClipboardText() {
  std::string text = "<none>";
  if (!OpenClipboard(nullptr)) return "<closed>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

void ClearClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

std::string RegionText(LPMV display) {
  LONG err = 0;
  HGLOBAL block = hMVCopyMedia(display, &err);
  if (!block) return "";
  std::string text = static_cast<const char*>(GlobalLock(block));
  GlobalUnlock(block);
  GlobalFree(block);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::vector<RECT> HotspotRects(LPMV display) {
  std::vector<RECT> rects;
  for (int i = 0; i < 8 && fMVMoveFocus(display, TRUE); ++i) {
    char data[256];
    MVHOTSPOTINFO h{};
    h.size = sizeof h;
    h.capacity = sizeof data;
    h.data = data;
    LONG err = 0;
    if (!fMVFocusInfo(display, &h, &err)) break;
    if (!rects.empty() && rects.front().left == h.rect.left && rects.front().top == h.rect.top) break;
    rects.push_back(h.rect);
  }
  return rects;  // the focus is back on the first
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

LONG ShownAddress(LPMV display) {
  LONG address = -1, region = 0, scroll = 0;
  MVGetAddress(display, &address, &region, &scroll);
  return address;
}

}  // namespace kro::article::test
