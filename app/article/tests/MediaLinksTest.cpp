#include "app/article/MediaLinks.h"

#include <gtest/gtest.h>

namespace kro::article {
namespace {

constexpr std::string_view kDir = "D:\\KRO\\";

TEST(MediaLinks, PicturesGetSlidesThumbnailsAndCaptions) {
  const auto links = ParseMediaLinks("[PICT] a.jpg {Caption one}; b.jpg {Caption two}", kDir, "v");
  ASSERT_EQ(links.pictures.size(), 2u);
  EXPECT_EQ(links.pictures[0].slidePath, "D:\\KRO\\pictures\\v\\slides\\a.jpg");
  EXPECT_EQ(links.pictures[0].thumbnailPath, "D:\\KRO\\pictures\\v\\icons\\ai.jpg");
  EXPECT_EQ(links.pictures[0].caption, "Caption one");
  EXPECT_EQ(links.pictures[1].thumbnailPath, "D:\\KRO\\pictures\\v\\icons\\bi.jpg");
  EXPECT_EQ(links.pictures[1].caption, "Caption two");
  EXPECT_EQ(links.dataErrors, 0);
}

TEST(MediaLinks, PortraitsShowTheirOwnFile) {
  const auto links = ParseMediaLinks("[PORT] p1.jpg; p2.jpg", kDir, "p");
  ASSERT_EQ(links.pictures.size(), 2u);
  EXPECT_EQ(links.pictures[0].kind, PictureKind::kPortrait);
  EXPECT_EQ(links.pictures[0].thumbnailPath, "D:\\KRO\\pictures\\p\\portrait\\p1.jpg");
  EXPECT_EQ(links.pictures[1].thumbnailPath, "D:\\KRO\\pictures\\p\\portrait\\p2.jpg");
  EXPECT_TRUE(links.pictures[1].slidePath.empty());
}

TEST(MediaLinks, AllSectionsTogether) {
  const auto links = ParseMediaLinks(
      "[PICT] volga1.jpg {Волга у Ярославля}[PORT] pkarpov.jpg[MOVE] volga.mov {Весна на Волге}"
      "[MAPS] map_volga;[WAVE] !snd_volga>;[JUNK] skipped",
      kDir, "v");
  ASSERT_EQ(links.pictures.size(), 2u);
  EXPECT_EQ(links.pictures[0].caption, "Волга у Ярославля");
  EXPECT_EQ(links.pictures[1].kind, PictureKind::kPortrait);
  EXPECT_EQ(links.moviePath, "D:\\KRO\\movies\\volga.mov");
  EXPECT_EQ(links.movieCaption, "Весна на Волге");
  EXPECT_EQ(links.mapName, "map_volga");
  EXPECT_EQ(links.soundName, "snd_volga");
  EXPECT_TRUE(links.Any());
}

TEST(MediaLinks, EdgesOfTheItemLists) {
  EXPECT_EQ(ParseMediaLinks("[WAVE] !sound1>;", kDir, "a").soundName, "sound1");
  EXPECT_EQ(ParseMediaLinks("[WAVE] sound2", kDir, "a").soundName, "sound2");
  const auto trailing = ParseMediaLinks("[PICT] a.jpg {One}; ", kDir, "a");
  EXPECT_EQ(trailing.pictures.size(), 1u);  // nothing after "}; " ends the list quietly
  EXPECT_EQ(trailing.dataErrors, 0);
  EXPECT_FALSE(ParseMediaLinks("", kDir, "a").Any());
  EXPECT_FALSE(ParseMediaLinks("[PICT", kDir, "a").Any());
  EXPECT_FALSE(ParseMediaLinks("[PICT]", kDir, "a").Any());
}

// An item without a name: its empty record stays only as the first of the list, and every
// keyword that meets one reports it once.
TEST(MediaLinks, NamelessItems) {
  const auto first = ParseMediaLinks("[PICT]  {no name}[MAPS] m;", kDir, "a");
  EXPECT_EQ(first.dataErrors, 1);
  ASSERT_EQ(first.pictures.size(), 1u);
  EXPECT_EQ(first.pictures[0], PictureRecord{});
  EXPECT_EQ(first.mapName, "m");  // the other sections still count
  const auto portrait = ParseMediaLinks("[PORT] ; p2.jpg", kDir, "a");
  EXPECT_EQ(portrait.dataErrors, 1);
  EXPECT_EQ(portrait.pictures.size(), 1u);
  EXPECT_TRUE(portrait.pictures[0].thumbnailPath.empty());
  const auto later = ParseMediaLinks("[PICT] a.jpg {One}; b.jpg {Two}[PORT] ;[PICT]  {x}", kDir, "a");
  EXPECT_EQ(later.dataErrors, 2);
  ASSERT_EQ(later.pictures.size(), 2u);
  EXPECT_EQ(later.pictures[1].caption, "Two");
}

TEST(MediaLinks, LongItemsAreCut) {
  const std::string caption(800, 'c');
  const auto links = ParseMediaLinks("[PICT] a.jpg {" + caption + "}", kDir, "a");
  ASSERT_EQ(links.pictures.size(), 1u);
  EXPECT_EQ(links.pictures[0].caption.size(), kMaxPictureCaption);
  const auto movie = ParseMediaLinks("[MOVE] m.mov {" + caption + "}", kDir, "a");
  EXPECT_EQ(movie.movieCaption.size(), kMaxMovieCaption);
  // A section longer than 1023 characters loses its tail, here the whole caption's end.
  const auto section = ParseMediaLinks("[PICT] a.jpg {" + std::string(2000, 'x') + "}", kDir, "a");
  EXPECT_EQ(section.pictures[0].caption.size(), kMaxPictureCaption);
}

TEST(MediaLinks, ThumbnailAndLetterNames) {
  EXPECT_EQ(ThumbnailName("abc.jpg"), "abci.jpg");
  EXPECT_EQ(ThumbnailName("a.b.jpg"), "ai.b.jpg");
  EXPECT_EQ(ThumbnailName("noext"), "noexti");
  EXPECT_EQ(LetterPicturePath(kDir, "ja"), "D:\\KRO\\letters\\ja.jpg");
}

}  // namespace
}  // namespace kro::article
