#pragma once
// The search results dialog (class SearchResultsDialog): the titles of the articles the
// last query found, at most 2000; opening one shows it with the found words highlighted
// and the first of them scrolled into view. F9 writes the list to a text file.
#include <windows.h>

namespace kro::navigation {

constexpr const char* kResultsDialogClass = "SearchResultsDialog";

enum ResultsControl : int {
  kResultsOpen = 1,
  kResultsClose = 2,
  kResultsList = 500,
  kResultsQuery = 501,
  kResultsCount = 502,
};

LRESULT CALLBACK ResultsDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog when it is not open; either way brings it to the top with its list
// focused. Answers it, 0 when it could not be made.
HWND OpenResultsDialog();
// The open dialog's pieces the search dialog drives after a new query.
HWND ResultsOpenButton();
HWND ResultsCloseButton();
void SetResultsQuery(const char* query);
// Fills the open dialog's list from the result list; false when it was cut at 2000.
bool FillResults();

}  // namespace kro::navigation
