// MVCL14N.DLL's handles: each kind, once closed, is refused even after a new object of the
// kind has been made (most likely where the old one was), and a handle of one kind is
// refused where another is expected.
#include <gtest/gtest.h>

#include <string>

#include "runtime/mediaview/MediaView.h"
#include "tests/support/Files_win.h"

namespace {

using kro::wintest::BesideExe;

HMVTITLE OpenFixture() { return hMVTitleOpenEx(BesideExe("fixture.m14").c_str(), nullptr, nullptr); }

class DllHandles : public ::testing::Test {
protected:
  void SetUp() override {
    title_ = OpenFixture();
    ASSERT_NE(title_, nullptr);
  }
  void TearDown() override { MVTerminate(GetModuleHandleA(nullptr)); }
  HMVTITLE title_ = nullptr;
};

TEST_F(DllHandles, AClosedTitleIsRefusedByEveryCallAfterAnotherOpens) {
  MVTitleClose(title_);
  const HMVTITLE current = OpenFixture();
  ASSERT_NE(current, nullptr);
  EXPECT_NE(current, title_);
  const HMVTITLE old = title_;
  char buffer[MV_TOPIC_TITLE_BYTES];
  EXPECT_EQ(vaMVGetContents(old), -1);
  EXPECT_EQ(vaMVConvertContextString(old, "topic_volga"), -1);
  EXPECT_EQ(lMVTitleGetInfo(old, MV_INFO_TOPIC_TITLE, 3, buffer), -1);
  EXPECT_EQ(hMVWordWheelOpenTitle(old, "|a"), nullptr);
  EXPECT_EQ(hMVTopicListCreate(old), nullptr);
  EXPECT_EQ(hMVTopicListFromTopicNo(old, 3), nullptr);
  LONG err = 0;
  EXPECT_EQ(lpMVNew(old, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  EXPECT_EQ(hMVBaggageOpen(old, "SLIDES.DAT", 1, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  EXPECT_EQ(hMVTopicListFromQuery(old, MV_QUERY_EXACT, "Волга", nullptr, 1, nullptr, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  MVTitleClose(old);  // closing it again closes nothing
  EXPECT_EQ(vaMVGetContents(current), vaMVConvertContextString(current, "topic_ros14"));
  EXPECT_NE(vaMVGetContents(current), -1);
}

TEST_F(DllHandles, ADeletedDisplayIsRefusedAndLeavesTheNewOneAlone) {
  LONG err = 0;
  const LPMV old = lpMVNew(title_, &err);
  ASSERT_NE(old, nullptr);
  MVDelete(old);
  const LPMV current = lpMVNew(title_, &err);
  ASSERT_NE(current, nullptr);
  EXPECT_NE(current, old);
  ASSERT_TRUE(fMVSetAddress(current, vaMVConvertTopicNumber(title_, 3), MV_REGION_BODY, 0, &err));
  EXPECT_FALSE(fMVSetAddress(old, vaMVConvertTopicNumber(title_, 5), MV_REGION_BODY, 0, &err));
  EXPECT_EQ(err, MVERR_INVALID);
  EXPECT_EQ(lMVTopicNumber(old), -1);
  EXPECT_EQ(hMVGetTitle(old, 0), nullptr);
  EXPECT_EQ(hMVGetName(old), nullptr);
  err = 0;
  EXPECT_EQ(lpMVDuplicate(old, &err), nullptr);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  EXPECT_FALSE(fMVRealize(old, nullptr, &err));
  EXPECT_EQ(err, MVERR_INVALID);
  MVDelete(old);
  EXPECT_EQ(lMVTopicNumber(current), 3);
  MVDelete(current);
}

TEST_F(DllHandles, AClosedDisplaysTitleIsNoLongerItsHandle) {
  LONG err = 0;
  const LPMV display = lpMVNew(title_, &err);
  ASSERT_NE(display, nullptr);
  MVTitleClose(title_);
  const HMVTITLE current = OpenFixture();
  // The display keeps reading the closed title, but its handle names nothing now.
  EXPECT_EQ(hMVGetTitle(display, 0), title_);
  EXPECT_EQ(vaMVGetContents(hMVGetTitle(display, 0)), -1);
  EXPECT_TRUE(fMVSetAddress(display, vaMVConvertTopicNumber(current, 3), MV_REGION_BODY, 0, &err));
  MVDelete(display);
}

TEST_F(DllHandles, ClosedWheelsListsAndFilesAreRefused) {
  const HMVWORDWHEEL oldWheel = hMVWordWheelOpenTitle(title_, "|a");
  MVWordWheelClose(oldWheel);
  const HMVWORDWHEEL wheel = hMVWordWheelOpenTitle(title_, "|a");
  EXPECT_NE(wheel, oldWheel);
  EXPECT_EQ(lMVWordWheelLength(oldWheel), 0);
  EXPECT_EQ(lMVWordWheelPrefix(oldWheel, "ка"), -1);
  EXPECT_EQ(lMVWordWheelLength(wheel), 10);

  const HMVTOPICLIST oldList = hMVTopicListLoad(title_, "107");
  MVTopicListDestroy(oldList);
  const HMVTOPICLIST list = hMVTopicListLoad(title_, "rivers");
  EXPECT_NE(list, oldList);
  EXPECT_EQ(lMVTopicListLength(oldList), 0);
  EXPECT_EQ(lMVTopicListLookup(oldList, 0), -1);
  EXPECT_EQ(hMVTopicListCombine(MV_LIST_UNION, oldList, list), nullptr);
  EXPECT_EQ(lMVTopicListLength(list), 2);

  LONG err = 0;
  const HMVBAGGAGE oldFile = hMVBaggageOpen(title_, "SLIDES.DAT", 1, &err);
  MVBaggageClose(oldFile, &err);
  const HMVBAGGAGE file = hMVBaggageOpen(title_, "SLIDES.DAT", 1, &err);
  EXPECT_NE(file, oldFile);
  char buffer[8];
  EXPECT_EQ(lMVBaggageRead(oldFile, buffer, sizeof buffer, &err), 0);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  EXPECT_EQ(lMVBaggageSeek(oldFile, 5, 0, &err), -1);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  MVBaggageClose(oldFile, &err);
  EXPECT_EQ(err, MVERR_INVALID);
  EXPECT_EQ(lMVBaggageSeek(file, 0, 1, &err), 0);  // the stale seek moved nothing
  MVBaggageClose(file, &err);
  MVWordWheelClose(wheel);
  MVTopicListDestroy(list);
}

TEST_F(DllHandles, AReplacedHighlightSourceIsRefused) {
  LONG err = 0;
  HMVHIGHLIGHTSOURCE old = nullptr, current = nullptr;
  const HMVTOPICLIST first = hMVTopicListFromQuery(title_, MV_QUERY_EXACT, "Волга", nullptr, 1, &old, &err);
  ASSERT_NE(old, nullptr);
  EXPECT_GT(lMVTopicHighlightCount(old, 3), 0);
  const HMVTOPICLIST second = hMVTopicListFromQuery(title_, MV_QUERY_EXACT, "Волга", nullptr, 1, &current, &err);
  ASSERT_NE(current, nullptr);
  EXPECT_NE(current, old);
  EXPECT_EQ(lMVTopicHighlightCount(old, 3), 0);
  EXPECT_EQ(hMVHighlightsInTopic(old, 3), nullptr);
  EXPECT_GT(lMVTopicHighlightCount(current, 3), 0);
  MVTopicListDestroy(first);
  MVTopicListDestroy(second);
}

TEST_F(DllHandles, HandlesFromBeforeTerminateStayRefused) {
  LONG err = 0;
  const LPMV display = lpMVNew(title_, &err);
  MVTerminate(GetModuleHandleA(nullptr));
  const HMVTITLE current = OpenFixture();
  const LPMV newDisplay = lpMVNew(current, &err);
  EXPECT_NE(current, title_);
  EXPECT_NE(newDisplay, display);
  EXPECT_EQ(vaMVGetContents(title_), -1);
  EXPECT_EQ(hMVGetTitle(display, 0), nullptr);
  EXPECT_EQ(hMVGetTitle(newDisplay, 0), current);
}

// Handles passed where another kind is expected, as a program that mixed up two
// variables would pass them.
TEST_F(DllHandles, AHandleOfAnotherKindIsRefused) {
  LONG err = 0;
  const LPMV display = lpMVNew(title_, &err);
  const HMVWORDWHEEL wheel = hMVWordWheelOpenTitle(title_, "|a");
  const HMVTOPICLIST list = hMVTopicListLoad(title_, "107");
  const HMVBAGGAGE file = hMVBaggageOpen(title_, "SLIDES.DAT", 1, &err);
  ASSERT_TRUE(display && wheel && list && file);
  EXPECT_EQ(vaMVGetContents(reinterpret_cast<HMVTITLE>(display)), -1);
  EXPECT_EQ(vaMVGetContents(reinterpret_cast<HMVTITLE>(wheel)), -1);
  EXPECT_EQ(lMVTopicNumber(reinterpret_cast<LPMV>(title_)), -1);
  EXPECT_EQ(lMVWordWheelLength(reinterpret_cast<HMVWORDWHEEL>(list)), 0);
  EXPECT_EQ(lMVTopicListLength(reinterpret_cast<HMVTOPICLIST>(wheel)), 0);
  EXPECT_EQ(lMVTopicHighlightCount(reinterpret_cast<HMVHIGHLIGHTSOURCE>(list), 3), 0);
  char buffer[4];
  err = 0;
  EXPECT_EQ(lMVBaggageRead(reinterpret_cast<HMVBAGGAGE>(display), buffer, sizeof buffer, &err), 0);
  EXPECT_EQ(err, MVERR_INVALID);
  err = 0;
  EXPECT_FALSE(fMVSetTitle(display, reinterpret_cast<HMVTITLE>(file), 0, &err));
  EXPECT_EQ(err, MVERR_INVALID);
  // Closing through the wrong kind closes nothing.
  MVTitleClose(reinterpret_cast<HMVTITLE>(display));
  MVDelete(reinterpret_cast<LPMV>(title_));
  MVWordWheelClose(reinterpret_cast<HMVWORDWHEEL>(list));
  EXPECT_EQ(lMVTopicNumber(display), -1);  // still open: no address set yet
  EXPECT_EQ(hMVGetTitle(display, 0), title_);
  EXPECT_NE(vaMVGetContents(title_), -1);
  EXPECT_EQ(lMVTopicListLength(list), 4);
  EXPECT_EQ(lMVWordWheelLength(wheel), 10);
}

}  // namespace
