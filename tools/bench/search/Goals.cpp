#include "tools/bench/search/Goals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kro::bench {
namespace {

constexpr size_t kNameWidth = 22;  // the class column of the table

// "123.4 us" or "1.23 ms" from the stream; -1 for "-", -2 for anything else.
double ReadLatency(std::istringstream& in) {
  std::string value, unit;
  if (!(in >> value)) return -2;
  if (value == "-") return -1;
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  if (end != value.c_str() + value.size() || !(in >> unit) || (unit != "ms" && unit != "us")) return -2;
  return number * (unit == "ms" ? 1e-3 : 1e-6);
}

bool ReadPair(std::istringstream& in, double* median, double* p95) {
  *median = ReadLatency(in);
  if (*median < 0) return *median == -1;
  std::string slash;
  in >> slash;
  *p95 = ReadLatency(in);
  return slash == "/" && *p95 >= 0;
}

class GoalPrinter {
public:
  void Check(const std::string& goal, const std::string& figures, bool met) {
    std::printf("  %-58s %-44s %s\n", goal.c_str(), figures.c_str(), met ? "met" : "NOT MET");
    unmet_ += met ? 0 : 1;
  }
  int unmet() const { return unmet_; }

private:
  int unmet_ = 0;
};

std::string Ms(double seconds) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f ms", seconds * 1e3);
  return buffer;
}

std::string Ratio(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  return buffer;
}

// Our median at most `share` of the peer's and our p95 no worse than the peer's.
void AgainstPeer(GoalPrinter& goals, const BenchFigures& now, const std::string& name, size_t peer, double share,
                 bool p95) {
  const auto it = now.classes.find(name);
  const std::string against = peer < now.peerNames.size() ? now.peerNames[peer] : "FTS5";
  if (it == now.classes.end() || peer >= it->second.peerMedian.size() || it->second.peerMedian[peer] <= 0) {
    goals.Check(name + " against " + against, "not run", false);
    return;
  }
  const ClassFigures& c = it->second;
  const double ratio = c.median / c.peerMedian[peer];
  goals.Check(name + ": median <= " + Ratio(share) + " of " + now.peerNames[peer] + "'s", Ratio(ratio), ratio <= share);
  if (p95) {
    goals.Check(name + ": p95 no worse than " + now.peerNames[peer] + "'s",
                Ms(c.p95) + " against " + Ms(c.peerP95[peer]), c.p95 <= c.peerP95[peer]);
  }
}

// A class's speed against the baseline's: how much our best runs moved against how much
// the peers' moved, timed query by query beside ours (the geometric mean over the peers
// that run the class; our best runs alone for a class none runs). The fastest run of a
// query is the one the other programs disturbed least, and the peers take out what a
// busier machine does to every program at once: between two runs of the same code a
// minute apart all three engines' best runs moved by 20-70 %, together.
void AgainstBaseline(GoalPrinter& goals, const std::string& name, const ClassFigures& now, const ClassFigures& then) {
  const std::string goal = name + ": at most 10% slower (best runs)";
  if (now.best <= 0 || then.best <= 0) {
    goals.Check(goal, "no best-of-runs figures in the baseline", false);
    return;
  }
  double logSum = 0;
  int peers = 0;
  for (size_t p = 0; p < now.peerBest.size() && p < then.peerBest.size(); ++p) {
    if (now.peerBest[p] <= 0 || then.peerBest[p] <= 0) continue;
    logSum += std::log(now.peerBest[p] / then.peerBest[p]);
    ++peers;
  }
  const double ours = now.best / then.best, machine = peers ? std::exp(logSum / peers) : 1;
  goals.Check(goal, "x" + Ratio(ours) + (peers ? ", peers x" + Ratio(machine) : std::string()), ours <= 1.1 * machine);
}

}  // namespace

std::map<std::string, ClassFigures> ReadBaseline(const std::string& path) {
  std::map<std::string, ClassFigures> out;
  std::ifstream file(path);
  std::string line;
  // The table runs from its heading to the first empty line.
  while (std::getline(file, line) && line.rfind("query class", 0) != 0) {
  }
  while (std::getline(file, line) && !line.empty()) {
    if (line.size() <= kNameWidth) continue;
    std::string name = line.substr(0, kNameWidth);
    name.erase(name.find_last_not_of(' ') + 1);
    std::istringstream in(line.substr(kNameWidth));
    int queries = 0;
    ClassFigures c;
    if (name.empty() || !(in >> queries) || !ReadPair(in, &c.median, &c.p95) || c.median < 0) continue;
    // Tables from before the best-of-runs columns have a peer's "median / p95" there: their
    // classes are kept without best runs, which the check then reports.
    std::string next;
    c.best = ReadLatency(in);
    if (c.best < 0 || !(in >> next) || next == "/") {
      c.best = -1;
      out[name] = c;
      continue;
    }
    in.seekg(-static_cast<std::streamoff>(next.size()), std::ios::cur);
    for (;;) {
      double median = -1, p95 = -1, best = -1;
      std::string ratio;
      const auto at = in.tellg();
      if (!ReadPair(in, &median, &p95) || (best = ReadLatency(in)) == -2 || !(in >> ratio) ||
          (median < 0) != (ratio == "-") || (median < 0) != (best < 0)) {
        in.clear();
        in.seekg(at);
        break;
      }
      c.peerMedian.push_back(median);
      c.peerP95.push_back(p95);
      c.peerBest.push_back(best);
    }
    out[name] = c;
  }
  return out;
}

int PrintGoals(const BenchFigures& now, const std::map<std::string, ClassFigures>& baseline) {
  GoalPrinter goals;
  std::printf("\ngoals\n");
  AgainstPeer(goals, now, "phrase, common words", 0, 0.25, true);
  AgainstPeer(goals, now, "3-word phrase, common", 0, 0.25, true);
  AgainstPeer(goals, now, "phrase, rarer words", 0, 0.3, true);
  for (size_t p = 0; p < std::max<size_t>(now.peerNames.size(), 1); ++p) AgainstPeer(goals, now, "NEAR", p, 0.3, false);
  const auto wild = now.classes.find("phrase of prefixes");
  const double wildMedian = wild == now.classes.end() ? -1 : wild->second.median;
  if (now.articles >= 100000) {
    goals.Check("phrase of prefixes: median < 2 s over 100,000 articles", Ms(wildMedian), wildMedian >= 0 && wildMedian < 2);
  } else if (now.articles <= 6000) {
    goals.Check("phrase of prefixes: median < 200 ms over 6,000 articles", Ms(wildMedian),
                wildMedian >= 0 && wildMedian < 0.2);
  }
  goals.Check("progress called at least every 30 ms of a query's work",
              Ms(now.longestGapCpu) + " (wall clock " + Ms(now.longestGapWall) + ")", now.longestGapCpu <= 0.030);
  for (const auto& [name, then] : baseline) {
    if (name.find("phrase") != std::string::npos || name == "NEAR") continue;  // their own goals above
    const auto it = now.classes.find(name);
    if (it != now.classes.end()) AgainstBaseline(goals, name, it->second, then);
  }
  for (size_t p = 0; p < now.peerNames.size(); ++p) {
    if (now.peerNames[p] != "FTS5") continue;
    goals.Check("index smaller than FTS5's", Ratio(now.ourBytes / 1e6) + " MB against " + Ratio(now.peerBytes[p] / 1e6) + " MB",
                now.ourBytes < now.peerBytes[p]);
    const double theirs = now.peerBuildCpu[p];
    goals.Check("build no slower than FTS5's (CPU seconds)",
                Ratio(now.ourBuildCpu) + " s against " + (theirs < 0 ? std::string("unknown") : Ratio(theirs) + " s"),
                theirs >= 0 && now.ourBuildCpu <= theirs);
  }
  if (goals.unmet() == 0) std::printf("all goals met\n");
  else std::printf("%d goals not met\n", goals.unmet());
  return goals.unmet();
}

}  // namespace kro::bench
