#include "app/navigation/ContentsPosition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace kro::navigation {
namespace {

int32_t Position(const std::vector<int32_t>& list, int32_t topic, int* probes = nullptr) {
  return PositionInList(topic, static_cast<int32_t>(list.size()), [&](int32_t i) {
    EXPECT_GE(i, 0);
    EXPECT_LT(i, static_cast<int32_t>(list.size()));
    if (probes) ++*probes;
    return i >= 0 && i < static_cast<int32_t>(list.size()) ? list[i] : -1;
  });
}

TEST(PositionInList, AgreesWithALowerBoundForEveryTopicOfManyLists) {
  std::mt19937 rng(5);
  for (int32_t count = 1; count <= 70; ++count) {
    for (int trial = 0; trial < 20; ++trial) {
      std::vector<int32_t> all(300);
      std::iota(all.begin(), all.end(), 0);
      std::shuffle(all.begin(), all.end(), rng);
      std::vector<int32_t> list(all.begin(), all.begin() + count);
      std::sort(list.begin(), list.end());
      for (int32_t topic = -1; topic <= 301; ++topic) {
        const auto expected = std::lower_bound(list.begin(), list.end(), topic) - list.begin();
        ASSERT_EQ(Position(list, topic), expected) << "count " << count << " topic " << topic;
      }
    }
  }
}

TEST(PositionInList, ReadsAboutLogTwoEntriesOfALongList) {
  std::vector<int32_t> list(100000);
  for (int32_t i = 0; i < 100000; ++i) list[i] = 3 * i;
  int probes = 0;
  EXPECT_EQ(Position(list, 3 * 76543 + 1, &probes), 76544);
  EXPECT_LE(probes, 20);
  EXPECT_EQ(Position(list, 1 << 30), 100000);  // past the end: the caller takes the last
  EXPECT_EQ(Position({}, 5), 0);
}

TEST(DecimalValue, ReadsBlanksSignAndDigitsOnly) {
  const std::pair<const char*, int32_t> cases[] = {
      {"42", 42}, {"  17", 17}, {"-3", -3}, {"+8x", 8}, {"", 0}, {"abc", 0}, {"\t 5 6", 5},
      {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(DecimalValue(text), expected) << text;
}

TEST(QueryHistory, RoundTripsNewestFirst) {
  const std::vector<std::string> queries = {"волга", "река И озеро", "\"Московское царство\""};
  EXPECT_EQ(UnpackQueryHistory(PackQueryHistory(queries)), queries);
  EXPECT_TRUE(UnpackQueryHistory(PackQueryHistory({})).empty());
}

TEST(QueryHistory, NeverOutgrowsItsBlockAndDropsWhatComesAfterTheFirstMisfit) {
  // 63-character queries: eight take 512 bytes with their NULs, one too many for the
  // closing empty string, so seven fit.
  std::vector<std::string> queries;
  for (char c = 'a'; c < 'a' + 10; ++c) queries.push_back(std::string(63, c));
  queries.push_back("short");
  const QueryHistory block = PackQueryHistory(queries);
  const std::vector<std::string> kept = UnpackQueryHistory(block);
  ASSERT_EQ(kept.size(), 7u);
  EXPECT_EQ(kept.back(), std::string(63, 'g'));
  EXPECT_EQ(block[7 * 64], '\0');  // the closing empty string
  // A string that would end exactly at the last byte leaves no room for the closing one.
  EXPECT_TRUE(UnpackQueryHistory(PackQueryHistory({std::string(511, 'x')})).empty());
  EXPECT_EQ(UnpackQueryHistory(PackQueryHistory({std::string(510, 'x')})).size(), 1u);
}

TEST(QueryHistory, AnUnterminatedBlockReadsNoFurtherThanItsEnd) {
  QueryHistory block;
  block.fill('z');
  const auto queries = UnpackQueryHistory(block);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].size(), kQueryHistoryBytes);
}

}  // namespace
}  // namespace kro::navigation
