#include <gtest/gtest.h>

#include "runtime/mediaview/core/RichText.h"

namespace kro::mv {
namespace {

std::vector<uint8_t> Sample() {
  RichTextWriter w;
  ParagraphFormat centred;
  centred.align = Align::Centre;
  centred.leftIndent = -360;
  w.Paragraph(centred);
  w.Format(CharFormat{1, 28, kBold, 0x123456});
  w.Text("Река ");
  w.BeginLink(HotspotKind::Jump, 0xDEADBEEF, "topic_volga");
  w.Text("Волга");
  w.EndLink();
  w.LineBreak();
  w.Paragraph(ParagraphFormat{});
  w.Picture("dam.jpg", "Плотина");
  w.Window("SoundClass", "sounds\\bells.mov", 320, 28);
  w.BeginLink(HotspotKind::Command, 0, "activate");
  w.Text("дальше");
  return w.TakeBytes();  // the open link ends with the region
}

TEST(RichText, RoundTripWithPlainTextOffsets) {
  const auto bytes = Sample();
  const auto decoded = DecodeRegion(bytes, 2);
  ASSERT_TRUE(decoded) << decoded.error().ToString();
  const Region& r = *decoded;
  ASSERT_EQ(r.paragraphs.size(), 2u);
  EXPECT_EQ(r.paragraphs[0].format.align, Align::Centre);
  EXPECT_EQ(r.paragraphs[0].format.leftIndent, -360);
  EXPECT_EQ(PlainText(r), "Река Волга\n\nдальше");
  EXPECT_EQ(r.textLength, PlainText(r).size());
  ASSERT_EQ(r.hotspots.size(), 2u);
  EXPECT_EQ(r.hotspots[0].kind, HotspotKind::Jump);
  EXPECT_EQ(r.hotspots[0].hash, 0xDEADBEEFu);
  EXPECT_EQ(r.hotspots[0].data, "topic_volga");
  EXPECT_EQ(r.hotspots[0].textBegin, 5u);
  EXPECT_EQ(r.hotspots[0].textEnd, 10u);
  EXPECT_EQ(r.hotspots[1].textBegin, 12u);  // after the line break and the paragraph break
  EXPECT_EQ(r.hotspots[1].textEnd, 18u);
  const mv::Run& picture = r.runs[r.paragraphs[1].firstRun];
  EXPECT_EQ(picture.kind, RunKind::Picture);
  EXPECT_EQ(picture.text, "dam.jpg");
  EXPECT_EQ(picture.alt, "Плотина");
  EXPECT_EQ(picture.format.font, 1);  // formats carry over paragraph starts
  EXPECT_TRUE(picture.format.bold());
  EXPECT_EQ(r.runs[1].hotspot, 0);
  const mv::Run& window = r.runs[r.paragraphs[1].firstRun + 1];
  EXPECT_EQ(window.kind, RunKind::Window);
  EXPECT_EQ(window.text, "SoundClass");
  EXPECT_EQ(window.alt, "sounds\\bells.mov");
  EXPECT_EQ(window.boxWidth, 320);
  EXPECT_EQ(window.boxHeight, 28);
  EXPECT_EQ(window.textOffset, 12u);  // it adds nothing to the plain text
}

// Faults name the offset of the record at fault (or of the read that ran out) in the file.
TEST(RichText, MalformedRegionsAreRefused) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* error;
  } cases[] = {
      {{0x03, 0x01, 0x00, 'a'}, "offset 1000: bad value: rich text: content before the first paragraph"},
      {{0x01, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "offset 1000: bad value: rich text: bad alignment"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 5, 24, 0, 0, 0, 0, 0}, "offset 1012: bad value: rich text: font index outside the font table"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 24, 8, 0, 0, 0, 0}, "offset 1012: bad value: rich text: unknown style bits"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00, 0x00}, "offset 1012: bad value: rich text: empty text record"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x01, 0x00, 0x07}, "offset 1012: bad value: rich text: control byte in text"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x06}, "offset 1012: bad value: rich text: link end without a link"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x05, 1, 0, 0, 0, 0, 0, 0x05, 1, 0, 0, 0, 0, 0}, "offset 1019: bad value: rich text: nested link"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x09}, "offset 1012: bad value: rich text: unknown record"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x05, 0x00, 'a'}, "offset 1015: truncated: rich text record: needs 5 bytes, 1 left"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 1, 0, 1, 'C', 0}, "offset 1012: bad value: rich text: embedded window size out of range"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 1, 0, 0x01, 0x08, 1, 'C', 0}, "offset 1012: bad value: rich text: embedded window size out of range"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0x08, 1, 0, 0, 0}, "offset 1012: bad value: rich text: embedded window without a class"},
      {{0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 1, 0, 1, 0, 1, 'C', 2, 'd'}, "offset 1020: truncated: rich text record: needs 2 bytes, 1 left"},
      {{0x01, 0, 0}, "offset 1002: truncated: rich text record: needs 2 bytes, 1 left"},
  };
  for (const Case& c : cases) {
    const auto decoded = DecodeRegion(c.bytes, 1, 1000);
    ASSERT_FALSE(decoded) << c.error;
    EXPECT_EQ(decoded.error().ToString(), c.error);
  }
}

TEST(RichText, EveryTruncationDecodesOrFailsCleanly) {
  const auto bytes = Sample();
  for (size_t n = 0; n < bytes.size(); ++n) {
    const auto decoded = DecodeRegion(std::span(bytes.data(), n), 2);
    if (decoded) {
      EXPECT_EQ(decoded->textLength, PlainText(*decoded).size());
    } else {
      EXPECT_LE(decoded.error().offset, n);
    }
  }
}

}  // namespace
}  // namespace kro::mv
