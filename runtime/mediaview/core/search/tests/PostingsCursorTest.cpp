#include "runtime/mediaview/core/search/PostingsCursor.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "runtime/mediaview/core/search/Search.h"
#include "runtime/mediaview/core/search/SearchIndex.h"
#include "runtime/mediaview/core/search/SearchIndexBuilder.h"
#include "runtime/mediaview/core/search/Varint.h"

namespace kro::search {
namespace {

// "alpha" in most of 1,000 topics, a varying number of times; the word positions of each.
struct Texts {
  std::map<uint32_t, std::vector<uint32_t>> alpha;  // topic -> places in the body
  std::vector<uint8_t> Build(uint16_t version) const {
    SearchIndexBuilder builder(DefaultStopWords(), version);
    for (uint32_t topic = 0; topic < kTopics; ++topic) builder.Add(topic, 1, Body(topic));
    return builder.Finish();
  }
  static constexpr uint32_t kTopics = 1000;
  static std::string Body(uint32_t topic) {
    std::string body;
    for (uint32_t w = 0; w < 3 + topic % 7; ++w) body += (w * (topic + 1)) % 4 == 0 || topic % 11 == 0 ? "alpha " : "beta ";
    return body;
  }
  Texts() {
    for (uint32_t topic = 0; topic < kTopics; ++topic) {
      for (uint32_t w = 0; w < 3 + topic % 7; ++w) {
        if ((w * (topic + 1)) % 4 == 0 || topic % 11 == 0) alpha[topic].push_back(w);
      }
    }
  }
};

// Seeks forward by small and large steps and backwards, in both layouts: each lands on the
// first document at or after its target, with that document's positions. Now and then the
// list is decoded whole in between, which must append every document and leave the cursor
// seeking as before.
TEST(PostingsCursor, SeeksAndPositionsAgreeWithTheTextsInEveryLayout) {
  const Texts texts;
  for (uint16_t version : {uint16_t{2}, uint16_t{3}}) {
    const std::vector<uint8_t> bytes = texts.Build(version);
    const auto index = SearchIndex::Open(bytes);
    ASSERT_TRUE(index);
    ASSERT_FALSE(index->Verify());
    TermInfo info;
    bool found = false;
    ASSERT_TRUE(index->FindTerm("alpha", &info, &found) && found);
    ASSERT_EQ(info.docCount, texts.alpha.size());
    PostingsCursor cursor;
    ASSERT_TRUE(cursor.Open(info, index->topicCount(), nullptr));
    std::mt19937 random(version);
    std::vector<uint32_t> positions;
    uint32_t target = 0;
    for (int step = 0; step < 3000; ++step) {
      if (step % 700 == 1) {
        std::vector<uint32_t> all = {7};
        ASSERT_TRUE(cursor.DecodeAll(&all));
        std::vector<uint32_t> want = {7};
        for (const auto& [topic, places] : texts.alpha) want.push_back(topic);
        ASSERT_EQ(all, want) << "version " << version;
      }
      const uint32_t kind = random() % 8;
      target = kind == 0 ? random() % Texts::kTopics                           // anywhere, often back
               : kind < 4 ? target + random() % 3                              // the next few
                          : target + random() % 70;                            // over strides
      const auto expected = texts.alpha.lower_bound(target);
      ASSERT_EQ(cursor.Seek(target), expected != texts.alpha.end()) << "version " << version << " target " << target;
      if (expected == texts.alpha.end()) {
        target = 0;
        continue;
      }
      ASSERT_EQ(cursor.doc(), expected->first) << "version " << version << " target " << target;
      if (random() % 3 == 0) continue;  // positions left unread, as a phrase's other words do
      ASSERT_TRUE(cursor.Positions(&positions));
      const uint32_t base = index->BodyBase(cursor.doc());
      std::vector<uint32_t> want;
      for (uint32_t w : expected->second) want.push_back(base + w);
      ASSERT_EQ(positions, want) << "version " << version << " topic " << cursor.doc();
    }
    ASSERT_TRUE(cursor.ok());
  }
}

// A stride table that disagrees with the documents or positions it describes is damage.
TEST(PostingsCursor, VerifyFindsEveryFieldOfADamagedStrideEntry) {
  const Texts texts;
  const std::vector<uint8_t> good = texts.Build(3);
  const auto index = SearchIndex::Open(good);
  ASSERT_TRUE(index);
  TermInfo info;
  bool found = false;
  ASSERT_TRUE(index->FindTerm("alpha", &info, &found) && found);
  ASSERT_GT(info.docCount, 2 * 128u);
  // Past the skip entries of the blocks, the first block's stride table and its first entry.
  VarintReader r(info.postings);
  for (uint32_t b = 0; b < (info.docCount + 127) / 128 * 3; ++b) r.U32();
  r.U32();  // the table's bytes
  for (int field = 0; field < 3; ++field) {
    const size_t at = static_cast<size_t>(r.position() - good.data());
    r.U32();
    auto bytes = good;
    bytes[at] ^= 1;
    const auto damaged = SearchIndex::Open(bytes);
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->Verify()) << "field " << field;
    const SearchResult result = Search(*damaged, "\"beta alpha\"", kMatchExactWords, nullptr, nullptr);
    for (uint32_t topic : result.topics) EXPECT_LT(topic, damaged->topicCount());
  }
}

}  // namespace
}  // namespace kro::search
