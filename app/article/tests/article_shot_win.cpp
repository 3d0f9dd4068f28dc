// article_shot TITLE CONTEXT OUT.bmp [parchment]: the main article window on a topic, in a
// 640x480 frame at the top left of the screen, captured to a bitmap file. With
// "parchment" the displays get the parchment background a shell may ask for. A CONTEXT
// "popup:name" opens that topic as a full-screen popup over the start article instead.
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/article/TopicWindow_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Messages_win.h"

namespace {

constexpr COLORREF kParchment = RGB(0xF4, 0xEE, 0xDC);
constexpr RECT kArticleArea{220, 40, 630, 470};

class ShotHost : public kro::article::ArticleHost {
public:
  explicit ShotHost(HWND main) : main_(main) {}
  void RecordHistory(LPMV) override {}
  void NavigationChanged(bool, bool) override {}
  void LetterChanged(int) override {}
  void ArticleShown(kro::article::TopicRecord*) override {}
  void ApplyHighlights(LPMV) override {}
  HWND MainWindow() override { return main_; }

private:
  HWND main_;
};

bool SaveScreen(const RECT& r, const char* path) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  kro::WindowDc screen(nullptr);
  kro::UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  kro::UniqueBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    kro::SelectGuard select(dc.Get(), bitmap.Get());
    BitBlt(dc.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (w * 3 + 3) & ~3u, size = stride * h;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(bits, size, 1, out);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: article_shot TITLE CONTEXT OUT.bmp [parchment]\n");
    return 2;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  MVSetInstance(instance);
  HMVTITLE title = hMVTitleOpenEx(argv[1], nullptr, nullptr);
  if (!title || !kro::article::RegisterArticleClasses(instance)) return 1;
  kro::wintest::RegisterTestClass("ArticleShotFrame", DefWindowProcA, CreateSolidBrush(RGB(0x1F, 0x2A, 0x44)));
  HWND frame = CreateWindowA("ArticleShotFrame", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, instance,
                             nullptr);
  ShotHost host(frame);
  kro::article::SetArticleHost(&host);
  kro::article::TopicRecord* main = kro::article::CreateMainArticleWindow(instance, title, frame);
  if (!main) return 1;
  if (argc > 4 && std::strcmp(argv[4], "parchment") == 0) {
    MVSetBkColor(kro::article::PaneDisplay(main->scrollingPane), kParchment);
    MVSetBkColor(kro::article::PaneDisplay(main->nonScrollingPane), kParchment);
  }
  const RECT& a = kArticleArea;
  MoveWindow(main->topicWindow, a.left, a.top, a.right - a.left, a.bottom - a.top, TRUE);
  const bool popup = std::strncmp(argv[2], "popup:", 6) == 0;
  if (popup)
    kro::article::ShowPopupByContextString(argv[2] + 6, 2);
  else
    kro::article::ShowByContextString(argv[2], main);
  kro::wintest::PumpRounds(20);  // the pictures and popups settle
  UpdateWindow(frame);
  const RECT shot = popup ? RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)} : RECT{0, 0, 640, 480};
  const bool saved = SaveScreen(shot, argv[3]);
  kro::article::ClosePopups(nullptr);
  kro::article::DestroyTopicWindow(main);
  DestroyWindow(frame);
  MVTitleClose(title);
  MVTerminate(instance);
  return saved ? 0 : 1;
}
