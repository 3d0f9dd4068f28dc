#pragma once
// The full-text search's process-wide state: the last successful query's result lists and
// highlight source, its text, the results-available flag, the query history and the
// search dialog's kept settings; running a query; and the search highlights that the main
// article shows while a result exists.
#include <windows.h>

#include "app/navigation/ContentsPosition.h"
#include "runtime/mediaview/MediaView.h"

namespace kro::navigation {

constexpr size_t kQueryBytes = 64;  // a query is cut to 63 characters
constexpr LONG kNothingFound = 2001;
constexpr LONG kResultLimit = 2000;

// Where a query looks: the search dialog's radio buttons, as the dialog keeps them.
enum ScopeChoice : int { kWholeTitle = 0, kCurrentArticle = 1, kContentsSelection = 2 };
// How run query is told the scope.
enum QueryScope : int { kScopeTitle = 1, kScopeContents = 2, kScopeTopic = 3 };

struct SearchState {
  HMVTOPICLIST results = nullptr;  // the union of the query's list with itself
  HMVTOPICLIST raw = nullptr;
  HMVHIGHLIGHTSOURCE highlights = nullptr;  // owned by the runtime, replaced by the next query
  char lastQuery[kQueryBytes] = {};
  bool resultsAvailable = false;
  QueryHistory history{};
  int scopeChoice = kWholeTitle;
  bool wordForms = false;  // the option box
};
SearchState& Search();

// 0 on success, kNothingFound for an empty result, else the runtime's error (a stopped
// query answers 0 with its lists dropped: the caller tests the stop flag).
LONG RunQuery(LPMV mainDisplay, int scope, bool wordForms, const char* query);

// The main article's search highlights (its scrolling display): removed while the
// article's first paint is due, else those of its topic.
void ApplySearchHighlights(LPMV display);
// Scrolls a scrolling display to its `index`-th highlight and fits its pane again; the
// runtime's error (low 16 bits) or 0.
LONG ScrollToHighlight(LPMV display, LONG index);

// The result lists, the contents filter and the kept settings, before the title closes.
void ReleaseFinderState();

}  // namespace kro::navigation
