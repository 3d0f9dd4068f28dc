#pragma once
// The search dialog (class SearchDialog): a query in a combo box that remembers earlier
// queries, a scope (whole title, the contents selection, the current article) and the
// word-forms option; runs the query while the program stays responsive and stoppable,
// and hands a result to the results dialog.
#include <windows.h>

namespace kro::navigation {

constexpr const char* kSearchDialogClass = "SearchDialog";

enum SearchControl : int {
  kSearchFind = 1,
  kSearchClose = 2,
  kSearchStop = 3,
  kSearchQuery = 400,
  kSearchOption = 401,
  kSearchCurrentArticle = 402,
  kSearchContents = 403,
  kSearchWholeTitle = 404,
};

LRESULT CALLBACK SearchDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
HWND OpenSearchDialog();
HWND SearchDialog();

}  // namespace kro::navigation
