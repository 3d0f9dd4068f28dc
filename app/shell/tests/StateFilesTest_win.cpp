// The state files as the program itself writes them, compared with the fixed images that
// the native build's model writes: the files are the same whichever build wrote them.
#include <gtest/gtest.h>

#include "app/navigation/tests/StateFileImages.h"
#include "app/shell/NavigationState_win.h"
#include "app/shell/Program_win.h"
#include "runtime/base/FileIo_win.h"
#include "tests/support/Files_win.h"

namespace kro::shell {
namespace {

class StateFilesOnDisk : public testing::Test {
protected:
  void SetUp() override { TheProgram().workingDir = dir_.Path(); }
  void TearDown() override { History().Clear(); }

  std::string Path(const char* name) const { return dir_ / name; }
  std::vector<uint8_t> Read(const char* name) const { return ReadWholeFile(Path(name)).value_or(std::vector<uint8_t>{}); }
  void Write(const char* name, const std::vector<uint8_t>& bytes) const { ASSERT_TRUE(ReplaceFileContents(Path(name), bytes)); }

  wintest::TemporaryFolder dir_;
};

TEST_F(StateFilesOnDisk, BookmarksComeBackAsTheFixedImage) {
  Write("bookmark.tmp", navigation::images::BookmarkFile());
  LoadBookmarks();
  ASSERT_TRUE(DeleteFileA(Path("bookmark.tmp").c_str()));
  SaveBookmarks();
  EXPECT_EQ(Read("bookmark.tmp"), navigation::images::BookmarkFile());
}

TEST_F(StateFilesOnDisk, TheLastPositionIsWrittenAsTheFixedImage) {
  const navigation::HistoryEntry& last = navigation::images::kLastPosition;
  navigation::Position position;
  position.address = last.address;
  position.scroll = last.scroll;
  position.topicNumber = last.nameOrNumber;
  History().Record(position);
  SaveLastPosition();
  EXPECT_EQ(Read("last.tmp"), navigation::images::kLastPositionFile);
}

}  // namespace
}  // namespace kro::shell
