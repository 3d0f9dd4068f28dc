#include "app/shell/NavigationState_win.h"

#include "app/article/TopicWindow_win.h"
#include "app/navigation/ReadingDialogs_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/navigation/StateFiles.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"

namespace kro::shell {
namespace {

navigation::History gHistory;
navigation::BookmarkTable gBookmarks;

std::string StatePath(const char* name) { return TheProgram().workingDir + name; }

// The title runtime's handles are small numbers, the same in both builds.
int32_t TitleNumber(HMVTITLE title) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(title)); }

navigation::Position MainPosition() {
  article::TopicRecord* main = article::MainArticle();
  return main ? CurrentPosition(article::MainDisplay(main)) : navigation::Position{};
}

}  // namespace

navigation::History& History() { return gHistory; }
navigation::BookmarkTable& Bookmarks() { return gBookmarks; }

navigation::Position CurrentPosition(LPMV display) {
  navigation::Position position;
  LONG address = -1, region = 0, scroll = 0;
  MVGetAddress(display, &address, &region, &scroll);
  position.address = address;
  position.scroll = scroll;
  if (HGLOBAL name = hMVGetName(display)) {
    if (const char* text = static_cast<const char*>(GlobalLock(name))) {
      position.name = text;
      GlobalUnlock(name);
    }
    GlobalFree(name);
  } else {
    position.topicNumber = lMVTopicNumber(display);
  }
  position.title = TitleNumber(hMVGetTitle(display, 0));
  return position;
}

void RecordPosition(LPMV display) {
  if (display) gHistory.Record(CurrentPosition(display));
}

void GoToPosition(int32_t address, int32_t scroll) {
  article::TopicRecord* main = article::MainArticle();
  if (!main) return;
  RecordPosition(article::MainDisplay(main));
  article::ShowTopic(main, address, scroll);
}

void ConnectReadingDialogs() {
  navigation::ReadingHost host;
  host.mainWindow = [] { return TheProgram().mainWindow; };
  host.listFont = [] { return TheProgram().boldFont; };
  host.history = History;
  host.bookmarks = Bookmarks;
  host.mainPosition = MainPosition;
  host.goTo = GoToPosition;
  host.setHistoryDialog = [](HWND dialog) { TheProgram().historyDialog = dialog; };
  navigation::SetReadingHost(host);
}

void LoadBookmarks() {
  if (const auto bytes = ReadWholeFile(StatePath("\\bookmark.tmp")))
    gBookmarks.Load(navigation::ParseBookmarks(*bytes).Recovered(), TitleNumber(TheProgram().title));
}

void SaveBookmarks() {
  const std::string path = StatePath("\\bookmark.tmp");
  if (gBookmarks.Last() < 0) {
    DeleteFileA(path.c_str());
    return;
  }
  ReplaceFileContents(path, navigation::SerializeBookmarks(gBookmarks.All()));
}

void RestoreLastPosition() {
  const auto bytes = ReadWholeFile(StatePath("\\last.tmp"));
  if (!bytes) return;
  const auto entry = navigation::ParseLastPosition(*bytes);
  if (entry && article::MainArticle()) article::ShowTopic(article::MainArticle(), entry->address, 0);
}

void SaveLastPosition() {
  if (gHistory.Last() < 0) return;
  const auto bytes = navigation::SerializeLastPosition(gHistory.Stored(gHistory.Last()));
  ReplaceFileContents(StatePath("\\last.tmp"), bytes);
}

void ReleaseArticleMachinery() {
  Program& program = TheProgram();
  article::ClosePopups(nullptr);
  if (article::MainArticle()) article::DestroyTopicWindow(article::MainArticle());
  navigation::ReleaseFinderState();
  if (program.wordWheel) MVWordWheelClose(program.wordWheel);
  program.wordWheel = nullptr;
  if (program.indexDisplay) MVDelete(program.indexDisplay);
  program.indexDisplay = nullptr;
  gHistory.Clear();
  if (program.title) MVTitleClose(program.title);
  program.title = nullptr;
}

}  // namespace kro::shell
