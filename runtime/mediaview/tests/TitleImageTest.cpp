// The title writer gives the same bytes in every build: a small title with every kind of
// section, compared with its fixed image. The native build and both Windows builds run
// this test, so a field written at the platform's width or alignment shows at once.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/TitleWriter.h"

namespace kro::mv {
namespace {

std::vector<uint8_t> Region(const char* text, HotspotKind link) {
  RichTextWriter w;
  w.Paragraph({});
  CharFormat bold;
  bold.style = kBold;
  w.Format(bold);
  w.Text(text);
  w.Format({});
  w.BeginLink(link, 0x01020304, "topic_b");
  w.Text(" \xF1\xF1\xFB\xEB\xEA\xE0");  // " ссылка"
  w.EndLink();
  w.LineBreak();
  w.Picture("pictures\\a.jpg", "\xCF\xEE\xE4\xEF\xE8\xF1\xFC");  // "Подпись"
  return w.TakeBytes();
}

TitleSource SmallTitle() {
  TitleSource s;
  TopicSource a;
  a.title = "\xD0\xCE\xD1\xD1\xC8\xDF";  // "РОССИЯ"
  a.context = "topic_a";
  a.data = "a.jpg";
  a.heading = Region("\xD0\xEE\xF1\xF1\xE8\xFF", HotspotKind::Jump);
  a.body = Region("\xC2\xEE\xEB\xE3\xE0", HotspotKind::Popup);
  a.browseNext = 1;
  TopicSource b;
  b.context = "topic_b";
  b.body = Region("\xC5\xEB\xFC", HotspotKind::Command);
  b.browsePrev = 0;
  s.topics = {a, b};
  s.articleCount = 2;
  s.contentsTopic = 0;
  s.fonts = {{"Times New Roman Cyr"}, {"Arial Cyr", kRussianCharset, 2}};
  s.wordWheels["|a"].entries = {{"\xD0\xEE\xF1\xF1\xE8\xFF", {0}}, {"\xC5\xEB\xFC", {1, 0}}};
  s.storedLists["ill"] = {1, 0};
  s.baggage["slides.dat"] = {0, 1, 2, 0xFF};
  return s;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char two[3];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    out += two;
    if (i % 32 == 31) out += '\n';
  }
  return out;
}

// Written by the native build when this test was made; a change to the format or the
// writer changes it on purpose, and then in every build alike.
constexpr const char* kImage =
    "4b524f5449544c1a010000000a000000ab9604e1300300000000000000000000\n"
    "01000000c000000010000000a9f0208702000000d0000000400000002b5f85a5\n"
    "030000001001000011010000f9be36b104000000210200004300000022772d5f\n"
    "050000006402000014000000b7ac176106000000780200004c00000051dbbfe1\n"
    "07000000c40200003c0000005f0928420800000000030000180000005f8d1421\n"
    "090000001803000014000000e17ea4870a0000002c030000040000002438b23f\n"
    "0200000002000000000000000000000000000000b50000003639a07800000000\n"
    "0800000011000000ffffffff01000000b50000005c0000003106fe10ffffffff\n"
    "18000000ffffffff00000000ffffffff57000000560000000100000000000000\n"
    "000000000200180100000000030600d0eef1f1e8ff05010403020107746f7069\n"
    "635f62020018000000000003070020f1f1fbebeae00604070e70696374757265\n"
    "735c612e6a706707cfeee4efe8f1fc0100000000000000000000000200180100\n"
    "000000030500c2eeebe3e005020403020107746f7069635f6202001800000000\n"
    "0003070020f1f1fbebeae00604070e70696374757265735c612e6a706707cfee\n"
    "e4efe8f1fc000000005400000001000000000000000000000002001801000000\n"
    "00030300c5ebfc05000403020107746f7069635f620200180000000000030700\n"
    "20f1f1fbebeae00604070e70696374757265735c612e6a706707cfeee4efe8f1\n"
    "fc0600d0ced1d1c8df0700746f7069635f610500612e6a70670700746f706963\n"
    "5f6202007c610300c5ebfc0600d0eef1f1e8ff0300696c6c0a00736c69646573\n"
    "2e646174020000002004045c00000000d908045f010000000200000054696d65\n"
    "73204e657720526f6d616e2043797200000000000000000000000000cc000000\n"
    "417269616c204379720000000000000000000000000000000000000000000000\n"
    "cc02000001000000210000000200000018000000300000000300000025000000\n"
    "00000000020000002a0000000200000001000000010000000000000000000000\n"
    "0100000032000000020000001000000000000000010000000100000037000000\n"
    "00000000040000002438b23f000102ff";

TEST(TitleImage, EveryBuildWritesTheSameBytes) {
  std::string error;
  const auto bytes = WriteTitle(SmallTitle(), &error);
  ASSERT_TRUE(bytes) << error;
  EXPECT_EQ(Hex(*bytes), kImage);
}

}  // namespace
}  // namespace kro::mv
