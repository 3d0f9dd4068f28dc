#pragma once
// What the reader's navigation keeps for the run and between runs: the history of
// positions left, the bookmarks ("\bookmark.tmp") and the last position read
// ("\last.tmp") in the working directory, and the release of the title's machinery.
#include <windows.h>

#include "app/navigation/Bookmarks.h"
#include "app/navigation/History.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::shell {

navigation::History& History();
navigation::BookmarkTable& Bookmarks();
// The display's position: address, scroll, topic name (or number), title.
navigation::Position CurrentPosition(LPMV display);
void RecordPosition(LPMV display);
// Records the main article's position and shows `address` at `scroll` there.
void GoToPosition(int32_t address, int32_t scroll);
// The history and bookmark dialogs' view of the program.
void ConnectReadingDialogs();

// A missing or damaged file leaves the table empty (what is valid of a damaged one is
// kept); saving an empty table deletes it.
void LoadBookmarks();
void SaveBookmarks();
// Shows the topic read at the last exit, at its top; a missing file keeps the start topic.
void RestoreLastPosition();
// Writes the newest history entry as the last position.
void SaveLastPosition();
// The main article window, the index, the history and the title, in that order.
void ReleaseArticleMachinery();

}  // namespace kro::shell
