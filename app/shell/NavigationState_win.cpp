#include "app/shell/NavigationState_win.h"

#include <vector>

#include "app/article/TopicWindow_win.h"
#include "app/navigation/SearchState_win.h"
#include "app/navigation/StateFiles.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"

namespace kro::shell {
namespace {

navigation::History gHistory;
std::vector<navigation::Bookmark> gBookmarks;

std::string StatePath(const char* name) { return TheProgram().workingDir + name; }

}  // namespace

navigation::History& History() { return gHistory; }

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
  return position;
}

void RecordPosition(LPMV display) {
  if (display) gHistory.Record(CurrentPosition(display));
}

void LoadBookmarks() {
  if (const auto bytes = ReadWholeFile(StatePath("\\bookmark.tmp")))
    gBookmarks = navigation::ParseBookmarks(*bytes).Recovered();
}

void SaveBookmarks() {
  const std::string path = StatePath("\\bookmark.tmp");
  if (gBookmarks.empty()) {
    DeleteFileA(path.c_str());
    return;
  }
  ReplaceFileContents(path, navigation::SerializeBookmarks(gBookmarks));
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
