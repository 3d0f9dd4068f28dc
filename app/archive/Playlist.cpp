#include "app/archive/Playlist.h"

#include <algorithm>

namespace kro::archive {

void Playlist::OnEntryChecked(uint32_t entryId, uint32_t state) {
  if (entryId < kFirstMovieEntry || entryId > kLastMovieEntry) return;
  const auto record = static_cast<int32_t>(entryId - kFirstMovieEntry);
  if (state == 1) {
    // One entry is ticked at most once, so the array cannot outgrow the entries; the
    // bound guards against a list that reports a tick twice.
    if (ticked_.size() < kMaxTicked) ticked_.push_back(record);
  } else if (state == 0) {
    if (const auto found = std::find(ticked_.begin(), ticked_.end(), record); found != ticked_.end()) ticked_.erase(found);
  }
}

std::optional<int32_t> Playlist::Start() {
  position_ = 0;
  if (ticked_.empty()) return std::nullopt;
  return ticked_[0];
}

std::optional<int32_t> Playlist::Next() {
  if (!HasNext()) return std::nullopt;
  return ticked_[++position_];
}

std::optional<int32_t> Playlist::Previous() {
  if (!HasPrevious()) return std::nullopt;
  return ticked_[--position_];
}

}  // namespace kro::archive
