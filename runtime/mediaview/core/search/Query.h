#pragma once
// The query language (described for users in docs/query-language.md): words joined by
// AND (implicit), OR, NOT and NEAR, or by the Russian И, ИЛИ, НЕ, РЯДОМ; quoted phrases;
// wildcards * and ? inside words; parentheses up to five levels. Operators are words in
// capitals; in lower case they are ordinary words.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/mediaview/core/search/SearchTypes.h"

namespace kro::search {

enum class NodeKind { Word, Phrase, And, Or, Not, Near, Empty };

struct QueryNode {
  NodeKind kind = NodeKind::Empty;
  std::string word;  // Word: folded cp1251, may hold the wildcards * and ?
  std::vector<QueryNode> children;  // Phrase: its words; Not: what to keep, what to drop
};

// Query options as the search dialog passes them.
enum QueryOption : int { kMatchWordForms = 0, kMatchExactWords = 1 };

struct Query {
  QueryNode root;
  bool wordForms = false;
};

struct ParseResult {
  SearchError error = SearchError::None;
  Query query;
};

// Parses a query typed by the user (cp1251). Stop words are the index's business: they are
// dropped when the query runs.
ParseResult ParseQuery(std::string_view text, int option);

// A canonical form: (AND a b), (OR a b), (NOT a b), (NEAR a b), "a b", () for nothing.
std::string ToString(const QueryNode& node);

bool HasWildcard(std::string_view word);

}  // namespace kro::search
