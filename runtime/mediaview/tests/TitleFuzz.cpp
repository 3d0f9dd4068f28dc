// Fuzz target: any bytes opened as a title, then every query the runtime makes. The
// checksums are off so mutations reach the parsers behind them.
#include <cstddef>
#include <cstdint>

#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/search/Search.h"

namespace {

// Queries over the title's own index, and the highlights of what they find.
void RunQueries(const kro::mv::Title& title) {
  using namespace kro;
  search::SearchError error;
  const search::SearchIndex* index = title.FullTextIndex(&error);
  if (!index) return;
  for (const char* query : {"Волга", "м*", "\"каспийское море\"", "река NEAR Европы"}) {
    const search::SearchResult result = search::Search(*index, query, search::kMatchWordForms, nullptr, {});
    if (!result.highlights) continue;
    for (size_t i = 0; i < result.topics.size() && i < 8; ++i) {
      const uint32_t topic = result.topics[i];
      result.highlights->InTopic(topic, title.RegionText(topic, mv::RegionIndex::Heading).value_or(""),
                                 title.RegionText(topic, mv::RegionIndex::Body).value_or(""));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kro::mv;
  TitleOptions options;
  options.verifyChecksums = false;
  const auto opened = Title::Open({data, size}, options);
  if (!opened) return 0;
  const auto& title = *opened;
  const uint32_t topics = title->topicCount() < 64 ? title->topicCount() : 64;
  for (uint32_t n = 0; n <= topics; ++n) {
    title->TopicTitle(n);
    title->TopicData(n);
    title->BrowsePrev(n);
    title->BrowseNext(n);
    if (const auto context = title->TopicContext(n)) title->TopicByContext(*context);
    for (const RegionIndex r : {RegionIndex::Heading, RegionIndex::Body}) title->RegionText(n, r);
  }
  title->TopicByHash(0);
  for (uint32_t i = 0; i <= title->fontCount(); ++i) title->Font(i);
  for (const char* name : {"|a", "|k"})
    if (const auto wheel = title->OpenWordWheel(name)) {
      for (const char* prefix : {"", "\xE2", "z", "1"}) wheel->Prefix(prefix);
      const uint32_t entries = wheel->size() < 64 ? wheel->size() : 64;
      for (uint32_t e = 0; e <= entries; ++e) {
        uint32_t addrs[4];
        wheel->Key(e);
        wheel->Addresses(e, 0, addrs);
        if (const auto key = wheel->Key(e)) wheel->Find(*key);
      }
    }
  for (const auto name : title->StoredListNames()) title->StoredList(name);
  for (const auto name : title->BaggageNames()) title->BaggageFile(name);
  title->Section(SectionKind::FullTextIndex);
  RunQueries(*title);
  title->Verify();
  return 0;
}
