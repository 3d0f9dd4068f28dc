#include <gtest/gtest.h>

#include "runtime/mediaview/core/Title.h"
#include "tools/titlec/Compiler.h"

namespace kro::titlec {
namespace {

// Authoring sources are UTF-8, while this file's plain literals are cp1251.
std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }
std::string Topic(std::u8string_view front, std::u8string_view body = u8"") { return "---\n" + U8(front) + "---\n" + U8(body); }

std::unique_ptr<mv::Title> Open(const std::vector<uint8_t>& bytes) {
  auto title = mv::Title::Open(bytes, {});
  EXPECT_TRUE(title) << title.error().ToString();
  return std::move(title).value_or(nullptr);
}

TEST(Compiler, EveryAuthoringErrorIsReportedWithFileAndLine) {
  MemoryFolder folder;
  folder.Put("manifest.txt", "contents: topic_a\nlist 107 += topic_a, topic_gone\nbogus: 1\n");
  folder.Put("articles/a.md", Topic(u8"context: topic_a\ntitle: Альфа \xF0\x9F\x98\x80\n"));
  folder.Put("articles/b.md", Topic(u8"context: topic_b\ntitle: Бета\n", u8"# Бета\n\nСм. [там](#topic_nowhere).\n\n![x](pic.jpg)\n\n"
                                                                   u8"![d](window:Cls@0x5)\n\n![d](window:Cls)\n"));
  folder.Put("articles/c.md", Topic(u8"context: TOPIC_A\ntitle: Гамма\ncolour: red\n"));
  folder.Put("articles/d.md", Topic(u8"context: topic_d\ntitle: БЕТА\npict: bad name.jpg | Подпись\n"));
  folder.Put("articles/e.md", "no front matter\n");
  Diagnostics diags;
  EXPECT_FALSE(Compile(folder, {}, &diags));
  const std::string report = diags.Report();
  for (const char* expected : {
           "articles/a.md:3: character U+1F600 cannot be written in code page 1251",
           "articles/b.md:7: link to a missing context string 'topic_nowhere'",
           "articles/b.md:9: image 'pic.jpg' is not a baggage file",
           "articles/b.md:11: an embedded window is 1 to 2048 pixels each way",
           "articles/b.md:13: an embedded window is written ![data](window:Class@WIDTHxHEIGHT)",
           "articles/c.md:2: context string 'TOPIC_A' already used by articles/a.md",
           "articles/c.md:4: unknown front-matter key 'colour'",
           "articles/d.md:3: title '",
           "articles/d.md:4: media file name must hold",
           "articles/e.md:1: a topic file starts with front matter",
           "manifest.txt:2: stored list 107 names a missing topic 'topic_gone'",
           "manifest.txt:3: unknown manifest key 'bogus'",
       })
    EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n---\n" << report;
}

// The media-link parser of the reader, step by step, to check that what titlec writes
// reads back whole.
struct MediaLinks {
  std::vector<std::pair<std::string, std::string>> pictures;
  std::vector<std::string> portraits;
  std::string movie, movieCaption, map, sound;
};

MediaLinks ParseLikeTheReader(const std::string& data) {
  MediaLinks m;
  size_t i = 0;
  while (i < data.size()) {
    ++i;  // the '['
    const size_t end = std::min(data.find('[', i), data.size());
    const std::string section = data.substr(i, end - i);
    i = end;
    const size_t close = section.find(']');
    const std::string keyword = section.substr(0, close);
    const std::string body = section.substr(close + 2);
    size_t p = 0;
    if (keyword == "PICT") {
      while (p < body.size()) {
        const size_t space = body.find(' ', p);
        const std::string name = body.substr(p, space - p);
        const size_t closeBrace = body.find('}', space);
        m.pictures.push_back({name, body.substr(space + 2, closeBrace - space - 2)});
        if (closeBrace + 4 < body.size() + 1 && body.compare(closeBrace + 1, 1, ";") == 0 && closeBrace + 4 < body.size()) p = closeBrace + 3;
        else break;
      }
    } else if (keyword == "PORT") {
      while (p < body.size()) {
        const size_t semi = std::min(body.find(';', p), body.size());
        m.portraits.push_back(body.substr(p, semi - p));
        if (semi < body.size() && semi + 3 < body.size() + 1) p = body.find_first_not_of(' ', semi + 1);
        else break;
      }
    } else if (keyword == "MOVE") {
      const size_t space = body.find(' ');
      m.movie = body.substr(0, space);
      m.movieCaption = body.substr(space + 2, body.find('}') - space - 2);
    } else if (keyword == "MAPS") {
      m.map = body.substr(0, body.find(';'));
    } else if (keyword == "WAVE") {
      std::string s = body.substr(body[0] == '!' ? 1 : 0);
      s = s.substr(0, s.find(';'));
      if (!s.empty() && s.back() == '>') s.pop_back();
      m.sound = s;
    }
  }
  return m;
}

TEST(Compiler, DataStringsReadBackWhole) {
  MemoryFolder folder;
  folder.Put("articles/a.md", Topic(u8"context: topic_a\ntitle: Альфа\npict: a1.jpg | Первая; с точкой с запятой\n"
                                    u8"pict: a2.jpg |\npict: a3.jpg | Третья\nport: p1.jpg\nport: p2.jpg\n"
                                    u8"move: a.mov | Фильм\nmaps: map_a\nwave: snd_a\n"));
  folder.Put("popups/map.md", Topic(u8"context: map_a\nkind: popup\n"));
  folder.Put("popups/snd.md", Topic(u8"context: snd_a\nkind: popup\n"));
  Diagnostics diags;
  const auto result = Compile(folder, {}, &diags);
  ASSERT_TRUE(result) << diags.Report();
  const auto title = Open(result->title);
  const auto data = title->TopicData(0);
  ASSERT_TRUE(data);
  const MediaLinks m = ParseLikeTheReader(std::string(*data));
  ASSERT_EQ(m.pictures.size(), 3u) << *data;
  EXPECT_EQ(m.pictures[0], (std::pair<std::string, std::string>{"a1.jpg", "Первая; с точкой с запятой"}));
  EXPECT_EQ(m.pictures[1], (std::pair<std::string, std::string>{"a2.jpg", ""}));
  EXPECT_EQ(m.pictures[2], (std::pair<std::string, std::string>{"a3.jpg", "Третья"}));
  EXPECT_EQ(m.portraits, (std::vector<std::string>{"p1.jpg", "p2.jpg"}));
  EXPECT_EQ(m.movie, "a.mov");
  EXPECT_EQ(m.movieCaption, "Фильм");
  EXPECT_EQ(m.map, "map_a");
  EXPECT_EQ(m.sound, "snd_a");
}

TEST(Compiler, EmbeddedWindowsReachTheBodyRegion) {
  MemoryFolder folder;
  folder.Put("articles/a.md", Topic(u8"context: topic_a\ntitle: Альфа\nwave: snd_a\n"));
  folder.Put("popups/snd.md", Topic(u8"context: snd_a\nkind: popup\n",
                                    u8"# Звук\n\nСлушайте: ![sounds\\a.mov](window:SoundClass@320x26)\n"));
  Diagnostics diags;
  const auto result = Compile(folder, {}, &diags);
  ASSERT_TRUE(result) << diags.Report();
  const auto title = Open(result->title);
  const uint32_t topic = title->TopicByContext("snd_a");
  ASSERT_NE(topic, mv::kNone);
  const auto region = title->DecodeRegion(topic, mv::RegionIndex::Body);
  ASSERT_TRUE(region);
  ASSERT_EQ(region->runs.size(), 2u);
  const mv::Run& window = region->runs[1];
  EXPECT_EQ(window.kind, mv::RunKind::Window);
  EXPECT_EQ(window.text, "SoundClass");
  EXPECT_EQ(window.alt, "sounds\\a.mov");
  EXPECT_EQ(window.boxWidth, 320);
  EXPECT_EQ(window.boxHeight, 26);
}

TEST(Compiler, MediaLinksBeyondTheReadersBuffersAreErrors) {
  MemoryFolder folder;
  std::string front = U8(u8"context: topic_a\ntitle: Альфа\n");
  for (int i = 0; i < 40; ++i) front += "pict: picture" + std::to_string(i) + U8(u8".jpg | Подпись к картинке\n");
  front += "move: a.mov | " + std::string(300, 'x') + "\nwave: missing_sound\n";
  folder.Put("articles/a.md", "---\n" + front + "---\n");
  Diagnostics diags;
  EXPECT_FALSE(Compile(folder, {}, &diags));
  const std::string report = diags.Report();
  EXPECT_NE(report.find("articles/a.md:4: [PICT] section is"), std::string::npos) << report;
  EXPECT_NE(report.find("articles/a.md:44: movie caption longer than 255"), std::string::npos) << report;
  EXPECT_NE(report.find("articles/a.md:45: link to a missing context string 'missing_sound'"), std::string::npos) << report;
}

TEST(Compiler, FullTextIndexerSeesEveryRegionsPlainText) {
  MemoryFolder folder;
  folder.Put("articles/a.md", Topic(u8"context: topic_a\ntitle: Альфа\n", u8"# Альфа\n\nПервый *абзац*.\n\nВторой.\n"));
  folder.Put("articles/p.md", Topic(u8"context: pop\nkind: popup\n", u8"Всплывающий текст.\n"));
  std::vector<RegionText> seen;
  CompileOptions options;
  options.indexer = [&](std::span<const RegionText> texts) {
    seen.assign(texts.begin(), texts.end());
    return std::vector<uint8_t>{'F', 'T', 'I'};
  };
  Diagnostics diags;
  const auto result = Compile(folder, options, &diags);
  ASSERT_TRUE(result) << diags.Report();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].text, "Альфа");
  EXPECT_EQ(seen[1].text, "Первый абзац.\nВторой.");
  EXPECT_EQ(seen[2].topic, 1u);
  EXPECT_EQ(seen[2].region, mv::RegionIndex::Body);
  const auto title = Open(result->title);
  const auto section = title->Section(mv::SectionKind::FullTextIndex);
  ASSERT_TRUE(section);
  EXPECT_EQ(std::string(section->begin(), section->end()), "FTI");
}

}  // namespace
}  // namespace kro::titlec
