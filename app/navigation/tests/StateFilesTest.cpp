#include "app/navigation/StateFiles.h"

#include <gtest/gtest.h>

#include <string>

#include "app/navigation/tests/StateFileImages.h"

namespace kro::navigation {
namespace {

Bookmark Mark(std::string name, int32_t address) {
  Bookmark b;
  b.name = std::move(name);
  b.entry = {1, address, 40, 1, 7, 9};
  return b;
}

TEST(Bookmarks, RoundTripWithTheFileLayout) {
  const std::vector<Bookmark> marks = {Mark("Волга", 0x12345), Mark("", 0)};
  const auto bytes = SerializeBookmarks(marks);
  ASSERT_EQ(bytes.size(), 1 + 2 * 56u);
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[1], static_cast<uint8_t>('\xC2'));  // "В" in cp1251
  EXPECT_EQ(bytes[1 + 32 + 4], 0x45);                 // topic address at offset 37
  EXPECT_EQ(bytes[1 + 32 + 5], 0x23);
  EXPECT_EQ(*ParseBookmarks(bytes), marks);
}

TEST(StateFileImages, TheModelWritesAndReadsTheFixedBytes) {
  EXPECT_EQ(SerializeBookmarks(images::Bookmarks()), images::BookmarkFile());
  EXPECT_EQ(*ParseBookmarks(images::BookmarkFile()), images::Bookmarks());
  const auto last = SerializeLastPosition(images::kLastPosition);
  EXPECT_EQ(std::vector<uint8_t>(last.begin(), last.end()), images::kLastPositionFile);
  EXPECT_EQ(*ParseLastPosition(images::kLastPositionFile), images::kLastPosition);
}

TEST(Bookmarks, LongNamesComeBackWithTheirFirst31Bytes) {
  const std::string name(40, 'x');
  const auto parsed = ParseBookmarks(SerializeBookmarks(std::vector<Bookmark>{Mark(name, 5)}));
  ASSERT_TRUE(parsed) << parsed.error().ToString();
  ASSERT_EQ(parsed->size(), 1u);
  EXPECT_EQ((*parsed)[0].name, std::string(31, 'x'));
}

TEST(Bookmarks, AtMost32AreWrittenAndRead) {
  std::vector<Bookmark> many;
  for (int i = 0; i < 40; ++i) many.push_back(Mark("m" + std::to_string(i), i));
  auto bytes = SerializeBookmarks(many);
  EXPECT_EQ(bytes[0], 32);
  EXPECT_EQ(ParseBookmarks(bytes)->size(), 32u);
  // A hostile count byte never yields more than the table holds.
  bytes[0] = 255;
  auto hostile = ParseBookmarks(bytes);
  EXPECT_EQ(hostile.error().ToString(), "offset 0: out of limits: bookmark count 255, expected 1..32");
  EXPECT_EQ(std::move(hostile).Recovered().size(), 32u);
}

// Every cut is a fault at the field that ran out; the whole records before it are kept.
TEST(Bookmarks, DamagedFilesGiveWhatIsWhole) {
  const auto bytes = SerializeBookmarks(std::vector<Bookmark>{Mark("a", 1), Mark("b", 2), Mark("c", 3)});
  for (size_t size = 0; size < bytes.size(); ++size) {
    auto parsed = ParseBookmarks(std::span(bytes).first(size));
    ASSERT_FALSE(parsed) << size;
    EXPECT_EQ(parsed.error().cause, ParseCause::Truncated) << size;
    EXPECT_LE(parsed.error().offset, size) << size;
    EXPECT_EQ(std::move(parsed).Recovered().size(), size == 0 ? 0 : (size - 1) / 56) << size;
  }
  const struct {
    size_t size;
    const char* error;
  } kCuts[] = {
      {0, "offset 0: truncated: bookmark count: needs 1 bytes, 0 left"},
      {20, "offset 1: truncated: bookmark 1: needs 32 bytes, 19 left"},
      {1 + 56 + 40, "offset 97: truncated: bookmark 2: needs 4 bytes, 0 left"},
  };
  for (const auto& c : kCuts) EXPECT_EQ(ParseBookmarks(std::span(bytes).first(c.size)).error().ToString(), c.error);
  std::vector<uint8_t> unterminated(1 + 56, 'z');
  unterminated[0] = 1;
  auto parsed = ParseBookmarks(unterminated);
  EXPECT_EQ(parsed.error().ToString(), "offset 1: malformed text: bookmark 1: name without its NUL");
  EXPECT_EQ(std::move(parsed).Recovered()[0].name.size(), 31u);
  EXPECT_EQ(ParseBookmarks(std::vector<uint8_t>{0}).error().ToString(), "offset 0: out of limits: bookmark count 0, expected 1..32");
}

TEST(Bookmarks, NoBookmarksWriteNothing) {
  EXPECT_TRUE(SerializeBookmarks({}).empty());
}

TEST(LastPosition, RoundTripAndTruncation) {
  const HistoryEntry entry{1, 777, 12, 0, 3, 4};
  const auto bytes = SerializeLastPosition(entry);
  EXPECT_EQ(*ParseLastPosition(bytes), entry);
  EXPECT_EQ(ParseLastPosition(std::span(bytes).first(23)).error().ToString(),
            "offset 20: truncated: last position: needs 4 bytes, 3 left");
}

}  // namespace
}  // namespace kro::navigation
