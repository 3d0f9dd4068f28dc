#pragma once
// The history dialog (class HistoryDialog, "Путь") and the bookmarks dialog (class
// BookmarkDialog, "Закладки"). Both are pop-up windows owned by the main window, which
// they disable while open; the history dialog is modeless and one at a time, the main
// window keeping its handle for the message loop.
#include <windows.h>

#include <cstdint>

#include "app/navigation/Bookmarks.h"
#include "app/navigation/History.h"

namespace kro::navigation {

inline constexpr char kHistoryDialogClass[] = "HistoryDialog";
inline constexpr char kBookmarkDialogClass[] = "BookmarkDialog";

// What the dialogs take from the program.
struct ReadingHost {
  HWND (*mainWindow)() = nullptr;
  HFONT (*listFont)() = nullptr;  // null keeps the system font
  HPALETTE (*palette)() = nullptr;
  History& (*history)() = nullptr;
  BookmarkTable& (*bookmarks)() = nullptr;
  // The main article's position, and the navigation to a stored one (the position left
  // goes into the history first).
  Position (*mainPosition)() = nullptr;
  void (*goTo)(int32_t address, int32_t scroll) = nullptr;
  void (*setHistoryDialog)(HWND dialog) = nullptr;  // null when it closes
};
void SetReadingHost(const ReadingHost& host);

bool RegisterHistoryDialogClass(HINSTANCE instance);
bool RegisterBookmarkDialogClass(HINSTANCE instance);

// Opens the history dialog, or brings the open one to the top with the focus on its list.
HWND OpenHistoryDialog(HINSTANCE instance);
// Fills the open dialog's list again (after the back command).
void RefreshHistoryDialog();
HWND OpenBookmarkDialog(HINSTANCE instance);

// The bookmark a dialog adds: the position's address, scroll and name or number.
HistoryEntry BookmarkEntry(const Position& position);

LRESULT CALLBACK HistoryDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BookmarkDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kro::navigation
