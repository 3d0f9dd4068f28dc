#pragma once
// The goals search_bench holds its figures against, each printed with its figures as met or
// not met.
#include <map>
#include <string>
#include <vector>

namespace kro::bench {

struct ClassFigures {
  double median = 0, p95 = 0;  // seconds
  // The fastest run of each query, summed over the class; negative when not known.
  double best = -1;
  // Per peer, in the table's order; negative when the peer has no such query.
  std::vector<double> peerMedian, peerP95, peerBest;
};

struct BenchFigures {
  size_t articles = 0;
  std::vector<std::string> peerNames;
  std::map<std::string, ClassFigures> classes;
  // The longest stretch of a query without a progress call, in the query thread's CPU time
  // (the work between two calls) and on the wall clock (which counts other programs too).
  double longestGapCpu = 0, longestGapWall = 0;
  double ourBytes = 0;
  std::vector<double> peerBytes;
  double ourBuildCpu = 0;
  std::vector<double> peerBuildCpu;  // negative when not known (a reused index)
};

// The classes of the table an earlier run printed (its standard output); empty when the
// file cannot be read.
std::map<std::string, ClassFigures> ReadBaseline(const std::string& path);

// Prints every goal; answers how many are not met.
int PrintGoals(const BenchFigures& now, const std::map<std::string, ClassFigures>& baseline);

}  // namespace kro::bench
