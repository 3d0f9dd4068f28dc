#pragma once
// The bookmark table: at most 32 named positions, kept for the run and saved in
// "\bookmark.tmp" (StateFiles.h). Portable. The names live in a block of 4096 bytes while
// the program runs: consecutive NUL-terminated names ended by an empty one.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/navigation/StateFiles.h"

namespace kro::navigation {

class BookmarkTable {
public:
  static constexpr int kCapacity = static_cast<int>(kMaxBookmarks);
  static constexpr size_t kNamesBlockBytes = 4096;

  // Index of the last bookmark, -1 when there are none.
  int Last() const { return static_cast<int>(marks_.size()) - 1; }
  const Bookmark& At(int index) const { return marks_[static_cast<size_t>(index)]; }
  std::vector<std::string> Names() const;
  // False when 32 bookmarks exist.
  bool Add(std::string name, const HistoryEntry& entry);
  void Delete(int index);
  // Takes the names back from the dialog's list, in list order, as the names block holds
  // them: a name that would overrun the block is cut to what is left, never dropped, so
  // every name stays beside its position.
  void SetNames(std::span<const std::string> names);
  // The bookmarks of the file, with the title handle of the open title.
  void Load(std::vector<Bookmark> marks, int32_t title);
  std::span<const Bookmark> All() const { return marks_; }
  void Clear() { marks_.clear(); }

private:
  std::vector<Bookmark> marks_;
};

}  // namespace kro::navigation
