#pragma once
// The history ("the way"): every article position the reader left, newest last, and the
// cursor that the back command walks. Portable: the title runtime's values arrive as
// plain numbers and the topic name as text, which the entry owns.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/navigation/StateFiles.h"

namespace kro::navigation {

struct Position {
  int32_t address = -1;
  int32_t scroll = 0;
  std::optional<std::string> name;  // none when the topic has no name
  int32_t topicNumber = 0;
  int32_t title = 0;
};

class History {
public:
  static constexpr int kCapacity = 500;

  // Records a position left behind; a full list drops its oldest entry. The cursor moves
  // to the new entry.
  void Record(const Position& position);
  // The entry at the cursor, which then moves one back; nullopt when there is none.
  std::optional<Position> Back();
  // The back command: steps back, records `current` (the position being left) and shows
  // what Back gave. Answers the position to show, or nullopt when there is nothing.
  std::optional<Position> GoBack(const Position& current);

  const Position& At(int index) const { return entries_[static_cast<size_t>(index)]; }
  int Last() const { return static_cast<int>(entries_.size()) - 1; }
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor) { cursor_ = cursor; }
  // The texts the history dialog lists, newest first.
  std::vector<std::string> ListTexts() const;
  void Clear();

  // The 24-byte form of an entry, as the state files keep it.
  HistoryEntry Stored(int index) const;

private:
  std::vector<Position> entries_;
  int cursor_ = -1;
};

}  // namespace kro::navigation
