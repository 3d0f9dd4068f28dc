// typography_title OUT.m14: writes the title the display's screenshots and benchmark read:
// a justified article with a heading, links, a popup, an inline picture and a list; a
// 50 KB article; a popup; a topic with only a heading. The picture is drawn here (a BMP of
// a river landscape), so nothing binary lives in the tree. Narrow literals are cp1251
// (the build's execution character set).
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/TitleWriter.h"

namespace {

using kro::mv::CharFormat;
using kro::mv::ParagraphFormat;
using kro::mv::RichTextWriter;

constexpr uint32_t kInk = 0x1E1E1E;
constexpr uint32_t kHeadingInk = 0x442A1F;  // navy #1F2A44 as 0x00BBGGRR
constexpr uint32_t kLinkInk = 0x2E6B1E;

const char* const kParagraphs[] = {
    "Волга — крупнейшая река Европы и одна из величайших рек России. Она берёт начало на Валдайской "
    "возвышенности из небольшого родника у деревни Волговерховье и несёт свои воды к Каспийскому морю, "
    "пересекая всю Восточно-Европейскую равнину.",
    "Длина Волги около трёх тысяч пятисот тридцати километров, а площадь её бассейна превышает миллион "
    "триста тысяч квадратных километров. Питание реки преимущественно снеговое: весеннее половодье "
    "приносит до двух третей годового стока, и в низовьях широкая пойма на многие недели покрывается водой.",
    "На берегах Волги стоят древние города — Тверь, Ярославль, Кострома, Нижний Новгород, Казань, "
    "Самара, Саратов, Волгоград и Астрахань. Веками река служила главной торговой дорогой страны: по ней "
    "шли караваны судов с хлебом, солью, рыбой и лесом, а бурлацкие артели тянули баржи против течения.",
    "В двадцатом столетии на Волге построили каскад гидроэлектростанций, и река превратилась в цепь "
    "водохранилищ. Это изменило её облик и жизнь её обитателей, но сделало судоходство возможным на всём "
    "протяжении от Твери до Астрахани.",
};

void Body(RichTextWriter& w, const CharFormat& base, int paragraphs) {
  ParagraphFormat p;
  p.align = kro::mv::Align::Justify;
  p.firstIndent = 567;  // one centimetre, as in a printed book
  p.spaceAfter = 60;
  for (int i = 0; i < paragraphs; ++i) {
    w.Paragraph(p);
    w.Format(base);
    const std::string text = std::string(kParagraphs[i % 4]);
    if (i % 4 == 0) {
      CharFormat bold = base;
      bold.style = kro::mv::kBold;
      w.Format(bold);
      w.Text(text.substr(0, 5));
      w.Format(base);
      w.Text(text.substr(5));
    } else {
      w.Text(text);
    }
  }
}

std::vector<uint8_t> Heading(const char* utf8) {
  RichTextWriter w;
  ParagraphFormat p;
  p.align = kro::mv::Align::Centre;
  p.spaceBefore = 120;
  p.spaceAfter = 120;
  w.Paragraph(p);
  w.Format(CharFormat{0, 36, kro::mv::kBold, kHeadingInk});
  w.Text(std::string(utf8));
  return w.TakeBytes();
}

std::vector<uint8_t> Article() {
  RichTextWriter w;
  const CharFormat base{0, 24, 0, kInk};
  Body(w, base, 2);
  ParagraphFormat p;
  p.align = kro::mv::Align::Justify;
  p.firstIndent = 567;
  p.spaceAfter = 60;
  w.Paragraph(p);
  w.Format(base);
  w.Text(std::string("Впадая в "));
  CharFormat link = base;
  link.colour = kLinkInk;
  link.style = kro::mv::kUnderline;
  w.BeginLink(kro::mv::HotspotKind::Jump, kro::mv::ContextHash("topic_caspian"), "topic_caspian");
  w.Format(link);
  w.Text(std::string("Каспийское море"));
  w.EndLink();
  w.Format(base);
  w.Text(std::string(", Волга образует обширную "));
  link.style = 0;
  w.BeginLink(kro::mv::HotspotKind::Popup, kro::mv::ContextHash("pop_delta"), "pop_delta");
  w.Format(link);
  w.Text(std::string("дельту"));
  w.EndLink();
  w.Format(base);
  w.Text(std::string(" — около пятисот рукавов, проток и ериков, где гнездятся цапли и цветёт "));
  CharFormat italic = base;
  italic.style = kro::mv::kItalic;
  w.Format(italic);
  w.Text(std::string("лотос орехоносный"));
  w.Format(base);
  w.Text(std::string("."));
  ParagraphFormat centred;
  centred.align = kro::mv::Align::Centre;
  centred.spaceBefore = 120;
  centred.spaceAfter = 120;
  w.Paragraph(centred);
  w.Picture("river.bmp", std::string("Волга у Жигулей"));
  Body(w, base, 2);
  ParagraphFormat item;
  item.leftIndent = 720;
  item.firstIndent = -360;
  for (const char* text : {"• исток — Валдайская возвышенность;", "• устье — Каспийское море."}) {
    w.Paragraph(item);
    w.Format(base);
    w.Text(std::string(text));
  }
  return w.TakeBytes();
}

std::vector<uint8_t> LongArticle() {
  RichTextWriter w;
  const CharFormat base{0, 24, 0, kInk};
  int chapter = 0;
  while (true) {
    ParagraphFormat h;
    h.spaceBefore = 240;
    h.spaceAfter = 120;
    w.Paragraph(h);
    w.Format(CharFormat{0, 28, kro::mv::kBold, kHeadingInk});
    w.Text(std::string("Глава ") + std::to_string(++chapter));
    Body(w, base, 8);
    if (chapter == 25) break;  // a little over 50 KB of text
  }
  return w.TakeBytes();
}

std::vector<uint8_t> PlainBody(const char* utf8) {
  RichTextWriter w;
  w.Paragraph(ParagraphFormat{});
  w.Format(CharFormat{0, 24, 0, kInk});
  w.Text(std::string(utf8));
  return w.TakeBytes();
}

// A 24-bit bottom-up BMP: sky, hills and a river winding through a plain.
std::vector<uint8_t> RiverPicture(int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> bmp(54 + stride * height);
  const auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  for (int y = 0; y < height; ++y) {
    const int row = height - 1 - y;  // top-down y
    for (int x = 0; x < width; ++x) {
      const double hills = height * 0.45 + 10 * std::sin(x * 0.03) + 6 * std::sin(x * 0.071 + 1);
      const double river = height * 0.72 + 9 * std::sin(x * 0.025 + 0.5);
      int r, g, b;
      if (row < hills) {
        const double t = row / hills;
        r = static_cast<int>(170 + 60 * t), g = static_cast<int>(200 + 40 * t), b = static_cast<int>(235 - 5 * t);
      } else if (std::abs(row - river) < 5 + x * 0.02) {
        r = 70, g = 110, b = 160;
      } else {
        const double t = (row - hills) / (height - hills);
        r = static_cast<int>(90 + 40 * t), g = static_cast<int>(120 + 30 * t), b = static_cast<int>(60 + 20 * t);
      }
      uint8_t* px = &bmp[54 + y * stride + x * 3];
      px[0] = static_cast<uint8_t>(b);
      px[1] = static_cast<uint8_t>(g);
      px[2] = static_cast<uint8_t>(r);
    }
  }
  return bmp;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: typography_title OUT.m14\n");
    return 2;
  }
  kro::mv::TitleSource source;
  source.fonts = {{"PT Serif"}, {"PT Sans"}};
  source.topics.resize(5);
  source.topics[0] = {std::string("Волга"), "topic_volga", std::nullopt, Heading("Волга"), Article()};
  source.topics[1] = {std::string("Великая река"), "topic_long", std::nullopt, Heading("Великая река"), LongArticle()};
  source.topics[2] = {std::string("Каспийское море"), "topic_caspian", std::nullopt, Heading("Каспийское море"), {}};
  source.topics[3] = {std::nullopt, "pop_delta", std::nullopt, {},
                      PlainBody("Дельта — низовье реки, разделённое на множество рукавов.")};
  source.topics[4] = {std::string("Ёлка"), "topic_yolka", std::nullopt, {}, PlainBody("Текст без заголовка.")};
  source.articleCount = 3;
  source.contentsTopic = 0;
  source.baggage["river.bmp"] = RiverPicture(360, 180);
  std::string error;
  const auto bytes = kro::mv::WriteTitle(source, &error);
  if (!bytes) {
    std::fprintf(stderr, "typography_title: %s\n", error.c_str());
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  return out ? 0 : 1;
}
