// Fuzz target: query text as a user types it. The first byte picks the option; the query
// is parsed and run over a small fixed index.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"

namespace {

const kro::search::SearchIndex& FixedIndex() {
  static const std::vector<uint8_t> bytes = [] {
    kro::search::SearchIndexBuilder builder;
    const char* const kBodies[] = {"alpha beta gamma delta", "beta beta-gamma epsilon", "alpha zeta eta theta alpha",
                                   "north-west wind over the sea", "gamma delta alpha beta"};
    // Enough topics that the commonest words become pair words and phrases use pairs, and
    // that postings blocks hold strides.
    for (uint32_t topic = 0; topic < 60; ++topic) {
      builder.Add(topic, 0, "title");
      builder.Add(topic, 1, kBodies[topic % std::size(kBodies)]);
    }
    return builder.Finish();
  }();
  static const auto opened = kro::search::SearchIndex::Open(bytes);
  if (!opened || opened->PairWord(0) < 0) __builtin_trap();
  return *opened;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kro::search;
  if (size == 0) return 0;
  const int option = data[0] & 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const ParseResult parsed = ParseQuery(text, option);
  if (parsed.error != SearchError::None) return 0;
  ToString(parsed.query.root);
  const SearchResult r = RunQuery(FixedIndex(), parsed.query, nullptr, nullptr);
  for (uint32_t topic : r.topics) r.highlights->InTopic(topic, "title", "alpha beta gamma");
  return 0;
}
