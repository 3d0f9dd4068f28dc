// Error words through the DLL: why a title did not open, and what a failure inside the
// runtime leaves there. Failures inside are made by MVFAULTS.DLL, the runtime's own code
// linked with an allocator that fails on request.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/mediaview/MediaView.h"
#include "tests/support/Files_win.h"

namespace {

using kro::wintest::BesideExe;

using Bytes = std::vector<char>;

Bytes Fixture() {
  std::ifstream in(BesideExe("fixture.m14"), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

constexpr LONG kUntouched = 77;
LONG CALLBACK StoppingPump() { return 1; }

// Writes the bytes beside the program and opens them as a title; answers the error word.
LONG OpenError(const Bytes& bytes) {
  const std::string path = BesideExe("error-test.m14");
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  LONG err = kUntouched;
  const HMVTITLE title = hMVTitleOpenEx(path.c_str(), nullptr, &err);
  EXPECT_EQ(title, nullptr);
  MVTitleClose(title);
  DeleteFileA(path.c_str());
  return err;
}

TEST(DllOpenErrors, EachFailureToOpenSaysWhy) {
  const Bytes good = Fixture();
  ASSERT_GT(good.size(), 64u);
  Bytes newer = good;
  newer[8] = 2;  // the major version, after the 8-byte magic
  Bytes notTitle = good;
  notTitle[0] = 'X';
  Bytes damaged = good;
  damaged[36] ^= 0x5A;  // the first section's offset, which the directory checksum covers
  const struct {
    const char* name;
    Bytes bytes;
    LONG expected;
  } kCases[] = {
      {"newer major version", newer, MVERR_TITLE_VERSION},
      {"not a title", notTitle, MVERR_READ},
      {"empty", {}, MVERR_READ},
      {"header only", Bytes(good.begin(), good.begin() + 24), MVERR_READ},
      {"cut in half", Bytes(good.begin(), good.begin() + good.size() / 2), MVERR_READ},
      {"directory damaged", damaged, MVERR_READ},
  };
  for (const auto& c : kCases) EXPECT_EQ(OpenError(c.bytes), c.expected) << c.name;
}

TEST(DllOpenErrors, MissingFileNoPathAndStoppingPump) {
  LONG err = kUntouched;
  EXPECT_EQ(hMVTitleOpenEx(BesideExe("no-such.m14").c_str(), nullptr, &err), nullptr);
  EXPECT_EQ(err, MVERR_NOT_FOUND);
  err = kUntouched;
  EXPECT_EQ(hMVTitleOpenEx(nullptr, nullptr, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  err = kUntouched;
  EXPECT_EQ(hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), StoppingPump, &err), nullptr);
  EXPECT_EQ(err, MVERR_SEARCH_STOPPED);
  EXPECT_EQ(hMVTitleOpenEx(BesideExe("no-such.m14").c_str(), nullptr, nullptr), nullptr);  // no error word
}

TEST(DllOpenErrors, AnOpenThatSucceedsLeavesTheErrorWordAlone) {
  LONG err = kUntouched;
  const HMVTITLE title = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), nullptr, &err);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(err, kUntouched);
  MVTitleClose(title);
}

// MVFAULTS.DLL's calls, looked up by name.
enum Fault : LONG { kAllocate = 0, kOutOfMemory = 1, kOtherException = 2 };

class FaultDll : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    dll_ = LoadLibraryA(BesideExe("MVFAULTS.DLL").c_str());
    ASSERT_NE(dll_, nullptr);
  }
  static void TearDownTestSuite() { FreeLibrary(dll_); }
  void SetUp() override {
    ASSERT_NE(dll_, nullptr);
    title_ = Call<HMVTITLE(WINAPI*)(LPCSTR, MVPUMPPROC, LPLONG)>("hMVTitleOpenEx")(BesideExe("fixture.m14").c_str(),
                                                                                     nullptr, nullptr);
    ASSERT_NE(title_, nullptr);
  }
  void TearDown() override {
    Fail(kAllocate);
    Call<void(WINAPI*)(HINSTANCE)>("MVTerminate")(nullptr);
  }

  template <typename F>
  static F Call(const char* name) {
    const auto f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll_, name)));
    EXPECT_NE(f, nullptr) << name;
    return f;
  }
  static void Fail(Fault how) { Call<void(WINAPI*)(LONG)>("MVFaultsFailAllocations")(how); }

  HMVTITLE Open(LPLONG err) {
    return Call<HMVTITLE(WINAPI*)(LPCSTR, MVPUMPPROC, LPLONG)>("hMVTitleOpenEx")(BesideExe("fixture.m14").c_str(), nullptr,
                                                                                  err);
  }
  LPMV NewDisplay(LPLONG err) { return Call<LPMV(WINAPI*)(HMVTITLE, LPLONG)>("lpMVNew")(title_, err); }

  static HMODULE dll_;
  HMVTITLE title_ = nullptr;
};
HMODULE FaultDll::dll_ = nullptr;

TEST_F(FaultDll, AFailureInsideSetsTheErrorWordByItsKind) {
  const struct {
    Fault fault;
    LONG expected;
  } kCases[] = {{kOutOfMemory, MVERR_OUT_OF_MEMORY}, {kOtherException, MVERR_FAILED}};
  for (const auto& c : kCases) {
    Fail(c.fault);
    LONG err = kUntouched;
    EXPECT_EQ(Open(&err), nullptr);
    EXPECT_EQ(err, c.expected) << c.fault;
    err = kUntouched;
    EXPECT_EQ(NewDisplay(&err), nullptr);
    EXPECT_EQ(err, c.expected) << c.fault;
    err = kUntouched;
    HMVHIGHLIGHTSOURCE highlights = reinterpret_cast<HMVHIGHLIGHTSOURCE>(1);
    const auto query = Call<HMVTOPICLIST(WINAPI*)(HMVTITLE, UINT, LPCSTR, HMVTOPICLIST, LONG, HMVHIGHLIGHTSOURCE*, LPLONG)>(
        "hMVTopicListFromQuery");
    EXPECT_EQ(query(title_, MV_QUERY_EXACT, "Волга", nullptr, 1, &highlights, &err), nullptr);
    EXPECT_EQ(err, c.expected) << c.fault;
    EXPECT_EQ(highlights, nullptr);
  }
  // Nothing half made stays behind: with memory back, the same calls work.
  Fail(kAllocate);
  LONG err = kUntouched;
  const LPMV display = NewDisplay(&err);
  EXPECT_NE(display, nullptr);
  EXPECT_NE(Open(&err), nullptr);
  const auto query = Call<HMVTOPICLIST(WINAPI*)(HMVTITLE, UINT, LPCSTR, HMVTOPICLIST, LONG, HMVHIGHLIGHTSOURCE*, LPLONG)>(
      "hMVTopicListFromQuery");
  EXPECT_NE(query(title_, MV_QUERY_EXACT, "Волга", nullptr, 1, nullptr, &err), nullptr);
  EXPECT_EQ(err, kUntouched);
}

// Calls without an error word answer their failure value instead of letting the
// exception out of the DLL, which would end the program.
TEST_F(FaultDll, CallsWithoutAnErrorWordAnswerTheirFailureValue) {
  LONG err = 0;
  const LPMV display = NewDisplay(&err);
  ASSERT_NE(display, nullptr);
  const LONG va = Call<LONG(WINAPI*)(HMVTITLE, LONG)>("vaMVConvertTopicNumber")(title_, 3);
  ASSERT_TRUE(Call<BOOL(WINAPI*)(LPMV, LONG, UINT, LONG, LPLONG)>("fMVSetAddress")(display, va, MV_REGION_BODY, 0, &err));
  for (const Fault fault : {kOutOfMemory, kOtherException}) {
    Fail(fault);
    EXPECT_EQ(Call<HMVTOPICLIST(WINAPI*)(HMVTITLE, LONG)>("hMVTopicListFromTopicNo")(title_, 3), nullptr);
    EXPECT_EQ(Call<HMVTOPICLIST(WINAPI*)(HMVTITLE)>("hMVTopicListCreate")(title_), nullptr);
    EXPECT_EQ(Call<HMVWORDWHEEL(WINAPI*)(HMVTITLE, LPCSTR)>("hMVWordWheelOpenTitle")(title_, "|a"), nullptr);
    EXPECT_EQ(Call<HMVTOPICLIST(WINAPI*)(HMVTITLE, LPCSTR)>("hMVTopicListLoad")(title_, "107"), nullptr);
  }
  Fail(kAllocate);
  EXPECT_NE(Call<HMVTOPICLIST(WINAPI*)(HMVTITLE, LONG)>("hMVTopicListFromTopicNo")(title_, 3), nullptr);
}

}  // namespace
