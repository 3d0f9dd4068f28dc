// The exports of MVCL14N.DLL, called as the programs call them, over the fixture title.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "runtime/base/FileIo_win.h"
#include "runtime/mediaview/MediaView.h"
#include "tests/support/Clipboard_win.h"
#include "tests/support/Files_win.h"

namespace {

using kro::wintest::BesideExe;
using kro::wintest::TakeGlobalText;

int gPumpCalls = 0;
LONG CALLBACK CountingPump() {
  ++gPumpCalls;
  return 0;
}
LONG CALLBACK StoppingPump() { return 1; }

std::vector<LONG> Topics(HMVTOPICLIST list) {
  std::vector<LONG> topics;
  for (LONG i = 0; i < lMVTopicListLength(list); ++i) topics.push_back(lMVTopicListLookup(list, i));
  return topics;
}

class DllTest : public ::testing::Test {
protected:
  void SetUp() override {
    MVSetInstance(GetModuleHandleA(nullptr));
    title_ = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), CountingPump, nullptr);
    ASSERT_NE(title_, nullptr);
  }
  void TearDown() override {
    MVTitleClose(title_);
    MVTerminate(GetModuleHandleA(nullptr));
  }
  HMVTITLE title_ = nullptr;
};

TEST(DllExports, EveryCallHasItsPlainNameAndNothingPretends) {
  HMODULE dll = GetModuleHandleA("MVCL14N.DLL");
  ASSERT_NE(dll, nullptr);
  for (const char* name :
       {"MVSetInstance", "MVTerminate", "hMVTitleOpenEx", "MVTitleClose", "lMVTitleGetInfo", "vaMVGetContents",
        "vaMVConvertContextString", "addrMVConvertContextString", "vaMVConvertAddr", "vaMVConvertHash",
        "vaMVConvertTopicNumber", "lpMVNew", "lpMVDuplicate", "MVDelete", "hMVGetTitle", "fMVSetTitle", "fMVSetAddress",
        "MVGetAddress", "lMVTopicNumber", "hMVGetName", "hMVGetData", "addrMVGetPrev", "addrMVGetNext", "fMVHasSR",
        "fMVHasNSR", "hMVWordWheelOpenTitle", "lMVWordWheelLength", "nMVWordWheelLookup", "lMVWordWheelPrefix",
        "MVWordWheelClose", "nMVKeyIndexGetCount", "lMVKeyIndexGetAddrs", "hMVTopicListLoad", "hMVTopicListCreate",
        "hMVTopicListCombine", "lMVTopicListLength", "lMVTopicListLookup", "MVTopicListDestroy",
        "hMVTopicListFromTopicNo", "hMVBaggageOpen", "lMVBaggageSeek", "lMVBaggageRead", "lMVBaggageSeekRead",
        "hMVBaggageGetFile", "MVBaggageClose", "hMVTopicListFromQuery", "hMVHighlightsInTopic", "lMVTopicHighlightCount"})
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(dll, "_hMVTitleOpenEx@12"), nullptr);
}

// A program that looks calls up by name and calls them as WINAPI gets the same answers;
// a convention mismatch would unbalance the stack over the repeated calls.
TEST(DllExports, CallsLookedUpByNameAreWinapi) {
  HMODULE dll = GetModuleHandleA("MVCL14N.DLL");
  using Open = HMVTITLE(WINAPI*)(LPCSTR, MVPUMPPROC, LPLONG);
  using Convert = LONG(WINAPI*)(HMVTITLE, LPCSTR);
  using Close = void(WINAPI*)(HMVTITLE);
  const auto open = reinterpret_cast<Open>(reinterpret_cast<void*>(GetProcAddress(dll, "hMVTitleOpenEx")));
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(dll, "addrMVConvertContextString")));
  const auto close = reinterpret_cast<Close>(reinterpret_cast<void*>(GetProcAddress(dll, "MVTitleClose")));
  ASSERT_TRUE(open && convert && close);
  HMVTITLE title = open(BesideExe("fixture.m14").c_str(), nullptr, nullptr);
  ASSERT_NE(title, nullptr);
  LONG sum = 0;
  for (int i = 0; i < 1000; ++i) sum += convert(title, "topic_volga");
  EXPECT_EQ(sum, 3000);
  close(title);
}

TEST(DllTitle, TerminateReleasesEveryHandle) {
  HMVTITLE title = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), nullptr, nullptr);
  HMVTOPICLIST list = hMVTopicListLoad(title, "107");
  ASSERT_EQ(lMVTopicListLength(list), 4);
  MVTerminate(GetModuleHandleA(nullptr));
  EXPECT_EQ(lMVTopicListLength(list), 0);
  EXPECT_EQ(vaMVGetContents(title), -1);
}

TEST(DllTitle, OpenCallsThePumpAndStopsWhenItSaysSo) {
  gPumpCalls = 0;
  HMVTITLE title = hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), CountingPump, nullptr);
  ASSERT_NE(title, nullptr);
  EXPECT_GT(gPumpCalls, 0);
  MVTitleClose(title);
  EXPECT_EQ(hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), StoppingPump, nullptr), nullptr);
  EXPECT_EQ(hMVTitleOpenEx(BesideExe("no-such.m14").c_str(), nullptr, nullptr), nullptr);
}

TEST(DllTitle, DamagedTitleIsRefused) {
  const auto bytes = kro::ReadWholeFile(BesideExe("fixture.m14"));
  ASSERT_TRUE(bytes);
  const kro::wintest::TemporaryFolder folder;
  const std::string damaged = folder / "damaged.m14";
  ASSERT_TRUE(kro::ReplaceFileContents(damaged, std::span(*bytes).first(bytes->size() / 2)));
  EXPECT_EQ(hMVTitleOpenEx(damaged.c_str(), nullptr, nullptr), nullptr);
}

TEST_F(DllTest, TopicTitlesAndAddressConversions) {
  char buffer[MV_TOPIC_TITLE_BYTES];
  EXPECT_EQ(lMVTitleGetInfo(title_, MV_INFO_TOPIC_TITLE, 3, buffer), 5);
  EXPECT_STREQ(buffer, "Волга");
  EXPECT_EQ(lMVTitleGetInfo(title_, MV_INFO_TOPIC_TITLE, 99, buffer), -1);
  EXPECT_STREQ(buffer, "");

  const LONG va = vaMVConvertContextString(title_, "topic_volga");
  EXPECT_NE(va, -1);
  EXPECT_EQ(vaMVConvertTopicNumber(title_, 3), va);
  EXPECT_EQ(addrMVConvertContextString(title_, "topic_volga"), 3);
  EXPECT_EQ(vaMVConvertAddr(title_, addrMVConvertContextString(title_, "TOPIC_VOLGA")), va);
  EXPECT_EQ(vaMVGetContents(title_), vaMVConvertContextString(title_, "topic_ros14"));

  EXPECT_EQ(vaMVConvertContextString(title_, "topic_missing"), -1);
  EXPECT_EQ(addrMVConvertContextString(title_, "topic_missing"), -1);
  EXPECT_EQ(vaMVConvertAddr(title_, -1), -1);
  EXPECT_EQ(vaMVConvertAddr(title_, 14), -1);
  EXPECT_EQ(vaMVConvertHash(title_, 12345), -1);
  EXPECT_EQ(vaMVConvertTopicNumber(title_, 14), -1);
  EXPECT_EQ(vaMVConvertContextString(nullptr, "topic_volga"), -1);
}

TEST_F(DllTest, DisplayNamesDataAndBrowseEnds) {
  LONG err = 0;
  LPMV display = lpMVNew(title_, &err);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(hMVGetTitle(display, 0), title_);
  ASSERT_TRUE(fMVSetAddress(display, vaMVConvertContextString(title_, "topic_volga"), MV_REGION_BODY, 7, &err));
  EXPECT_EQ(err, 0);
  EXPECT_EQ(lMVTopicNumber(display), 3);
  EXPECT_EQ(TakeGlobalText(hMVGetName(display)), "Волга");
  EXPECT_EQ(TakeGlobalText(hMVGetData(display)),
            "[PICT] volga1.jpg {Волга у Ярославля}; volga2.jpg {Жигулёвские горы}[PORT] pkarpov.jpg"
            "[MOVE] volga.mov {Течение Волги весной}[MAPS] map_volga;[WAVE] !snd_volga>;");
  EXPECT_EQ(addrMVGetPrev(display), 2);
  EXPECT_EQ(addrMVGetNext(display), 4);
  LONG va = 0, region = 0, scroll = 0;
  MVGetAddress(display, &va, &region, &scroll);
  EXPECT_EQ(va, vaMVConvertTopicNumber(title_, 3));
  EXPECT_EQ(scroll, 7);

  ASSERT_TRUE(fMVSetAddress(display, vaMVConvertTopicNumber(title_, 1), MV_REGION_BODY, 0, &err));
  EXPECT_EQ(addrMVGetPrev(display), -1);
  ASSERT_TRUE(fMVSetAddress(display, vaMVConvertContextString(title_, "credits"), MV_REGION_BODY, 0, &err));
  EXPECT_EQ(addrMVGetNext(display), -1);
  ASSERT_TRUE(fMVSetAddress(display, vaMVConvertContextString(title_, "pop_delta"), MV_REGION_BODY, 0, &err));
  EXPECT_EQ(hMVGetName(display), nullptr);
  EXPECT_EQ(hMVGetData(display), nullptr);

  // Ёлка has no heading: asking for it sets the topic and says the region is missing.
  EXPECT_FALSE(fMVSetAddress(display, vaMVConvertTopicNumber(title_, 4), MV_REGION_HEADING, 0, &err));
  EXPECT_EQ(err, MVERR_NO_REGION);
  EXPECT_EQ(lMVTopicNumber(display), 4);
  EXPECT_FALSE(fMVHasNSR(display));
  EXPECT_TRUE(fMVHasSR(display));

  err = 0;
  EXPECT_FALSE(fMVSetAddress(display, 3, MV_REGION_BODY, 0, &err));  // a logical address is not a view address
  EXPECT_EQ(err, MVERR_INVALID);
  LPMV copy = lpMVDuplicate(display, &err);
  EXPECT_EQ(lMVTopicNumber(copy), 4);
  MVDelete(copy);
  MVDelete(display);
  EXPECT_EQ(lMVTopicNumber(display), -1);
}

TEST_F(DllTest, WordWheelLookupsPrefixesAndKeyIndex) {
  HMVWORDWHEEL wheel = hMVWordWheelOpenTitle(title_, "|a");
  ASSERT_NE(wheel, nullptr);
  EXPECT_EQ(lMVWordWheelLength(wheel), 10);
  char key[128];
  ASSERT_EQ(nMVWordWheelLookup(wheel, 0, key, sizeof key), 0);
  EXPECT_STREQ(key, "1812 год");
  ASSERT_EQ(nMVWordWheelLookup(wheel, 4, key, 3), 0);  // cut to the buffer
  EXPECT_STREQ(key, "Ёл");
  EXPECT_NE(nMVWordWheelLookup(wheel, 10, key, sizeof key), 0);

  EXPECT_EQ(lMVWordWheelPrefix(wheel, ""), 0);
  EXPECT_EQ(lMVWordWheelPrefix(wheel, "0"), 0);
  EXPECT_EQ(lMVWordWheelPrefix(wheel, "ка"), 6);
  EXPECT_EQ(lMVWordWheelPrefix(wheel, "ЕЛЬ"), 5);
  EXPECT_EQ(lMVWordWheelPrefix(wheel, "zzz"), 10);

  EXPECT_EQ(nMVKeyIndexGetCount(wheel, "Волга"), 1);
  LONG addrs[4] = {};
  EXPECT_EQ(lMVKeyIndexGetAddrs(wheel, "Волга", 0, 4, addrs), 1);
  EXPECT_EQ(vaMVConvertAddr(title_, addrs[0]), vaMVConvertContextString(title_, "topic_volga"));
  EXPECT_EQ(nMVKeyIndexGetCount(wheel, "Нет такой"), 0);
  MVWordWheelClose(wheel);

  EXPECT_EQ(hMVWordWheelOpenTitle(title_, "|zz"), nullptr);
  HMVWORDWHEEL keywords = hMVWordWheelOpenTitle(title_, "|k");
  MVTitleClose(title_);  // the open wheel keeps the title's data
  title_ = nullptr;
  EXPECT_EQ(nMVKeyIndexGetCount(keywords, "реки"), 2);
  EXPECT_EQ(lMVKeyIndexGetAddrs(keywords, "реки", 1, 4, addrs), 1);
  EXPECT_EQ(addrs[0], 8);
  MVWordWheelClose(keywords);
}

TEST_F(DllTest, TopicListAlgebraLeavesOperandsValid) {
  HMVTOPICLIST illustrated = hMVTopicListLoad(title_, "107");
  HMVTOPICLIST rivers = hMVTopicListLoad(title_, "rivers");
  ASSERT_NE(illustrated, nullptr);
  ASSERT_NE(rivers, nullptr);
  EXPECT_EQ(hMVTopicListLoad(title_, "999"), nullptr);
  HMVTOPICLIST both = hMVTopicListCombine(MV_LIST_INTERSECTION, illustrated, rivers);
  HMVTOPICLIST either = hMVTopicListCombine(MV_LIST_UNION, illustrated, rivers);
  HMVTOPICLIST only = hMVTopicListCombine(MV_LIST_DIFFERENCE, illustrated, rivers);
  EXPECT_EQ(Topics(both), (std::vector<LONG>{3, 8}));
  EXPECT_EQ(Topics(either), (std::vector<LONG>{1, 3, 6, 8}));
  EXPECT_EQ(Topics(only), (std::vector<LONG>{1, 6}));
  EXPECT_EQ(Topics(illustrated), (std::vector<LONG>{1, 3, 6, 8}));
  EXPECT_EQ(Topics(rivers), (std::vector<LONG>{3, 8}));
  EXPECT_EQ(lMVTopicListLookup(rivers, 2), -1);
  EXPECT_EQ(hMVTopicListCombine(3, illustrated, rivers), nullptr);

  HMVTOPICLIST one = hMVTopicListFromTopicNo(title_, 5);
  HMVTOPICLIST empty = hMVTopicListCreate(title_);
  EXPECT_EQ(Topics(one), (std::vector<LONG>{5}));
  EXPECT_EQ(lMVTopicListLength(empty), 0);
  EXPECT_EQ(hMVTopicListFromTopicNo(title_, 14), nullptr);
  for (HMVTOPICLIST l : {illustrated, rivers, both, either, only, one, empty}) MVTopicListDestroy(l);
  EXPECT_EQ(lMVTopicListLength(both), 0);  // a destroyed handle is refused, not followed
}

TEST_F(DllTest, BaggageSeekAndReadAtTheEnd) {
  LONG err = 0;
  HMVBAGGAGE file = hMVBaggageOpen(title_, "SLIDES.DAT", 1, &err);
  ASSERT_NE(file, nullptr);
  const LONG size = lMVBaggageSeek(file, 0, 2, &err);
  EXPECT_EQ(size, 63);
  char buffer[128] = {};
  EXPECT_EQ(lMVBaggageRead(file, buffer, 10, &err), 0);
  EXPECT_EQ(lMVBaggageSeek(file, 0, 0, &err), 0);
  EXPECT_EQ(lMVBaggageRead(file, buffer, sizeof buffer, &err), size);
  EXPECT_EQ(std::string(buffer, 18), "Волга у Ярославля;");
  EXPECT_EQ(lMVBaggageSeekRead(file, size - 3, 0, buffer, 10, &err), 3);
  EXPECT_EQ(std::string(buffer, 3), "v\r\n");
  EXPECT_EQ(err, 0);
  EXPECT_EQ(lMVBaggageSeek(file, 1, 2, &err), -1);
  EXPECT_EQ(err, MVERR_SEEK);
  MVBaggageClose(file, &err);

  err = 0;
  EXPECT_EQ(hMVBaggageOpen(title_, "missing.dat", 1, &err), nullptr);
  EXPECT_EQ(err, MVERR_NOT_FOUND);
  MVBaggageClose(file, &err);
  EXPECT_EQ(err, MVERR_INVALID);

  err = 0;
  DWORD bytes = 0;
  HGLOBAL whole = hMVBaggageGetFile(title_, "videocap.txt", 1, 0, 0, &bytes, &err);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(bytes, 47u);
  EXPECT_GE(GlobalSize(whole), 48u);
  EXPECT_EQ(TakeGlobalText(whole), "volga.mov\tТечение Волги весной\r\nural.mov\tУрал\r\n");
  EXPECT_EQ(hMVBaggageGetFile(title_, "missing.dat", 1, 0, 0, &bytes, &err), nullptr);
  EXPECT_EQ(err, MVERR_NOT_FOUND);
}

}  // namespace
