#pragma once
// Shared vocabulary of the full-text search: error numbers, limits and highlight records.
#include <cstddef>
#include <cstdint>

namespace kro::search {

// Error numbers answered by parsing and running queries and by opening an index. The
// numbers are the ones the reader's search dialog and its error texts know.
enum class SearchError : int32_t {
  None = 0,
  Stopped = 2002,          // the progress callback asked to stop
  IndexVersion = 2007,     // not a search index, or a version this reader does not know
  IndexDamaged = 2013,     // the index is inconsistent (a damaged title)
  IndexMissing = 2023,     // the title holds no search index
  NothingSearchable = 2200,
  OperatorAtEdge = 2201,
  MissingQuote = 2203,
  MissingLeftParen = 2204,
  MissingRightParen = 2205,
  NestedTooDeep = 2206,
  TooManyTerms = 2207,
  OnlyWildcards = 2213,
};

// Longest indexed word in bytes; longer words are cut to this length when indexed and
// queried alike, so they stay findable.
inline constexpr size_t kMaxTermBytes = 64;
// Words per region that are indexed; the rest of a longer region is not searchable. Keeps
// positions of the two regions inside 32 bits.
inline constexpr uint32_t kMaxRegionWords = 1u << 24;
// NEAR matches words at most this many positions apart.
inline constexpr uint32_t kNearDistance = 8;
// Parenthesis levels a query may nest (deeper is an error the user is told about).
inline constexpr int kMaxQueryDepth = 5;
// Words a query may hold, phrase words included.
inline constexpr size_t kMaxQueryTerms = 32;
// Index terms one query may expand to through wildcards and word forms; beyond this the
// query is refused as too broad rather than running for minutes.
inline constexpr size_t kMaxExpandedTerms = 200000;
// Stop words an index may store.
inline constexpr size_t kMaxStopWords = 1024;

// One found word in a topic: the region (0 heading, 1 body) and its place in that region's
// plain text, counted in cp1251 characters (bytes) of the text given to the index builder.
struct Highlight {
  int region = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
  bool operator==(const Highlight&) const = default;
};

}  // namespace kro::search
