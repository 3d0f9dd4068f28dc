// Copying a whole article and printing articles, on real topic windows over the fixture
// title; printing goes through Wine's PostScript driver into files.
#include <gtest/gtest.h>

#include <string>

#include "app/article/ArticleCopy_win.h"
#include "app/article/ArticlePrint_win.h"
#include "app/article/tests/ArticleTestSupport_win.h"
#include "app/article/tests/TestPrinter_win.h"
#include "runtime/base/FileIo_win.h"
#include "tests/support/Files_win.h"

namespace kro::article::test {
namespace {

class ArticleCopyTest : public ArticleTest {};

TEST_F(ArticleCopyTest, TheWholeArticleIsTheHeadingThenTheBodyInBothTextFormats) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  const std::string heading = RegionText(PaneDisplay(record->nonScrollingPane));
  const std::string body = RegionText(PaneDisplay(record->scrollingPane));
  ASSERT_EQ(heading.rfind("РОССИЯ", 0), 0u) << heading;
  ASSERT_EQ(body.rfind("Крупнейшая страна мира", 0), 0u) << body;
  ClearClipboard();
  ASSERT_TRUE(CopyArticleText(record));
  EXPECT_EQ(ClipboardText(), heading + body);
  EXPECT_EQ(wintest::WithoutCr(wintest::ClipboardText(CF_UNICODETEXT)), heading + body);
}

TEST_F(ArticleCopyTest, AnArticleWithOneRegionCopiesThatOne) {
  TopicRecord* record = Open("topic_el", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  const bool hasHeading = fMVHasNSR(PaneDisplay(record->nonScrollingPane));
  const bool hasBody = fMVHasSR(PaneDisplay(record->scrollingPane));
  ASSERT_NE(hasHeading, hasBody);
  ASSERT_TRUE(CopyArticleText(record));
  EXPECT_EQ(ClipboardText(), RegionText(MainDisplay(record)));
}

TEST_F(ArticleCopyTest, NothingToCopyLeavesTheClipboardAlone) {
  const char kept[] = "Ёлка";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof kept);
  memcpy(GlobalLock(block), kept, sizeof kept);
  GlobalUnlock(block);
  ASSERT_TRUE(wintest::PutOnClipboard(nullptr, {{CF_TEXT, block}}));
  EXPECT_FALSE(CopyArticleText(nullptr));
  EXPECT_EQ(ClipboardText(), "Ёлка");
}

class ArticlePrintTest : public ArticleTest {
protected:
  // How many pages a PostScript file holds, or -1 when it is not PostScript.
  static int PageCount(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return -1;
    const std::string text(bytes->begin(), bytes->end());
    if (text.rfind("%!PS", 0) != 0) return -1;
    int pages = 0;
    for (size_t at = 0; (at = text.find("\n%%Page:", at)) != std::string::npos; ++at) ++pages;
    return pages;
  }
  wintest::TemporaryFolder out_;
};

TEST_F(ArticlePrintTest, ADocumentThatCannotStartFailsAndFreesTheDc) {
  TopicRecord* record = Open("topic_ros14", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);  // no printer: StartDoc refuses
  EXPECT_EQ(PrintCurrentArticle(MainDisplay(record), memory), kPrintFailed);
  EXPECT_EQ(GetObjectType(memory), 0u);
  EXPECT_EQ(PrintCurrentArticle(nullptr, nullptr), kPrintFailed);
}

TEST_F(ArticlePrintTest, HeadingAndBodyShareThePageAndEachTopicStartsOne) {
  TopicRecord* record = Open("topic_el", {0, 0, 400, 300});
  ASSERT_NE(record, nullptr);
  HDC printer = TestPrinterDc();
  ASSERT_NE(printer, nullptr) << "no printer could be added to the prefix";
  const std::string one = out_ / "one.ps";
  ASSERT_EQ(PrintCurrentArticle(MainDisplay(record), printer, one.c_str()), 0);
  EXPECT_EQ(PageCount(one), 1);

  const PrintRequest both[] = {{AddressOf("topic_ros14"), FixtureTitle()}, {AddressOf("topic_el"), FixtureTitle()}};
  const std::string two = out_ / "two.ps";
  ASSERT_EQ(PrintTopics(MainDisplay(record), TestPrinterDc(), both, two.c_str()), 0);
  EXPECT_EQ(PageCount(two), 2);
}

}  // namespace
}  // namespace kro::article::test
