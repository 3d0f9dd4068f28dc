#include "runtime/base/FileIo_win.h"

#include <gtest/gtest.h>

#include "tests/support/Files_win.h"

namespace kro {
namespace {

TEST(FileIo, ReplaceThenReadBack) {
  const wintest::TemporaryFolder folder;
  const std::string path = folder / "fileio_test.bin";
  const std::vector<uint8_t> first = {1, 2, 3}, second = {9};
  ASSERT_TRUE(ReplaceFileContents(path, first));
  EXPECT_EQ(ReadWholeFile(path), first);
  ASSERT_TRUE(ReplaceFileContents(path, second));  // an existing file is replaced whole
  EXPECT_EQ(ReadWholeFile(path), second);
  EXPECT_FALSE(FileExists(path + ".new"));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path, 0), std::nullopt);  // larger than allowed
  DeleteFileA(path.c_str());
  EXPECT_EQ(ReadWholeFile(path), std::nullopt);
  EXPECT_FALSE(FileExists("."));  // a directory is no file
}

TEST(FileIo, FailedWriteLeavesTheOldFile) {
  const wintest::TemporaryFolder folder;
  const std::string path = folder / "fileio_keep.bin";
  ASSERT_TRUE(ReplaceFileContents(path, std::vector<uint8_t>{7}));
  EXPECT_FALSE(ReplaceFileContents("Z:\\no\\such\\dir\\file", std::vector<uint8_t>{1}));
  EXPECT_EQ(ReadWholeFile(path), (std::vector<uint8_t>{7}));
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace kro
