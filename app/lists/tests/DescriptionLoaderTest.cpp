#include "app/lists/DescriptionLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kro::lists {
namespace {

using toolkit::TreeNode;

struct Recorder : HeaderSink {
  void Apply(Keyword keyword, std::string_view value) override { lines.push_back({keyword, std::string(value)}); }
  std::vector<std::pair<Keyword, std::string>> lines;
};

struct Loaded {
  TreeNode root{0, nullptr};
  Recorder header;
  uint32_t entries = 0;
  std::string fault = "none";  // the first fault as the diagnostics print it
  std::string text;
  SourceKind kind;

  Loaded(std::string description, SourceKind k = SourceKind::kFile) : text(std::move(description)), kind(k) {
    auto loaded = LoadDescription(text, kind, root, header);
    if (!loaded) fault = loaded.error().ToString();
    entries = std::move(loaded).Recovered();
  }
  std::string_view TextOf(uint32_t id) { return EntryText(text, root.FindById(id)->textOffset, kind); }
};

// The ids of a node's children, in order (0 for a slot no entry filled).
std::vector<uint32_t> ChildIds(const TreeNode& node) {
  std::vector<uint32_t> ids;
  for (int32_t i = 0; i < node.ChildCount(); ++i) ids.push_back(node.Child(i)->id);
  return ids;
}

constexpr const char* kContents =
    "; contents, volume 1\n"
    "ITEMSTRUCT: 260, 18, TEXT\n"
    "GROUPSTRUCT: 260, 20, TEXT\n"
    "BEGIN:\n"
    "{2\n"
    "10 \"History\"\n"
    "20 \"Geography\"\n"
    "10{2\n"
    "11 \"Ancient world\"\n"
    "12 \"Middle Ages\"\n";

TEST(DescriptionLoader, WorkedExampleBuildsTheTree) {
  Loaded l(kContents);
  ASSERT_EQ(l.header.lines.size(), 3u);
  EXPECT_EQ(l.header.lines[0].first, Keyword::kItemStruct);
  EXPECT_EQ(l.header.lines[2].first, Keyword::kBegin);
  EXPECT_EQ(l.entries, 4u);
  EXPECT_EQ(l.fault, "none");
  EXPECT_EQ(ChildIds(l.root), (std::vector<uint32_t>{10, 20}));
  EXPECT_EQ(ChildIds(*l.root.FindById(10)), (std::vector<uint32_t>{11, 12}));
  EXPECT_EQ(l.root.FindById(20)->ChildCount(), 0);
  EXPECT_EQ(l.TextOf(12), "\"Middle Ages\"");
  EXPECT_EQ(l.root.shown, 1u);
  EXPECT_EQ(l.root.Child(1)->shown, 1u);
  EXPECT_EQ(l.root.Child(1)->row, 1u);
  EXPECT_EQ(l.root.FindById(11)->shown, 0u);
}

TEST(DescriptionLoader, MemorySourceSeparatesLinesWithCaret) {
  Loaded l("ITEMSTRUCT: 100, 18, TEXT^BEGIN:^{2^1 \"a\"^2 \"b\"|x^", SourceKind::kMemory);
  EXPECT_EQ(l.entries, 2u);
  EXPECT_EQ(l.TextOf(1), "\"a\"");
  EXPECT_EQ(l.TextOf(2), "\"b\"|x");
}

TEST(DescriptionLoader, FileLinesMayEndInCrLf) {
  Loaded l("BEGIN:\r\n{1\r\n7 \"seven\"\r\n");
  EXPECT_EQ(l.TextOf(7), "\"seven\"");
}

TEST(DescriptionLoader, CommentInBlockKeepsItsSlotEmpty) {
  Loaded l("BEGIN:\n{3\n1 \"a\"\n; not an entry\n3 \"c\"\n");
  EXPECT_EQ(ChildIds(l.root), (std::vector<uint32_t>{1, 0, 3}));
  EXPECT_EQ(l.root.Child(1)->textOffset, 0u);
  EXPECT_EQ(l.entries, 2u);
}

TEST(DescriptionLoader, SecondBlockRefillsTheSlots) {
  Loaded l("BEGIN:\n{2\n1 \"a\"\n2 \"b\"\n{5\n3 \"c\"\n4 \"d\"\n");
  EXPECT_EQ(ChildIds(l.root), (std::vector<uint32_t>{3, 4}));
  EXPECT_EQ(l.TextOf(4), "\"d\"");
}

// The heads after BEGIN and a block of two entries start at 22.
TEST(DescriptionLoader, HeadsThatEndTheBody) {
  const struct {
    const char* body;
    std::vector<uint32_t> ids;
    const char* fault;
  } kCases[] = {
      {"{2\n1 \"a\"\n2 \"b\"\n99{1\n5 \"lost\"\n", {1, 2}, "offset 22: missing: block head names node 99, which no entry declared"},
      {"{2\n1 \"a\"\n2 \"b\"\nx{1\n5 \"lost\"\n", {1, 2}, "offset 22: malformed text: block head without a node id"},
      {"{2\n1 \"a\"\n2 \"b\"\n0{1\n5 \"lost\"\n", {1, 2}, "offset 22: malformed text: block head without a node id"},
      {"{2\n1 \"a\"\n2 \"b\"\n; end\n1{1\n5 \"lost\"\n", {1, 2}, "none"},  // a comment ends a file's body
  };
  for (const auto& c : kCases) {
    Loaded l(std::string("BEGIN:\n") + c.body);
    EXPECT_EQ(ChildIds(l.root), c.ids) << c.body;
    EXPECT_EQ(l.root.FindById(1)->ChildCount(), 0) << c.body;
    EXPECT_EQ(l.fault, c.fault) << c.body;
    EXPECT_EQ(l.entries, 2u) << c.body;
  }
  // In memory a comment before a head is passed over.
  Loaded memory("BEGIN:^{1^1 \"a\"^; note^1{1^5 \"kept\"^", SourceKind::kMemory);
  EXPECT_EQ(ChildIds(*memory.root.FindById(1)), (std::vector<uint32_t>{5}));
}

TEST(DescriptionLoader, EntriesEndEarly) {
  // An id 0 ends the block; the remaining slots stay empty.
  Loaded zero("BEGIN:\n{3\n1 \"a\"\n0 \"b\"\n");
  EXPECT_EQ(ChildIds(zero.root), (std::vector<uint32_t>{1, 0, 0}));
  EXPECT_EQ(zero.fault, "offset 16: malformed text: entry 2 of the block at 7 without an id");
  // A line holding only an id: its text starts on the next line, which it swallows.
  Loaded bare("BEGIN:\n{3\n1\n\"next line\"\n2 \"b\"\n");
  EXPECT_EQ(ChildIds(bare.root), (std::vector<uint32_t>{1, 2, 0}));
  EXPECT_EQ(bare.TextOf(1), "\"next line\"");
  EXPECT_EQ(bare.fault, "offset 30: truncated: the block at 7 ends after 2 of its 3 entries");
  // Without BEGIN the body is never reached.
  Loaded noBegin("BEGIN\n{1\n1 \"a\"\n");
  EXPECT_EQ(noBegin.root.ChildCount(), 0);
  EXPECT_EQ(noBegin.fault, "offset 15: missing: no BEGIN: line ends the header");
}

TEST(DescriptionLoader, ChildSlotsAreBoundedByWhatCanFollow) {
  Loaded huge("BEGIN:\n{2000000000\n1 \"a\"\n");
  EXPECT_LE(huge.root.ChildCount(), 8);
  EXPECT_EQ(huge.root.Child(0)->id, 1u);
  EXPECT_EQ(huge.fault, "offset 7: out of limits: the block declares 2000000000 entries, 100000 more allowed");
  std::string many = "BEGIN:\n{" + std::to_string(kMaxEntries + 10) + "\n";
  for (uint32_t i = 1; i <= kMaxEntries + 10; ++i) many += std::to_string(i) + "\n";
  Loaded capped(many);
  EXPECT_EQ(capped.root.ChildCount(), static_cast<int32_t>(kMaxEntries));
}

TEST(DescriptionLoader, DeepNestingLoads) {
  std::string text = "BEGIN:\n{1\n1 \"n\"\n";
  for (int id = 1; id < 5000; ++id) text += std::to_string(id) + "{1\n" + std::to_string(id + 1) + " \"n\"\n";
  Loaded l(text);
  EXPECT_EQ(l.entries, 5000u);
  EXPECT_NE(l.root.FindById(5000), nullptr);
}

TEST(DescriptionLoader, EntryTextStopsAtLineEndAndLimit) {
  const std::string line = "1 " + std::string(600, 'x') + "\nnext";
  EXPECT_EQ(EntryText(line, 2, SourceKind::kFile).size(), kMaxLineChars);
  EXPECT_EQ(EntryText("a^b", 0, SourceKind::kMemory), "a");
  EXPECT_EQ(EntryText("a^b", 0, SourceKind::kFile), "a^b");
  EXPECT_EQ(EntryText("abc", 10, SourceKind::kFile), "");
}

}  // namespace
}  // namespace kro::lists
