#pragma once
// The contents list's data, process-wide: the title's word wheel "|a" and the category
// filter over it. Checked categories are kept as topic lists by how many of them each
// topic belongs to (E[0] once, E[1] twice, ... E[4] five times or more), with their union
// U; F, the list on show, is U, or U narrowed to the stored list "107" by the check box,
// or "107" alone. Every list is a title-runtime topic list owned here.
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/mediaview/MediaView.h"

namespace kro::navigation {

constexpr int kFilterLevels = 5;
constexpr const char* kIllustratedList = "107";
constexpr size_t kEntryTextBytes = 128;

class ContentsFilter {
public:
  ContentsFilter() = default;
  ~ContentsFilter() { Reset(); }
  ContentsFilter(const ContentsFilter&) = delete;
  ContentsFilter& operator=(const ContentsFilter&) = delete;

  // The category with stored list `id` joins or leaves the filter; a category without a
  // list, one already in (for Add) or not in (for Remove) changes nothing.
  void Add(HMVTITLE title, int32_t id);
  void Remove(HMVTITLE title, int32_t id);
  // The "107" box: F from U and the box.
  void ApplyBox(HMVTITLE title, bool on);
  void Reset();

  int Level() const { return level_; }
  HMVTOPICLIST Union() const { return union_; }
  HMVTOPICLIST Shown() const { return shown_; }  // F; 0 when nothing filters
  // The length of F, or of U between a change and the box, or `total` without a filter.
  int32_t ShownCount(int32_t total) const;
  const std::vector<int32_t>& Checked() const { return checked_; }

private:
  void AddList(HMVTOPICLIST x);
  void Rebuild(HMVTITLE title);

  int level_ = -1;
  std::array<HMVTOPICLIST, kFilterLevels> levels_{};
  HMVTOPICLIST union_ = nullptr;
  HMVTOPICLIST shown_ = nullptr;
  // Whether a topic belongs to more checked categories than the levels count: E[4] then
  // stands for "five or more", and a removal recounts from the categories still checked.
  bool saturated_ = false;
  std::vector<int32_t> checked_;  // in the order they were added
};

// The word wheel and the filter together: what the contents list shows.
class ContentsIndex {
public:
  void Open(HMVTITLE title, HMVWORDWHEEL wheel, LPMV scratchDisplay);
  HMVWORDWHEEL Wheel() const { return wheel_; }
  int32_t Total() const { return total_; }
  ContentsFilter& Filter() { return filter_; }
  int32_t ShownCount() const { return filter_.ShownCount(total_); }
  // Entry n of the shown list into `buffer` (cut to `size` - 1); the word wheel's answer,
  // low 16 bits (0 done).
  int EntryText(int32_t n, char* buffer, size_t size) const;
  // The shown list's first entry not before `prefix`: the shown count when none, -1 when
  // a filter shows nothing.
  int32_t PrefixPosition(const char* prefix) const;

private:
  int32_t TopicOfKey(const char* key) const;

  HMVTITLE title_ = nullptr;
  HMVWORDWHEEL wheel_ = nullptr;
  LPMV scratch_ = nullptr;
  int32_t total_ = 0;
  ContentsFilter filter_;
};

ContentsIndex& Contents();

}  // namespace kro::navigation
