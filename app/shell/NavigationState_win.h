#pragma once
// What the reader's navigation keeps for the run and between runs: the history of
// positions left, the bookmarks ("\bookmark.tmp") and the last position read
// ("\last.tmp") in the working directory, and the release of the title's machinery.
#include <windows.h>

#include "app/navigation/History.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::shell {

navigation::History& History();
// The display's position: address, scroll, topic name (or number).
navigation::Position CurrentPosition(LPMV display);
void RecordPosition(LPMV display);

// A missing or damaged file leaves the table empty; saving an empty table deletes it.
void LoadBookmarks();
void SaveBookmarks();
// Shows the topic read at the last exit, at its top; a missing file keeps the start topic.
void RestoreLastPosition();
// Writes the newest history entry as the last position.
void SaveLastPosition();
// The main article window, the index, the history and the title, in that order.
void ReleaseArticleMachinery();

}  // namespace kro::shell
