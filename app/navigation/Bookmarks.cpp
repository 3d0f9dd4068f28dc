#include "app/navigation/Bookmarks.h"

#include <algorithm>

namespace kro::navigation {

std::vector<std::string> BookmarkTable::Names() const {
  std::vector<std::string> names;
  names.reserve(marks_.size());
  for (const Bookmark& mark : marks_) names.push_back(mark.name);
  return names;
}

bool BookmarkTable::Add(std::string name, const HistoryEntry& entry) {
  if (static_cast<int>(marks_.size()) >= kCapacity) return false;
  marks_.push_back({std::move(name), entry});
  return true;
}

void BookmarkTable::Delete(int index) {
  if (index < 0 || index > Last()) return;
  marks_.erase(marks_.begin() + index);
}

void BookmarkTable::SetNames(std::span<const std::string> names) {
  // Each name takes its NUL, and the NULs of the names after it are kept free; the block
  // keeps one byte for the closing empty name.
  size_t left = kNamesBlockBytes - 1;
  const size_t count = std::min(names.size(), marks_.size());
  for (size_t i = 0; i < count; ++i) {
    const size_t reserved = count - i;  // this name's NUL and those of the later ones
    const size_t length = std::min(names[i].size(), left - reserved);
    marks_[i].name = names[i].substr(0, length);
    left -= length + 1;
  }
}

void BookmarkTable::Load(std::vector<Bookmark> marks, int32_t title) {
  if (marks.size() > kMaxBookmarks) marks.resize(kMaxBookmarks);
  for (Bookmark& mark : marks) mark.entry.title = title;
  marks_ = std::move(marks);
}

}  // namespace kro::navigation
