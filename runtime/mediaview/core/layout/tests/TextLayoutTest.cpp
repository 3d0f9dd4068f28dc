// Layout of regions with a fake measurer: every letter 10 px wide, a space 5 px, one
// twip one pixel (1440 dpi), lines 10 px tall.
#include "runtime/mediaview/core/layout/TextLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kro::mv::layout {
namespace {

class FakeMeasurer : public Measurer {
public:
  FakeMeasurer() {
    metrics_.ascent = 8;
    metrics_.descent = 2;
    metrics_.advance.fill(10);
    metrics_.advance[' '] = 5;
    metrics_.advance[0xAD] = 10;
  }
  const FontMetrics& Metrics(const CharFormat&) override { return metrics_; }
  Size PictureSize(std::string_view name) override { return name == "wide.jpg" ? Size{400, 200} : Size{}; }
  int DotsPerInch() const override { return 1440; }

private:
  FontMetrics metrics_;
};

struct Built {
  std::vector<uint8_t> bytes;
  Region region;
};

Built Build(const std::function<void(RichTextWriter&)>& write) {
  RichTextWriter w;
  write(w);
  Built b{w.TakeBytes(), {}};
  auto decoded = DecodeRegion(b.bytes, 1);
  EXPECT_TRUE(decoded) << decoded.error().ToString();
  b.region = std::move(decoded).value_or({});
  return b;
}

Built Para(std::string_view text, Align align = Align::Left) {
  return Build([&](RichTextWriter& w) {
    ParagraphFormat p;
    p.align = align;
    w.Paragraph(p);
    w.Text(text);
  });
}

// The lines as text, "|" between them.
std::string Lines(const TextLayout& layout) {
  const std::string text = PlainText(layout.region());
  std::string out;
  for (const Line& l : layout.lines()) {
    if (!out.empty()) out += "|";
    out += text.substr(l.textBegin, l.textEnd - l.textBegin);
  }
  return out;
}

TextLayout Lay(const Built& b, int width, FakeMeasurer& m) { return TextLayout(b.region, m, {width, 0, 0, 0, 0}); }

TEST(TextLayout, BreaksLinesAtSpacesHyphensSoftHyphensAndInsideOverlongWords) {
  struct Case {
    const char* text;
    int width;
    const char* lines;
  } cases[] = {
      {"aaa bbb ccc", 100, "aaa bbb ccc"},
      {"aaa bbb ccc", 90, "aaa bbb |ccc"},
      {"aaa  bbb", 40, "aaa  |bbb"},              // spaces hang past the line end
      {"abcdefghij", 45, "abcd|efgh|ij"},         // no break point: between letters
      {"северо-запад", 80, "северо-|запад"},       // after a hyphen between letters
      {"ab - cd", 35, "ab - |cd"},                // a free-standing dash is no break point
      {"aa bbb \x97 c", 65, "aa |bbb \x97 c"},      // nor is the space before a dash
      {"ab\xAD" "cdef", 45, "ab\xAD|cdef"},       // soft hyphen, room for the drawn hyphen
      {"ab\xAD" "cdef", 25, "ab\xAD|cd|ef"},      // no room for the hyphen: between letters
      {"", 50, ""},
  };
  for (const Case& c : cases) {
    FakeMeasurer m;
    const Built b = Para(c.text);
    EXPECT_EQ(Lines(Lay(b, c.width, m)), c.lines) << c.text << " at " << c.width;
  }
}

TEST(TextLayout, SoftHyphenAtABreakDrawsAHyphen) {
  FakeMeasurer m;
  const Built b = Para("ab\xAD" "cdef");
  const TextLayout layout = Lay(b, 45, m);
  ASSERT_EQ(layout.lines().size(), 2u);
  const auto first = layout.FragmentsOf(layout.lines()[0]);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_TRUE(first[0].hyphen);
  EXPECT_EQ(first[0].width, 30);  // "ab", the invisible soft hyphen and the drawn hyphen
}

TEST(TextLayout, AlignsAndJustifiesWithTheLastLineLeftAlone) {
  FakeMeasurer m;
  const Built centred = Para("aa", Align::Centre);
  EXPECT_EQ(Lay(centred, 100, m).lines()[0].left, 40);
  const Built right = Para("aa", Align::Right);
  EXPECT_EQ(Lay(right, 100, m).lines()[0].left, 80);

  const Built just = Para("aa b cc dddddd", Align::Justify);
  const TextLayout layout = Lay(just, 61, m);
  ASSERT_EQ(Lines(layout), "aa b cc |dddddd");
  // First line: 20 + 5 + 10 + 5 + 20 = 60 of 61; the spare pixel goes to the first space.
  EXPECT_EQ(layout.CharLeft(3), 26);
  EXPECT_EQ(layout.CharLeft(5), 41);
  EXPECT_EQ(layout.lines()[0].right, 61);
  EXPECT_EQ(layout.lines()[1].right, 60);  // not stretched
}

TEST(TextLayout, IndentsSpacingAndLineBreaks) {
  FakeMeasurer m;
  const Built b = Build([](RichTextWriter& w) {
    ParagraphFormat p;
    p.leftIndent = 20;
    p.firstIndent = -10;
    p.spaceBefore = 7;
    p.spaceAfter = 3;
    w.Paragraph(p);
    w.Text("aa bb cc");
    w.LineBreak();
    w.Text("dd");
    w.Paragraph(ParagraphFormat{});
    w.Text("ee");
  });
  const TextLayout layout = Lay(b, 70, m);
  ASSERT_EQ(Lines(layout), "aa bb |cc\n|dd\n|ee");
  const auto lines = layout.lines();
  EXPECT_EQ(lines[0].left, 10);  // first line: left indent less the hanging indent
  EXPECT_EQ(lines[1].left, 20);
  EXPECT_EQ(lines[0].top, 7);
  EXPECT_EQ(lines[3].top, 7 + 30 + 3);
  EXPECT_EQ(layout.height(), 50);
}

TEST(TextLayout, IndentsShrinkSoNarrowWindowsKeepTheirText) {
  FakeMeasurer m;
  const Built b = Build([](RichTextWriter& w) {
    ParagraphFormat p;
    p.leftIndent = 900;
    p.rightIndent = 900;
    w.Paragraph(p);
    w.Text("word");
  });
  const TextLayout layout = Lay(b, 100, m);
  EXPECT_EQ(layout.lines()[0].left, 33);
  EXPECT_EQ(Lines(layout), "word");
}

TEST(TextLayout, NothingPassesTheRightEdgeAtAnyWidth) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += i % 7 ? "слово " : "сверхдлинноесловобезпробелов и-дефис ";
  const Built b = Build([&](RichTextWriter& w) {
    ParagraphFormat p;
    p.align = Align::Justify;
    p.leftIndent = 200;
    p.firstIndent = 300;
    w.Paragraph(p);
    w.Text(text);
    w.Picture("wide.jpg", "");
  });
  for (int width = 20; width <= 420; width += 7) {
    FakeMeasurer m;
    const TextLayout layout(b.region, m, {width, 6, 4, 4, 0});
    for (const Line& line : layout.lines())
      for (const Fragment& f : layout.FragmentsOf(line)) {
        const std::string_view run = b.region.runs[f.run].text;
        const bool trailingSpaces = run.substr(f.textBegin - b.region.runs[f.run].textOffset).find_first_not_of(' ') ==
                                    std::string_view::npos;
        if (width >= 100 && (f.textBegin == f.textEnd || !trailingSpaces)) {
          EXPECT_LE(line.right, width - 6) << "width " << width;
          EXPECT_GE(f.x, 6) << "width " << width;
        }
      }
  }
}

TEST(TextLayout, PicturesScaleToTheLineAndThePage) {
  FakeMeasurer m;
  const Built b = Build([](RichTextWriter& w) {
    w.Paragraph(ParagraphFormat{});
    w.Text("a");
    w.Picture("wide.jpg", "caption");
    w.Picture("missing.jpg", "");
  });
  const TextLayout wide(b.region, m, {120, 10, 0, 0, 0});
  const auto f = wide.fragments();
  ASSERT_EQ(f.size(), 2u);  // the missing picture takes no room
  EXPECT_EQ(f[1].width, 100);
  EXPECT_EQ(f[1].height, 50);
  EXPECT_EQ(wide.lines().size(), 2u);  // too wide to stand beside the letter
  const TextLayout paged(b.region, m, {1000, 0, 0, 0, 40});
  EXPECT_EQ(paged.fragments()[1].height, 40);
  EXPECT_EQ(paged.fragments()[1].width, 80);
}

// A window keeps its height whatever the line (a controller bar does not shrink) and
// yields only width; a printed page still bounds it.
TEST(TextLayout, EmbeddedWindowsTakeTheirBox) {
  FakeMeasurer m;
  const Built b = Build([](RichTextWriter& w) {
    w.Paragraph(ParagraphFormat{});
    w.Text("a");
    w.Window("SoundClass", "x.mov", 300, 30);
  });
  const TextLayout roomy(b.region, m, {1000, 10, 0, 0, 0});
  ASSERT_EQ(roomy.fragments().size(), 2u);
  EXPECT_EQ(roomy.fragments()[1].width, 300);
  EXPECT_EQ(roomy.fragments()[1].height, 30);
  EXPECT_EQ(roomy.NaturalSize().height, roomy.height());
  EXPECT_GE(roomy.height(), 30);
  const TextLayout narrow(b.region, m, {120, 10, 0, 0, 0});
  EXPECT_EQ(narrow.fragments()[1].width, 100);
  EXPECT_EQ(narrow.fragments()[1].height, 30);
  const TextLayout paged(b.region, m, {1000, 0, 0, 0, 20});
  EXPECT_EQ(paged.fragments()[1].height, 20);
}

Built Linked() {
  return Build([](RichTextWriter& w) {
    w.Paragraph(ParagraphFormat{});
    w.Text("see ");
    w.BeginLink(HotspotKind::Jump, 77, "topic_x");
    w.Text("long link");
    w.EndLink();
    w.Text(" end");
  });
}

TEST(TextLayout, HotspotRectanglesFollowTheLinesAndHitTestingFindsThem) {
  FakeMeasurer m;
  const Built b = Linked();
  const TextLayout layout = Lay(b, 90, m);
  ASSERT_EQ(Lines(layout), "see long |link end");
  const auto rects = layout.hotspotRects();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].rect, (Rect{35, 0, 80, 10}));  // "long " with its space
  EXPECT_EQ(rects[1].rect, (Rect{0, 10, 40, 20}));
  EXPECT_EQ(layout.HotspotBounds(0), rects[0].rect);
  EXPECT_EQ(layout.HitTest(50, 5).hotspot, 0);
  EXPECT_EQ(layout.HitTest(10, 15).hotspot, 0);
  EXPECT_EQ(layout.HitTest(10, 5).hotspot, -1);
  EXPECT_TRUE(layout.HitTest(10, 5).onText);
  EXPECT_FALSE(layout.HitTest(89, 15).onText);  // blank after the last word
  EXPECT_EQ(layout.HitTest(89, 15).offset, 17u);
  EXPECT_EQ(layout.HitTest(14, 5).offset, 1u);  // nearer the right edge of 's'
  EXPECT_EQ(layout.HitTest(50, 500).hotspot, -1);
}

TEST(TextLayout, RangeRectanglesAndCaretMotion) {
  FakeMeasurer m;
  const Built b = Linked();
  const TextLayout layout = Lay(b, 90, m);
  const auto rects = layout.RangeRects(1, 11);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0], (Rect{10, 0, 80, 10}));
  EXPECT_EQ(rects[1], (Rect{0, 10, 20, 20}));
  EXPECT_TRUE(layout.RangeRects(5, 5).empty());
  EXPECT_EQ(layout.MoveCaret(1, CaretMove::LineDown), 10u);
  EXPECT_EQ(layout.MoveCaret(10, CaretMove::LineUp), 1u);
  EXPECT_EQ(layout.MoveCaret(10, CaretMove::LineStart), 9u);
  EXPECT_EQ(layout.MoveCaret(10, CaretMove::LineEnd), 17u);
  EXPECT_EQ(layout.MoveCaret(2, CaretMove::LineUp), 0u);
  EXPECT_EQ(layout.MoveCaret(12, CaretMove::LineDown), 17u);
  EXPECT_EQ(layout.MoveCaret(0, CaretMove::Left), 0u);
  EXPECT_EQ(layout.MoveCaret(17, CaretMove::Right), 17u);
}

TEST(TextLayout, KernedPairsMoveTheLettersAfterThem) {
  FakeMeasurer m;
  const Built b = Para("AVAx");
  EXPECT_EQ(Lay(b, 100, m).CharLeft(3), 30);
  FakeMeasurer kerned;
  auto& metrics = const_cast<FontMetrics&>(kerned.Metrics(CharFormat{}));
  metrics.kerning = {{'A' << 8 | 'V', -3}, {'V' << 8 | 'A', -2}};
  const TextLayout layout = Lay(b, 100, kerned);
  EXPECT_EQ(layout.CharLeft(1), 7);
  EXPECT_EQ(layout.CharLeft(2), 15);
  EXPECT_EQ(layout.CharLeft(3), 25);  // "Ax" is no pair
}

TEST(TextLayout, NaturalSizeIsTheWidestLineWithMargins) {
  FakeMeasurer m;
  const Built b = Para("aa bbb");
  const TextLayout layout(b.region, m, {400, 8, 5, 5, 0});
  EXPECT_EQ(layout.NaturalSize(), (Size{8 + 55 + 8, 20}));
}

TEST(TextLayout, PagesNeverSplitALine) {
  FakeMeasurer m;
  std::string text;
  for (int i = 0; i < 10; ++i) text += "aaaaaaa ";
  const Built b = Para(text);
  const TextLayout layout = Lay(b, 80, m);  // one word per line, ten lines of 10 px
  ASSERT_EQ(layout.lines().size(), 10u);
  const auto pages = layout.Paginate(25, 40);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].lineCount, 2u);
  EXPECT_EQ(pages[1].firstLine, 2u);
  EXPECT_EQ(pages[1].top, 20);
  EXPECT_EQ(pages[1].lineCount, 4u);
  EXPECT_EQ(pages[2].firstLine, 6u);
  EXPECT_EQ(pages[2].lineCount, 4u);
  // No room for one line on the open page: the text starts on the next one.
  const auto late = layout.Paginate(5, 40);
  EXPECT_EQ(late[0].lineCount, 0u);
  EXPECT_EQ(late[1].firstLine, 0u);
}

std::string Marked(std::string_view word) {
  const std::vector<bool> points = HyphenPoints(word);
  std::string out;
  for (size_t i = 0; i < word.size(); ++i) out += std::string(points[i] ? "-" : "") + word[i];
  return out;
}

TEST(Hyphenation, SyllablesOfRussianWordsWithTwoLettersKeptAtEachEnd) {
  const struct {
    const char* word;
    const char* marked;
  } cases[] = {
      {"река", "ре-ка"},
      {"переправа", "пе-реп-ра-ва"},
      {"Волга", "Вол-га"},
      {"крупнейшая", "круп-ней-шая"},
      {"подъезд", "подъ-езд"},
      {"район", "рай-он"},
      {"ель", "ель"},
      {"Каспийское", "Кас-пий-ское"},
  };
  for (const auto& c : cases) EXPECT_EQ(Marked(c.word), c.marked) << c.word;
}

TEST(TextLayout, HyphenatesRussianWordsWhenTheyDoNotFit) {
  FakeMeasurer m;
  const Built b = Para("переправа");
  const TextLayout layout = Lay(b, 65, m);
  ASSERT_EQ(Lines(layout), "переп|рава");
  EXPECT_TRUE(layout.FragmentsOf(layout.lines()[0])[0].hyphen);
  TextLayout plain(b.region, m, {65, 0, 0, 0, 0, false});
  EXPECT_EQ(Lines(plain), "перепр|ава");  // between letters, no hyphen
}

TEST(WordAt, WordsOfRussianTextAndCompoundsWithHyphens) {
  const std::string text = "Река Волга-матушка, 1812 год.";
  EXPECT_EQ(WordAt(text, 1).begin, 0u);
  EXPECT_EQ(WordAt(text, 1).end, 4u);
  EXPECT_EQ(WordAt(text, 6).begin, 5u);
  EXPECT_EQ(WordAt(text, 6).end, 18u);
  EXPECT_EQ(WordAt(text, 18).end, 19u);  // the comma alone
  EXPECT_EQ(WordAt(text, 21).begin, 20u);
  EXPECT_EQ(WordAt(text, 100).begin, static_cast<uint32_t>(text.size()));
}

}  // namespace
}  // namespace kro::mv::layout
