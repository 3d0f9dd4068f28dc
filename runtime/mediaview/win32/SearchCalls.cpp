// Full-text queries and the highlights of the topics they find.
#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/mediaview/win32/Runtime.h"

using namespace kro;
using namespace kro::mvdll;

namespace {

// The title's newest highlight source is released when a query writes its successor, so
// a program that keeps only the newest one (as the search dialog does) never leaks.
void ReplaceHighlights(TitleObject* t, HMVHIGHLIGHTSOURCE* out, HMVHIGHLIGHTSOURCE source) {
  if (!out) return;
  TheRuntime().highlightSources.Remove(t->highlights);
  t->highlights = source;
  *out = source;
}

HMVHIGHLIGHTSOURCE AddHighlights(const SharedTitle& title, std::shared_ptr<const search::HighlightSource> source) {
  auto object = std::make_unique<HighlightSourceObject>(HighlightSourceObject{title, std::move(source)});
  return TheRuntime().highlightSources.Add(std::move(object));
}

// The query's answer: a topic list, or nullptr with the error number.
struct QueryAnswer {
  HMVTOPICLIST list = nullptr;
  HMVHIGHLIGHTSOURCE highlights = nullptr;
  LONG error = 0;
};

QueryAnswer RunQuery(const TitleObject& t, UINT option, LPCSTR query, HMVTOPICLIST scopeHandle, bool wantHighlights) {
  const TopicListObject* scope = scopeHandle ? TheRuntime().lists.Find(scopeHandle) : nullptr;
  if (!query || option > MV_QUERY_EXACT || (scopeHandle && !scope)) return {nullptr, nullptr, MVERR_INVALID};
  search::SearchError error;
  const search::SearchIndex* index = t.title->FullTextIndex(&error);
  if (!index) return {nullptr, nullptr, static_cast<LONG>(error)};
  const MVPUMPPROC pump = t.pump;
  search::ProgressCallback progress;
  if (pump) progress = [pump] { return static_cast<int>(pump() != 0); };
  search::SearchResult result =
      search::Search(*index, query, static_cast<int>(option), scope ? &scope->list.topics() : nullptr, progress);
  if (result.error != search::SearchError::None) return {nullptr, nullptr, static_cast<LONG>(result.error)};
  QueryAnswer answer;
  answer.list = AddList(mv::TopicList(std::move(result.topics)));
  if (!wantHighlights) return answer;
  try {
    answer.highlights = AddHighlights(t.title, std::move(result.highlights));
  } catch (...) {
    TheRuntime().lists.Remove(answer.list);  // else it stays open with nobody holding its handle
    throw;
  }
  return answer;
}

// Every found word of the topic, heading first, each region in text order.
std::vector<search::Highlight> TopicHighlights(HMVHIGHLIGHTSOURCE handle, LONG number) {
  const HighlightSourceObject* h = TheRuntime().highlightSources.Find(handle);
  if (!h || number < 0 || static_cast<uint32_t>(number) >= h->title->topicCount()) return {};
  const auto topic = static_cast<uint32_t>(number);
  const std::string heading = h->title->RegionText(topic, mv::RegionIndex::Heading).value_or("");
  const std::string body = h->title->RegionText(topic, mv::RegionIndex::Body).value_or("");
  std::vector<search::Highlight> found = h->source->InTopic(topic, heading, body);
  std::sort(found.begin(), found.end(), [](const search::Highlight& a, const search::Highlight& b) {
    return a.region != b.region ? a.region < b.region : a.offset < b.offset;
  });
  return found;
}

HGLOBAL HighlightBlock(const std::vector<search::Highlight>& found) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD) + found.size() * sizeof(MVHIGHLIGHT));
  if (!block) return nullptr;
  auto* p = static_cast<uint8_t*>(GlobalLock(block));
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  const DWORD count = static_cast<DWORD>(found.size());
  std::memcpy(p, &count, sizeof count);
  auto* records = reinterpret_cast<MVHIGHLIGHT*>(p + sizeof count);
  for (size_t i = 0; i < found.size(); ++i)
    records[i] = MVHIGHLIGHT{found[i].region, found[i].offset, found[i].length};
  GlobalUnlock(block);
  return block;
}

}  // namespace

extern "C" {

MVAPI HMVTOPICLIST WINAPI hMVTopicListFromQuery(HMVTITLE title, UINT option, LPCSTR query, HMVTOPICLIST scope, LONG,
                                                HMVHIGHLIGHTSOURCE* highlights, LPLONG err) {
  TitleObject* t = TheRuntime().titles.Find(title);
  if (!t) {
    SetError(err, MVERR_INVALID);
    return nullptr;
  }
  // A failure inside answers no list and no error of the query's own: *err is set already.
  const QueryAnswer answer =
      Guarded<QueryAnswer>({}, err, [&] { return RunQuery(*t, option, query, scope, highlights != nullptr); });
  if (answer.error == MVERR_SEARCH_STOPPED) {
    SetError(err, answer.error);
    return nullptr;
  }
  ReplaceHighlights(t, highlights, answer.highlights);
  if (answer.error) SetError(err, answer.error);
  return answer.list;
}

MVAPI HGLOBAL WINAPI hMVHighlightsInTopic(HMVHIGHLIGHTSOURCE source, LONG topicNumber) {
  return Guarded<HGLOBAL>(nullptr, nullptr, [&] {
    const std::vector<search::Highlight> found = TopicHighlights(source, topicNumber);
    return found.empty() ? nullptr : HighlightBlock(found);
  });
}

MVAPI LONG WINAPI lMVTopicHighlightCount(HMVHIGHLIGHTSOURCE source, LONG topicNumber) {
  return Guarded<LONG>(0, nullptr, [&] { return static_cast<LONG>(TopicHighlights(source, topicNumber).size()); });
}

}  // extern "C"
