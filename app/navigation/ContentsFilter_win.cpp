#include "app/navigation/ContentsFilter_win.h"

#include <algorithm>
#include <string>

#include "app/navigation/ContentsPosition.h"

namespace kro::navigation {
namespace {

HMVTOPICLIST Combine(UINT op, HMVTOPICLIST a, HMVTOPICLIST b) { return hMVTopicListCombine(op, a, b); }

void Destroy(HMVTOPICLIST& list) {
  if (list) MVTopicListDestroy(list);
  list = nullptr;
}

// Replaces `slot` by `value`, destroying what it held.
void Replace(HMVTOPICLIST& slot, HMVTOPICLIST value) {
  Destroy(slot);
  slot = value;
}

bool Empty(HMVTOPICLIST list) { return !list || lMVTopicListLength(list) <= 0; }

// (a − x) ∪ (b ∩ x), the intermediate lists destroyed at once.
HMVTOPICLIST Shift(HMVTOPICLIST a, HMVTOPICLIST b, HMVTOPICLIST x) {
  HMVTOPICLIST kept = Combine(MV_LIST_DIFFERENCE, a, x);
  HMVTOPICLIST moved = Combine(MV_LIST_INTERSECTION, b, x);
  HMVTOPICLIST result = Combine(MV_LIST_UNION, kept, moved);
  Destroy(kept);
  Destroy(moved);
  return result;
}

HMVTOPICLIST LoadCategory(HMVTITLE title, int32_t id) { return hMVTopicListLoad(title, std::to_string(id).c_str()); }

}  // namespace

void ContentsFilter::AddList(HMVTOPICLIST x) {
  if (level_ < 0) {
    levels_[0] = Combine(MV_LIST_UNION, x, x);
    union_ = Combine(MV_LIST_UNION, x, x);
    level_ = 0;
  } else {
    const int top = std::min(level_ + 1, kFilterLevels - 1);
    HMVTOPICLIST risen = Combine(MV_LIST_INTERSECTION, levels_[level_], x);
    if (level_ + 1 < kFilterLevels) {
      levels_[level_ + 1] = risen;
    } else {
      // No sixth level: E[4] keeps its own topics that are in x as well ("five or more").
      if (!Empty(risen)) saturated_ = true;
      Destroy(risen);
      HMVTOPICLIST joined = Combine(MV_LIST_INTERSECTION, levels_[level_ - 1], x);
      HMVTOPICLIST grown = Combine(MV_LIST_UNION, levels_[level_], joined);
      Destroy(joined);
      Replace(levels_[level_], grown);
    }
    for (int i = std::min(level_, kFilterLevels - 2); i >= 1; --i) Replace(levels_[i], Shift(levels_[i], levels_[i - 1], x));
    HMVTOPICLIST fresh = Combine(MV_LIST_DIFFERENCE, x, union_);
    HMVTOPICLIST kept = Combine(MV_LIST_DIFFERENCE, levels_[0], x);
    Replace(levels_[0], Combine(MV_LIST_UNION, kept, fresh));
    Destroy(kept);
    Destroy(fresh);
    Replace(union_, Combine(MV_LIST_UNION, union_, x));
    if (!Empty(levels_[top])) level_ = top;
    else if (top != level_) Destroy(levels_[top]);
  }
}

void ContentsFilter::Add(HMVTITLE title, int32_t id) {
  if (std::find(checked_.begin(), checked_.end(), id) != checked_.end()) return;
  HMVTOPICLIST x = LoadCategory(title, id);
  if (!x) return;
  if (level_ < 0 && Empty(x)) {
    Destroy(x);
    return;
  }
  AddList(x);
  Destroy(x);
  checked_.push_back(id);
}

void ContentsFilter::Remove(HMVTITLE title, int32_t id) {
  const auto at = std::find(checked_.begin(), checked_.end(), id);
  if (at == checked_.end() || level_ < 0) return;
  HMVTOPICLIST x = LoadCategory(title, id);
  if (!x) return;
  checked_.erase(at);
  if (saturated_) {
    Destroy(x);
    Rebuild(title);
    return;
  }
  HMVTOPICLIST once = Combine(MV_LIST_INTERSECTION, levels_[0], x);
  Replace(union_, Combine(MV_LIST_DIFFERENCE, union_, once));
  Destroy(once);
  for (int i = 0; i < level_; ++i) Replace(levels_[i], Shift(levels_[i], levels_[i + 1], x));
  Replace(levels_[level_], Combine(MV_LIST_DIFFERENCE, levels_[level_], x));
  Destroy(x);
  if (Empty(levels_[level_])) {
    Destroy(levels_[level_]);
    if (--level_ < 0) {
      Destroy(union_);
      return;
    }
  }
}

// Counts again from the categories still checked, in their order.
void ContentsFilter::Rebuild(HMVTITLE title) {
  std::vector<int32_t> ids;
  ids.swap(checked_);
  HMVTOPICLIST shown = shown_;
  shown_ = nullptr;
  Reset();
  shown_ = shown;
  for (const int32_t id : ids) Add(title, id);
}

void ContentsFilter::ApplyBox(HMVTITLE title, bool on) {
  Destroy(shown_);
  if (on) {
    HMVTOPICLIST illustrated = hMVTopicListLoad(title, kIllustratedList);
    if (level_ >= 0 && illustrated) {
      shown_ = Combine(MV_LIST_INTERSECTION, illustrated, union_);
      Destroy(illustrated);
    } else {
      shown_ = illustrated;
    }
  } else if (level_ >= 0) {
    shown_ = Combine(MV_LIST_UNION, union_, union_);
  }
}

void ContentsFilter::Reset() {
  level_ = -1;
  for (HMVTOPICLIST& list : levels_) Destroy(list);
  Destroy(union_);
  Destroy(shown_);
  saturated_ = false;
  checked_.clear();
}

int32_t ContentsFilter::ShownCount(int32_t total) const {
  if (shown_) return std::max<LONG>(lMVTopicListLength(shown_), 0);
  if (level_ >= 0) return std::max<LONG>(lMVTopicListLength(union_), 0);
  return total;
}

void ContentsIndex::Open(HMVTITLE title, HMVWORDWHEEL wheel, LPMV scratchDisplay) {
  if (title_ != title) filter_.Reset();
  title_ = title;
  wheel_ = wheel;
  scratch_ = scratchDisplay;
  total_ = wheel ? std::max<LONG>(lMVWordWheelLength(wheel), 0) : 0;
}

int ContentsIndex::EntryText(int32_t n, char* buffer, size_t size) const {
  if (!buffer || size == 0) return MVERR_INVALID;
  buffer[0] = '\0';
  if (!wheel_) return MVERR_INVALID;
  LONG entry = n;
  if (HMVTOPICLIST shown = filter_.Shown()) entry = lMVTopicListLookup(shown, n);
  return nMVWordWheelLookup(wheel_, entry, buffer, static_cast<LONG>(size)) & 0xFFFF;
}

// The topic number of a key's first address, read back through the scratch display.
int32_t ContentsIndex::TopicOfKey(const char* key) const {
  LONG address = -1;
  if (lMVKeyIndexGetAddrs(wheel_, key, 0, 1, &address) < 1) return -1;
  LONG err = 0;
  fMVSetAddress(scratch_, vaMVConvertAddr(title_, address), MV_REGION_BODY, 0, &err);
  return lMVTopicNumber(scratch_);
}

int32_t ContentsIndex::PrefixPosition(const char* prefix) const {
  if (!wheel_) return -1;
  const LONG entry = lMVWordWheelPrefix(wheel_, prefix);
  HMVTOPICLIST shown = filter_.Shown();
  if (!shown) return entry;
  const int32_t count = ShownCount();
  if (count <= 0) return -1;
  // Past the word wheel's end every shown entry comes before the prefix.
  char key[kEntryTextBytes] = {};
  if (entry >= total_ || nMVWordWheelLookup(wheel_, entry, key, sizeof key) != 0) return count;
  const int32_t topic = TopicOfKey(key);
  if (topic < 0) return count;
  return PositionInList(topic, count, [shown](int32_t i) { return lMVTopicListLookup(shown, i); });
}

ContentsIndex& Contents() {
  static ContentsIndex index;
  return index;
}

}  // namespace kro::navigation
