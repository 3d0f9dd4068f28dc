#include "app/article/tests/ArticleTestSupport_win.h"

#include "tests/support/Files_win.h"

namespace kro::article::test {
namespace {

constexpr char kMainClass[] = "ArticleTestMain";

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
    wintest::RegisterTestClass(kMainClass, MainProc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    title = hMVTitleOpenEx(wintest::BesideExe("article_fixture.m14").c_str(), nullptr, nullptr);
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

std::string RegionText(LPMV display) {
  LONG err = 0;
  HGLOBAL block = hMVCopyMedia(display, &err);
  return block ? wintest::WithoutCr(wintest::TakeGlobalText(block)) : "";
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
