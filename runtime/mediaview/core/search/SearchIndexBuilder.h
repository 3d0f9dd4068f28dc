#pragma once
// Builds the full-text index of a title: one versioned blob (layout in SearchIndex.cpp).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kro::search {

// The stop words an index leaves out unless told otherwise: short Russian function words
// that occur in nearly every article (cp1251, folded).
std::vector<std::string> DefaultStopWords();

class SearchIndexBuilder {
public:
  // `version` 2 writes the previous layout (postings blocks without strides), which readers
  // of that version open; any other value writes the current one.
  explicit SearchIndexBuilder(std::vector<std::string> stopWords = DefaultStopWords(), uint16_t version = 0);
  ~SearchIndexBuilder();
  SearchIndexBuilder(const SearchIndexBuilder&) = delete;
  SearchIndexBuilder& operator=(const SearchIndexBuilder&) = delete;

  // Adds the plain text (cp1251) of one region (0 heading, 1 body) of a topic. Topics come
  // in ascending order; each region of a topic at most once, in either order. Answers false
  // (and adds nothing) when the order is broken or the region is not 0 or 1.
  bool Add(uint32_t topic, int region, std::string_view text);

  // Writes the index. The builder is empty afterwards.
  std::vector<uint8_t> Finish();

private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kro::search
