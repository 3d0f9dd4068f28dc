// print_copy_check TITLE CONTEXT FOLDER: the helper of the print-and-copy check, which reads
// what this program leaves from Linux. It prints the topic's article on the test printer
// into FOLDER\article.ps and writes the article's first words to FOLDER\first.txt and the
// footer line to FOLDER\footer.txt; then it
// copies the whole article, writes the text it expects to FOLDER\article.txt and
// FOLDER\ready1, and waits for FOLDER\next; then it copies a selection of the body the same
// way (selection.txt, ready2) and waits for FOLDER\done. Expected texts are UTF-8, CR LF
// as on the clipboard. Exits non-zero when a step fails, saying which on stderr; the
// CF_UNICODETEXT read back here must match each copy.
#include <cstdio>
#include <string>

#include "app/article/ArticleCopy_win.h"
#include "app/article/ArticlePrint_win.h"
#include "app/article/tests/TestPrinter_win.h"
#include "runtime/base/FileIo_win.h"
#include "runtime/base/UniqueHandle_win.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/Messages_win.h"

namespace {

using namespace kro::article;
using kro::article::test::TestPrinterDc;

// Rounds of the message loop the helper waits for each signal from the checking script.
constexpr int kSignalRounds = 6000;

class CheckHost : public ArticleHost {
public:
  explicit CheckHost(HWND main) : main_(main) {}
  void RecordHistory(LPMV) override {}
  void NavigationChanged(bool, bool) override {}
  void LetterChanged(int) override {}
  void ArticleShown(TopicRecord*) override {}
  void ApplyHighlights(LPMV) override {}
  HWND MainWindow() override { return main_; }

private:
  HWND main_;
};

std::string Utf8(const std::string& cp1251) {
  const int n = MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), wide.data(), n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

bool Write(const std::string& path, const std::string& text) {
  return kro::ReplaceFileContents(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

int Fail(const char* step) {
  std::fprintf(stderr, "print_copy_check: %s\n", step);
  return 1;
}

// The clipboard as the copy left it, in both text formats.
bool CopiedBothWays(std::string* text) {
  *text = kro::wintest::ClipboardText(CF_TEXT);
  return *text != "<none>" && !text->empty() && kro::wintest::ClipboardText(CF_UNICODETEXT) == *text;
}

// Hands `text` over and keeps the clipboard alive until the script says it has read it.
bool HandOver(const std::string& folder, const char* name, const std::string& text, const char* ready, const char* next) {
  if (!Write(folder + "\\" + name, Utf8(text)) || !Write(folder + "\\" + ready, "")) return false;
  return kro::wintest::PumpUntil([&] { return kro::FileExists(folder + "\\" + next); }, kSignalRounds);
}

std::string FirstWords(const std::string& text, int count) {
  size_t at = 0;
  for (int k = 0; k < count && at != std::string::npos; ++k) at = text.find(' ', at + 1);
  return text.substr(0, at);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: print_copy_check TITLE CONTEXT FOLDER");
  const std::string folder = argv[3];
  HINSTANCE instance = GetModuleHandleA(nullptr);
  MVSetInstance(instance);
  HMVTITLE title = hMVTitleOpenEx(argv[1], nullptr, nullptr);
  if (!title || !RegisterArticleClasses(instance)) return Fail("the title does not open");
  kro::wintest::RegisterTestClass("PrintCopyFrame", DefWindowProcA);
  HWND frame = CreateWindowA("PrintCopyFrame", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, instance,
                             nullptr);
  CheckHost host(frame);
  SetArticleHost(&host);
  TopicRecord* record = CreateTopicWindow(instance, title, frame, WS_CHILD | WS_VISIBLE, argv[2], nullptr);
  if (!record) return Fail("no topic window");
  MoveWindow(record->topicWindow, 0, 0, 420, 440, TRUE);
  kro::wintest::Pump();

  LPMV body = PaneDisplay(record->scrollingPane);
  LONG err = 0;
  kro::UniqueGlobal bodyText(hMVCopyMedia(body, &err));
  const std::string first = FirstWords(bodyText ? static_cast<const char*>(GlobalLock(bodyText.Get())) : "", 3);
  if (bodyText) GlobalUnlock(bodyText.Get());
  if (first.empty() || !Write(folder + "\\first.txt", Utf8(first)) || !Write(folder + "\\footer.txt", Utf8(kPrintFooter)))
    return Fail("no body text");
  if (PrintCurrentArticle(MainDisplay(record), TestPrinterDc(), (folder + "\\article.ps").c_str()) != 0)
    return Fail("printing failed");

  std::string copied;
  if (!CopyArticleText(record) || !CopiedBothWays(&copied) || copied != ArticleText(record))
    return Fail("the whole article is not on the clipboard in both formats");
  if (!HandOver(folder, "article.txt", copied, "ready1", "next")) return Fail("no word from the script");

  // Words from the start of the body's first line to the middle of its third.
  MVSelectPoint(body, MV_SELECT_WORDS, 5, 5, 0, &err);
  MVSelectPoint(body, MV_SELECT_WORDS, 200, 45, 1, &err);
  if (!CopySelection(record) || !CopiedBothWays(&copied)) return Fail("the selection is not on the clipboard");
  if (!HandOver(folder, "selection.txt", copied, "ready2", "done")) return Fail("no word from the script");
  DestroyTopicWindow(record);
  DestroyWindow(frame);
  MVTitleClose(title);
  return 0;
}
