#include "app/navigation/History.h"

#include <algorithm>

namespace kro::navigation {

void History::Record(const Position& position) {
  if (entries_.size() == kCapacity) entries_.erase(entries_.begin());
  entries_.push_back(position);
  cursor_ = Last();
}

std::optional<Position> History::Back() {
  if (cursor_ < 0) return std::nullopt;
  Position position = entries_[static_cast<size_t>(cursor_)];
  --cursor_;
  return position;
}

std::optional<Position> History::GoBack(const Position& current) {
  auto target = Back();
  if (!target) return std::nullopt;
  const int cursor = cursor_;
  const bool wasFull = entries_.size() == kCapacity;
  Record(current);
  // Recording into a full list moved every entry down by one.
  cursor_ = wasFull ? std::max(cursor - 1, -1) : cursor;
  return target;
}

std::vector<std::string> History::ListTexts() const {
  std::vector<std::string> texts;
  texts.reserve(entries_.size());
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    texts.push_back(it->name ? *it->name : "Topic #" + std::to_string(it->topicNumber));
  return texts;
}

void History::Clear() {
  entries_.clear();
  cursor_ = -1;
}

HistoryEntry History::Stored(int index) const {
  const Position& p = At(index);
  return {1, p.address, p.scroll, p.name ? 1 : 0, p.name ? 0 : p.topicNumber, p.title};
}

}  // namespace kro::navigation
