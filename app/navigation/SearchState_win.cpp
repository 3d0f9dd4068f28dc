#include "app/navigation/SearchState_win.h"

#include "app/article/Pane_win.h"
#include "app/navigation/ContentsFilter_win.h"
#include "app/navigation/SearchFrame_win.h"
#include "app/shell/DialogKeys_win.h"

namespace kro::navigation {
namespace {

void Destroy(HMVTOPICLIST& list) {
  if (list) MVTopicListDestroy(list);
  list = nullptr;
}

HMVTOPICLIST QueryList(int scope, bool wordForms, const char* query, LPMV mainDisplay, LONG* err) {
  SearchState& state = Search();
  const HMVTITLE title = Finder().title;
  const UINT option = wordForms ? MV_QUERY_WORD_FORMS : MV_QUERY_EXACT;
  if (scope == kScopeContents)
    return hMVTopicListFromQuery(title, option, query, Contents().Filter().Shown(), 1, &state.highlights, err);
  if (scope != kScopeTopic) return hMVTopicListFromQuery(title, option, query, nullptr, 1, &state.highlights, err);
  HMVTOPICLIST current = hMVTopicListFromTopicNo(title, lMVTopicNumber(mainDisplay));
  HMVTOPICLIST list = hMVTopicListFromQuery(title, option, query, current, 1, &state.highlights, err);
  Destroy(current);
  return list;
}

}  // namespace

SearchState& Search() {
  static SearchState state;
  return state;
}

LONG RunQuery(LPMV mainDisplay, int scope, bool wordForms, const char* query) {
  LONG err = 0;
  HMVTOPICLIST raw = QueryList(scope, wordForms, query, mainDisplay, &err);
  HMVTOPICLIST results = raw ? hMVTopicListCombine(MV_LIST_UNION, raw, raw) : nullptr;
  if (shell::StopFlag()) {
    // Both lists go: a stopped query keeps the previous results.
    Destroy(results);
    Destroy(raw);
    return 0;
  }
  SearchState& state = Search();
  Destroy(state.results);
  Destroy(state.raw);
  state.results = results;
  state.raw = raw;
  if (!results) return err ? err : MVERR_FAILED;
  return lMVTopicListLength(results) > 0 ? 0 : kNothingFound;
}

void ApplySearchHighlights(LPMV display) {
  if (!display || !Search().highlights) return;
  LONG err = 0;
  const HGLOBAL previous = hMVGetHighlights(display);
  // A block the display no longer shows is ours to free.
  if (!article::FirstPaintDone()) {
    hMVSetHighlights(display, nullptr, TRUE, &err);
  } else {
    const HGLOBAL list = hMVHighlightsInTopic(Search().highlights, lMVTopicNumber(display));
    hMVSetHighlights(display, list, TRUE, &err);
  }
  if (previous && previous != hMVGetHighlights(display)) GlobalFree(previous);
}

// The scroll bars are fitted before the scroll, not after it: fitting lays the text out
// once without them, wider and so shorter, and a position near the end of a long article
// would be cut back to that shorter text's end, moving the found word out of view.
LONG ScrollToHighlight(LPMV display, LONG index) {
  if (!display || !fMVHasSR(display)) return 0;
  const HWND pane = hwndMVGetWindow(display);
  if (pane) article::RealizePane(pane, nullptr);
  LONG err = 0;
  fMVScrollToHighlight(display, index, &err);
  if (pane) InvalidateRect(pane, nullptr, TRUE);
  return err & 0xFFFF;
}

void ReleaseFinderState() {
  SearchState& state = Search();
  Destroy(state.results);
  Destroy(state.raw);
  state.highlights = nullptr;  // the runtime's, gone with the title
  state.resultsAvailable = false;
  Contents().Filter().Reset();
}

}  // namespace kro::navigation
