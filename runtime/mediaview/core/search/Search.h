#pragma once
// Runs parsed queries over an index and finds the words to highlight in the topics found.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/mediaview/core/search/Query.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchTypes.h"
#include "runtime/mediaview/core/search/WorkMeter.h"

namespace kro::search {

struct PlanNode;

// What made each found topic match; lives as long as the caller keeps it, and borrows the
// index, which must outlive it.
class HighlightSource {
public:
  HighlightSource(const SearchIndex& index, std::unique_ptr<PlanNode> plan, std::vector<uint32_t> topics);
  ~HighlightSource();

  const std::vector<uint32_t>& topics() const { return topics_; }
  // Every occurrence, in the topic, of the words that made it match, in text order. The
  // caller passes the topic's two region texts as they were given to the index builder;
  // empty for a topic the query did not find.
  std::vector<Highlight> InTopic(uint32_t topic, std::string_view heading, std::string_view body) const;

private:
  const SearchIndex& index_;
  std::unique_ptr<PlanNode> plan_;
  std::vector<uint32_t> topics_;
};

struct SearchResult {
  SearchError error = SearchError::None;
  std::vector<uint32_t> topics;  // ascending
  std::shared_ptr<HighlightSource> highlights;  // null on error
};

// Runs a parsed query. `scope` (ascending topic numbers) restricts the result when given.
// `progress` is called at least every 20 ms of work; a non-zero answer stops the query with
// SearchError::Stopped.
SearchResult RunQuery(const SearchIndex& index, const Query& query, const std::vector<uint32_t>* scope,
                      ProgressCallback progress);

// Parses and runs in one step.
SearchResult Search(const SearchIndex& index, std::string_view text, int option,
                    const std::vector<uint32_t>* scope, ProgressCallback progress);

}  // namespace kro::search
