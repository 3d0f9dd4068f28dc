#include "app/navigation/ContentsPosition.h"

#include <cstring>
#include <limits>

namespace kro::navigation {
namespace {

int32_t HalfUp(int32_t n) { return n / 2 + n % 2; }

}  // namespace

// The steps shrink by half on every probe, so the loop ends after about log2(count) probes
// and `pos` stays within 0..count - 1 (checked exhaustively against a lower bound in the
// tests).
int32_t PositionInList(int32_t topic, int32_t count, const std::function<int32_t(int32_t)>& lookup) {
  if (count <= 0) return 0;
  int32_t pos = count / 2, up = HalfUp(count), step = count / 2;
  while (step > 0) {
    const int32_t value = lookup(pos);
    if (value == topic) return pos;
    if (value > topic) {
      up = HalfUp(step);
      step /= 2;
      pos -= up;
    } else {
      step = up / 2;
      up = HalfUp(up);
      pos += step;
    }
  }
  if (lookup(pos) < topic) ++pos;
  return pos;
}

int32_t DecimalValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<int32_t>::max()) {
      value = std::numeric_limits<int32_t>::max() + int64_t{negative};
      break;
    }
  }
  return static_cast<int32_t>(negative ? -value : value);
}

QueryHistory PackQueryHistory(const std::vector<std::string>& queries) {
  QueryHistory block{};
  size_t used = 0;
  for (const std::string& query : queries) {
    const size_t length = std::strlen(query.c_str());
    if (length == 0) continue;  // it would close the block early
    // Room stays for the string's NUL and the closing empty string: a total of 511 plus a
    // string's NUL would leave the closing string one byte past the block.
    if (used + length > kQueryHistoryBytes - 2) break;
    std::memcpy(block.data() + used, query.data(), length);
    used += length + 1;
  }
  return block;
}

std::vector<std::string> UnpackQueryHistory(const QueryHistory& block) {
  std::vector<std::string> queries;
  size_t at = 0;
  while (at < block.size() && block[at] != '\0') {
    size_t end = at;
    while (end < block.size() && block[end] != '\0') ++end;
    queries.emplace_back(block.data() + at, end - at);
    at = end + 1;
  }
  return queries;
}

}  // namespace kro::navigation
