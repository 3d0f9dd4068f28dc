#pragma once
// The playlist of the archive program: the catalogue records of the ticked list entries,
// in the order they were ticked, and the position of the movie on show. Portable.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kro::archive {

// List entry ids 1..100 stand for catalogue records 0..99; other ids are not movies.
constexpr uint32_t kFirstMovieEntry = 1;
constexpr uint32_t kLastMovieEntry = 100;
constexpr size_t kMaxTicked = kLastMovieEntry;

class Playlist {
public:
  // A check change of list entry `entryId`: state 1 appends its record, state 0 removes
  // the record's first occurrence and closes the gap. Other ids and states change nothing.
  void OnEntryChecked(uint32_t entryId, uint32_t state);

  const std::vector<int32_t>& Ticked() const { return ticked_; }
  size_t Count() const { return ticked_.size(); }

  // Starts at the first ticked record; nullopt when nothing is ticked.
  std::optional<int32_t> Start();
  // Steps to the next or the previous record; nullopt (and no step) at either end.
  std::optional<int32_t> Next();
  std::optional<int32_t> Previous();
  size_t Position() const { return position_; }
  bool HasNext() const { return position_ + 1 < ticked_.size(); }
  bool HasPrevious() const { return position_ > 0 && position_ < ticked_.size(); }

private:
  std::vector<int32_t> ticked_;
  size_t position_ = 0;
};

}  // namespace kro::archive
