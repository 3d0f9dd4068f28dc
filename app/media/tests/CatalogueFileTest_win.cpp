// Open catalogues over plain files, as the archive reads them; the reader's baggage store
// answers the same interface and is driven through the galleries' tests.
#include "app/media/CatalogueFile_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Files_win.h"

namespace kro::media {
namespace {

std::vector<std::string> gMessages;
int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR caption, UINT) {
  gMessages.push_back(std::string(caption) + ": " + text);
  return IDOK;
}

class CatalogueFileTest : public testing::Test {
protected:
  void SetUp() override {
    gMessages.clear();
    SetCatalogueMessageBox(RecordMessage);
  }
  void TearDown() override { SetCatalogueMessageBox(nullptr); }
  void Write(const char* name, const std::string& text) { ASSERT_TRUE(wintest::WriteTextFile(folder_ / name, text)); }
  wintest::TemporaryFolder folder_;
  FolderStore store_{folder_.Path() + "\\"};
};

TEST_F(CatalogueFileTest, FieldsAreReadAgainFromTheOpenFile) {
  Write("video.dat", "Волга;topic_volga;volga.mov\r\nБайкал;topic_baikal;baikal.mov\r\n");
  auto catalogue = LoadCatalogue(store_, "video.dat", kArchiveCapacityBytes);
  ASSERT_TRUE(catalogue);
  ASSERT_EQ(catalogue->Count(), 2);
  EXPECT_EQ(catalogue->Title(1), "Байкал");
  EXPECT_EQ(catalogue->Field(0, CatalogueField::kSecond, kMaxCatalogueField), "topic_volga");
  EXPECT_EQ(catalogue->Field(1, CatalogueField::kThird, 4), "baik");
  EXPECT_EQ(catalogue->Field(2, CatalogueField::kTitle, 63), "");
  EXPECT_EQ(catalogue->Field(-1, CatalogueField::kTitle, 63), "");
  EXPECT_TRUE(gMessages.empty());
}

TEST_F(CatalogueFileTest, TheListGetsTitlesCutToItsBuffer) {
  Write("maps.dat", std::string(100, 'x') + ";a;b\r\nКарта;c;d\r\n");
  auto catalogue = LoadCatalogue(store_, "maps.dat", kGalleryCapacityBytes);
  ASSERT_TRUE(catalogue);
  HWND list = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  catalogue->FillListBox(list);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), static_cast<LRESULT>(kMaxListTitle));
  char text[64];
  SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Карта");
  DestroyWindow(list);
}

TEST_F(CatalogueFileTest, TheRecordsStopAtTheirCapacity) {
  std::string text;
  for (int i = 0; i < 450; ++i) text += "Entry" + std::to_string(i) + ";c;f\r\n";
  Write("video.dat", text);
  auto catalogue = LoadCatalogue(store_, "video.dat", kArchiveCapacityBytes);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->Count(), 400);
  EXPECT_EQ(catalogue->Title(399), "Entry399");
}

TEST_F(CatalogueFileTest, OnlyTheIllustrationsGetTheLetterIndex) {
  const std::string text = "Азов;a;azov_1\r\n«Аврора»;b;avrora_1\r\nБор;c;bor_1\r\n";
  Write("slides.dat", text);
  Write("sound.dat", text);
  auto slides = LoadCatalogue(store_, "slides.dat", kSlidesCapacityBytes);
  auto sound = LoadCatalogue(store_, "sound.dat", kGalleryCapacityBytes);
  ASSERT_TRUE(slides && sound);
  EXPECT_EQ(slides->Index().letterFirst[0], 0);
  EXPECT_EQ(slides->Index().letterFirst[1], 2);
  EXPECT_EQ(slides->Index().letterRuns[0], 2);  // « before А is filed under А
  EXPECT_EQ(sound->Index().letterFirst[1], -1);
  EXPECT_EQ(sound->Count(), 3);  // each catalogue keeps its own count
}

TEST_F(CatalogueFileTest, AMissingCatalogueSaysSo) {
  EXPECT_FALSE(LoadCatalogue(store_, "video.dat", kArchiveCapacityBytes));
  EXPECT_EQ(gMessages, std::vector<std::string>{"Ошибка: Не могу открыть файл с данными!"});
}

TEST_F(CatalogueFileTest, CaptionsAreLookedUpByKeyWithOrWithoutTheSuffix) {
  Write("volga_capt.txt", "volga_1\tИсток Волги\r\nno tab here\r\nvolga_2\tДельта\r\nvolga_2\tВторая\r\n");
  Write("videocap.txt", std::string("volga.mov\t") + std::string(300, 'c') + "\r\n");
  EXPECT_EQ(LookUpCaption(store_, "volga", "volga_2", true), "Дельта");
  EXPECT_EQ(LookUpCaption(store_, "volga", "no tab here", true), "");
  EXPECT_EQ(LookUpCaption(store_, "volga", "volga_9", true), "");
  EXPECT_EQ(LookUpCaption(store_, "oka", "oka_1", true), "");
  EXPECT_EQ(LookUpCaption(store_, "videocap.txt", "volga.mov", false).size(), kMaxCaption);
  EXPECT_TRUE(gMessages.empty());  // a missing caption file is no error
}

}  // namespace
}  // namespace kro::media
