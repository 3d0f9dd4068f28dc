// The benchmark's verdicts: the baseline table as a run prints it, and the not-slower rule.
#include "tools/bench/search/Goals.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace kro::bench {
namespace {

// The heading, two classes both peers run and one only the second runs, as printed.
constexpr const char* kTable =
    "corpus: 100000 articles\n\n"
    "query class               n      ours median / p95  ours best      FTS5 median / p95  FTS5 best     ours/peer"
    "    Xapian median / p95 Xapian best     ours/peer  results ours (peers) agree\n"
    "common word              10     64.9 us / 173.5 us   597.8 us      3.33 ms / 9.81 ms   20.43 ms          0.02"
    "      4.19 ms / 6.07 ms   27.57 ms          0.02  386772 (386772 10/10, 386772 10/10)\n"
    "two-word AND             40     47.8 us / 201.6 us    1.67 ms     371.4 us / 1.79 ms   14.40 ms          0.13"
    "     270.2 us / 1.64 ms   10.72 ms          0.18  39345 (39345 40/40, 39345 40/40)\n"
    "word forms               40     26.1 us / 100.0 us    1.17 ms                      -          -             -"
    "    135.1 us / 444.1 us    6.67 ms          0.19  123746 (-, 123734 39/40)\n"
    "\n"
    "longest stretch of a query without a progress call: 18.14 ms\n";

std::map<std::string, ClassFigures> Baseline(const std::string& text) {
  const std::string path = testing::TempDir() + "goals-baseline.txt";
  std::ofstream(path) << text;
  auto classes = ReadBaseline(path);
  std::remove(path.c_str());
  return classes;
}

TEST(SearchBenchGoals, TheBaselineTableIsReadColumnByColumn) {
  const auto classes = Baseline(kTable);
  ASSERT_EQ(classes.size(), 3u);
  const ClassFigures& common = classes.at("common word");
  EXPECT_DOUBLE_EQ(common.median, 64.9e-6);
  EXPECT_DOUBLE_EQ(common.p95, 173.5e-6);
  EXPECT_DOUBLE_EQ(common.best, 597.8e-6);
  ASSERT_EQ(common.peerBest.size(), 2u);
  EXPECT_DOUBLE_EQ(common.peerMedian[0], 3.33e-3);
  EXPECT_DOUBLE_EQ(common.peerBest[1], 27.57e-3);
  // A peer without the class keeps its place, marked unknown.
  const ClassFigures& forms = classes.at("word forms");
  ASSERT_EQ(forms.peerBest.size(), 2u);
  EXPECT_LT(forms.peerBest[0], 0);
  EXPECT_DOUBLE_EQ(forms.peerBest[1], 6.67e-3);
  // Nothing before the heading or after the table's end is a class; nor is a table without one.
  EXPECT_TRUE(Baseline("common word 10 1 us / 2 us 3 us\n").empty());
}

// How many goals a run misses against the baseline beyond those it misses without one.
int UnmetAgainstBaseline(const std::map<std::string, ClassFigures>& then, double ours, double peers) {
  BenchFigures now;
  now.peerNames = {"FTS5", "Xapian"};
  for (const auto& [name, c] : then) {
    ClassFigures moved = c;
    moved.best = c.best * ours;
    for (double& best : moved.peerBest)
      if (best > 0) best *= peers;
    now.classes[name] = moved;
  }
  now.peerBytes = {1, 1};
  now.peerBuildCpu = {1, 1};
  return PrintGoals(now, then) - PrintGoals(now, {});
}

TEST(SearchBenchGoals, OurBestRunsMayMoveAtMostATenthBeyondThePeers) {
  const auto then = Baseline(kTable);
  EXPECT_EQ(UnmetAgainstBaseline(then, 1.05, 1.0), 0);
  EXPECT_EQ(UnmetAgainstBaseline(then, 1.2, 1.0), 3);
  // A busier machine slows every engine: ours with the peers is no slowdown of ours.
  EXPECT_EQ(UnmetAgainstBaseline(then, 1.5, 1.45), 0);
  EXPECT_EQ(UnmetAgainstBaseline(then, 1.5, 1.2), 3);
  // An old baseline without best runs cannot show the rule met.
  const auto old = Baseline(
      "query class               n      ours median / p95      FTS5 median / p95     ours/peer\n"
      "common word              10     64.9 us / 173.5 us      3.33 ms / 9.81 ms          0.02\n");
  ASSERT_EQ(old.count("common word"), 1u);
  EXPECT_EQ(UnmetAgainstBaseline(old, 1.0, 1.0), 1);
}

}  // namespace
}  // namespace kro::bench
