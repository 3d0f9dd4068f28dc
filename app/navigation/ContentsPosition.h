#pragma once
// Portable pieces of the contents and search dialogs: where a topic falls in an ascending
// topic list, the decimal keys of the list box's find requests, and the query history
// block the search dialog keeps between openings.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kro::navigation {

// The position of `topic` in an ascending list of `count` entries read through `lookup`:
// the index of the first entry not below it, `count` when every entry is below. The
// search halves a step and its rounded-up partner, so it reads about log2(count) entries.
int32_t PositionInList(int32_t topic, int32_t count, const std::function<int32_t(int32_t)>& lookup);

// The decimal value of a find request's string: leading blanks and a sign allowed, digits
// up to the first other character; 0 without digits, clamped to the 32-bit range.
int32_t DecimalValue(std::string_view text);

// The query history: earlier queries as consecutive NUL-terminated strings, newest first,
// closed by an empty string, in 512 bytes.
constexpr size_t kQueryHistoryBytes = 512;
using QueryHistory = std::array<char, kQueryHistoryBytes>;
// Takes the strings in order while they fit with their NULs and the closing empty string;
// the first that does not fit and every older one are dropped.
QueryHistory PackQueryHistory(const std::vector<std::string>& queries);
std::vector<std::string> UnpackQueryHistory(const QueryHistory& block);

}  // namespace kro::navigation
