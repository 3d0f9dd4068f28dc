#include "app/media/SlideIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/base/Cp1251.h"

namespace kro::media {
namespace {

std::string W(const char8_t* utf8) { return *Utf8ToCp1251(reinterpret_cast<const char*>(utf8)); }

TEST(SlideIndex, PictureFoldersFollowTheNames) {
  const struct {
    const char* name;
    const char* folder;
  } cases[] = {
      {"pivanov1", "ivanov"}, {"abc_01", "abc"},      {"yakov_1", "jakov"},   {"yug_2", "iug"},
      {"p_1", "p"},           {"p1", "p"},            {"p", "p"},             {"perm_2", "erm"},
      {"volga", "volga"},     {"verylongname_1", "verylongn"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFolder(c.name), c.folder) << c.name;
}

TEST(SlideIndex, PortraitsAreAPFollowedByALetter) {
  EXPECT_TRUE(IsPortraitName("pivanov1"));
  EXPECT_FALSE(IsPortraitName("p_1"));
  EXPECT_FALSE(IsPortraitName("p1"));
  EXPECT_FALSE(IsPortraitName("abc"));
  EXPECT_FALSE(IsPortraitName("p"));
  EXPECT_FALSE(IsPortraitName(std::string("p\xE0")));  // a Cyrillic byte counts as below '9'
}

TEST(SlideIndex, PictureListFromTheThirdField) {
  const auto list = BuildPictureList("pivanov1,ivanov_2,,ivanov_3", "Иванов", "D:\\",
                                     [](const std::string& folder, const std::string& name) { return folder + "/" + name; });
  ASSERT_EQ(list.size(), 2u);  // an empty name ends the list
  EXPECT_EQ(list[0].kind, article::PictureKind::kPortrait);
  EXPECT_EQ(list[0].thumbnailPath, "D:\\pictures\\ivanov\\portrait\\pivanov1.jpg");
  EXPECT_EQ(list[0].slidePath, "");
  EXPECT_EQ(list[0].caption, "");
  EXPECT_EQ(list[1].kind, article::PictureKind::kPicture);
  EXPECT_EQ(list[1].slidePath, "D:\\pictures\\ivanov\\slides\\ivanov_2.jpg");
  EXPECT_EQ(list[1].thumbnailPath, "D:\\pictures\\ivanov\\icons\\ivanov_2i.jpg");
  EXPECT_EQ(list[1].caption, "ivanov/ivanov_2");
  EXPECT_EQ(list[1].popupTitle, "Иванов");
  EXPECT_TRUE(BuildPictureList("", "x", "D:\\", nullptr).empty());
}

TEST(SlideIndex, TypedTextIsCapitalised) {
  EXPECT_EQ(NormaliseTyped(W(u8"бор")), W(u8"Бор"));
  EXPECT_EQ(NormaliseTyped(W(u8"бОР")), W(u8"Бор"));
  EXPECT_EQ(NormaliseTyped(W(u8"Бор")), W(u8"Бор"));
  EXPECT_EQ(NormaliseTyped("abc"), "abc");  // only a Cyrillic first letter changes anything
  EXPECT_EQ(NormaliseTyped(""), "");
}

TEST(SlideIndex, TypedTextMatchesTheTitlesItBegins) {
  EXPECT_EQ(CompareTyped(W(u8"Бор"), W(u8"Бородино")), TypedOrder::kMatches);
  EXPECT_EQ(CompareTyped(W(u8"бор"), W(u8"БОРОДИНО")), TypedOrder::kMatches);
  EXPECT_EQ(CompareTyped(W(u8"Бор"), W(u8"Бобр")), TypedOrder::kAfter);
  EXPECT_EQ(CompareTyped(W(u8"Бор"), W(u8"Бук")), TypedOrder::kBefore);
  EXPECT_EQ(CompareTyped(W(u8"Бородино"), W(u8"Бор")), TypedOrder::kAfter);  // past the title's end
}

// A small "slides.dat" with its letter index, as the loader builds it.
class TypeAhead : public testing::Test {
protected:
  void SetUp() override {
    for (const char8_t* t : {u8"Азов", u8"Алтай", u8"«Аврора»", u8"Байкал", u8"Бор", u8"Бородино", u8"Борщевик", u8"Брянск",
                             u8"Волга", u8"Вятка", u8"Ёлка"}) {
      titles.push_back(W(t));
      text += titles.back() + ";ctx;pic\r\n";
    }
    auto parsed = ParseCatalogue({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, 600, true);
    catalogue = std::move(parsed).Recovered();
  }
  int Find(const char8_t* typed) const {
    return FindTyped(NormaliseTyped(W(typed)), catalogue, [this](int i) { return titles.at(i); });
  }
  std::vector<std::string> titles;
  std::string text;
  Catalogue catalogue;
};

TEST_F(TypeAhead, SelectsTheFirstTitleThatBeginsWithTheText) {
  EXPECT_EQ(Find(u8"бор"), 4);
  EXPECT_EQ(Find(u8"БОРО"), 5);
  EXPECT_EQ(Find(u8"бай"), 3);
  EXPECT_EQ(Find(u8"в"), 8);
  EXPECT_EQ(Find(u8"Вят"), 9);
}

TEST_F(TypeAhead, TextPastEveryTitleOfItsLetterSelectsTheLastOneBeforeTheNextLetter) {
  EXPECT_EQ(Find(u8"Бю"), 7);
  EXPECT_EQ(Find(u8"Ая"), 2);  // «Аврора» is filed under А
  EXPECT_EQ(Find(u8"Вя"), 9);
  EXPECT_EQ(Find(u8"Вяя"), 10);  // past every title: the walk ends on the last entry
}

TEST_F(TypeAhead, TextBetweenTitlesSelectsTheOneBefore) {
  EXPECT_EQ(Find(u8"Бок"), 3);
  EXPECT_EQ(Find(u8"Бос"), 6);
}

TEST_F(TypeAhead, TextWithoutAnEntryForItsLetterSelectsTheFirst) {
  EXPECT_EQ(Find(u8"Ж"), 0);
  EXPECT_EQ(Find(u8"abc"), 0);
  EXPECT_EQ(Find(u8"9"), 0);
}

}  // namespace
}  // namespace kro::media
