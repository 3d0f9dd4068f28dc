// QTIM32.DLL's handles through its dispatcher: a closed, foreign or pre-ExitMovies handle
// is refused, never taken for the object that got its number since.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <string>

#include "runtime/quicktime/QtDispatch.h"

namespace kro::qt {
namespace {

class MovieLibrary : public testing::Test {
protected:
  void SetUp() override {
    library_ = LoadLibraryA("QTIM32.DLL");
    ASSERT_NE(library_, nullptr);
    entry_ = reinterpret_cast<QtDispatcher>(reinterpret_cast<void*>(GetProcAddress(library_, "_EntryPoint")));
    ASSERT_NE(entry_, nullptr);
    ASSERT_EQ(Call(kSelEnterMovies), kErrNone);
    // Any file opens as a picture or movie file; only making a picture reads what it holds.
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + "handles-test.bin";
    std::ofstream(path_, std::ios::binary) << "not a picture";
  }
  void TearDown() override {
    if (entry_) Call(kSelExitMovies);
    if (library_) FreeLibrary(library_);
    DeleteFileA(path_.c_str());
  }

  int32_t Call(uint16_t selector, std::initializer_list<uintptr_t> args = {0}) { return entry_(selector, args.begin()); }
  uint32_t Open(uint16_t selector) {
    uint32_t handle = 0;
    EXPECT_EQ(Call(selector, {reinterpret_cast<uintptr_t>(path_.c_str()), reinterpret_cast<uintptr_t>(&handle)}), kErrNone);
    EXPECT_NE(handle, 0u);
    return handle;
  }
  // A live picture file gets as far as reading its bytes; any other handle stops before.
  int32_t MakePicture(uint32_t file) {
    EXPECT_EQ(Call(kSelGetPictureFromFile, {file}), 0);
    return Call(kSelLastError);
  }

  HMODULE library_ = nullptr;
  QtDispatcher entry_ = nullptr;
  std::string path_;
};

TEST_F(MovieLibrary, AClosedPictureFileStaysClosedWhenAnotherOpens) {
  const uint32_t old = Open(kSelOpenPictureFile);
  ASSERT_EQ(Call(kSelClosePictureFile, {old}), kErrNone);
  const uint32_t current = Open(kSelOpenPictureFile);
  EXPECT_NE(current, old);
  EXPECT_EQ(MakePicture(old), kErrBadHandle);
  EXPECT_EQ(Call(kSelClosePictureFile, {old}), kErrBadHandle);
  EXPECT_EQ(MakePicture(current), kErrBadPicture);  // the new one is still open
}

TEST_F(MovieLibrary, HandlesOfAnotherKindAreRefused) {
  const uint32_t movieFile = Open(kSelOpenMovieFile);
  const uint32_t pictureFile = Open(kSelOpenPictureFile);
  EXPECT_EQ(MakePicture(movieFile), kErrBadHandle);
  EXPECT_EQ(Call(kSelClosePictureFile, {movieFile}), kErrBadHandle);
  EXPECT_EQ(Call(kSelCloseMovieFile, {pictureFile}), kErrBadHandle);
  EXPECT_EQ(Call(kSelReleasePicture, {pictureFile}), kErrBadHandle);
  EXPECT_EQ(Call(kSelCloseMovieFile, {movieFile}), kErrNone);
  EXPECT_EQ(Call(kSelClosePictureFile, {pictureFile}), kErrNone);
}

TEST_F(MovieLibrary, HandlesFromBeforeExitMoviesAreRefusedAfterItsReturn) {
  const uint32_t old = Open(kSelOpenPictureFile);
  ASSERT_EQ(Call(kSelExitMovies), kErrNone);
  ASSERT_EQ(Call(kSelEnterMovies), kErrNone);
  const uint32_t current = Open(kSelOpenPictureFile);
  EXPECT_NE(current, old);
  EXPECT_EQ(MakePicture(old), kErrBadHandle);
  EXPECT_EQ(MakePicture(current), kErrBadPicture);
}

}  // namespace
}  // namespace kro::qt
