#pragma once
// Authoring errors, each tied to a file and line, collected so one build reports them all.
#include <algorithm>
#include <string>
#include <vector>

namespace kro::titlec {

struct Diagnostic {
  std::string file;
  int line = 0;
  std::string message;
  bool operator<(const Diagnostic& o) const {
    return file != o.file ? file < o.file : line != o.line ? line < o.line : message < o.message;
  }
};

class Diagnostics {
public:
  void Error(const std::string& file, int line, std::string message) { list_.push_back({file, line, std::move(message)}); }
  bool empty() const { return list_.empty(); }
  size_t size() const { return list_.size(); }
  // Sorted by file and line, repeats dropped, so the report is stable whatever order files
  // were read in.
  std::vector<Diagnostic> Sorted() const {
    auto sorted = list_;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const Diagnostic& a, const Diagnostic& b) { return !(a < b) && !(b < a); }),
                 sorted.end());
    return sorted;
  }
  std::string Report() const {
    std::string out;
    for (const Diagnostic& d : Sorted())
      out += d.file + (d.line > 0 ? ":" + std::to_string(d.line) : "") + ": " + d.message + "\n";
    return out;
  }

private:
  std::vector<Diagnostic> list_;
};

}  // namespace kro::titlec
