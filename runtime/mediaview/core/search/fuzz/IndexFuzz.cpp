// Fuzz target: a search index from a damaged title. Opening, verifying, querying and
// highlighting must never crash or read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kro::search;
  const auto opened = SearchIndex::Open(std::span(data, size));
  if (!opened) return 0;
  const SearchIndex& index = *opened;
  (void)index.Verify();
  // Queries of every kind in plain ASCII: Latin words, prefixes, phrases (through the
  // pairs when the index has them, and of prefixes) and operators.
  static const char* const kQueries[] = {"a", "b*", "a b", "\"a b\"", "\"a b c a\"", "\"b* c\"", "a OR c",
                                         "a NOT b", "a NEAR c", "*a?", "x1"};
  for (const char* query : kQueries) {
    for (int option : {kMatchWordForms, kMatchExactWords}) {
      const SearchResult r = Search(index, query, option, nullptr, nullptr);
      for (uint32_t topic : r.topics) {
        if (topic >= index.topicCount()) __builtin_trap();
        r.highlights->InTopic(topic, "a b c", "a b c x1 b a");
      }
    }
  }
  return 0;
}
