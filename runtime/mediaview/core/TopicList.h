#pragma once
// A topic list: ascending, unique topic numbers. Stored lists, query results and the
// contents filter are all topic lists; combining never changes its operands.
#include <cstdint>
#include <vector>

namespace kro::mv {

enum class ListOp : uint32_t { Intersection = 0, Union = 1, Difference = 2 };

class TopicList {
public:
  TopicList() = default;
  // `topics` must be ascending and unique (stored lists are checked when read).
  explicit TopicList(std::vector<uint32_t> topics) : topics_(std::move(topics)) {}

  uint32_t size() const { return static_cast<uint32_t>(topics_.size()); }
  // The topic at `index`, or 0xFFFFFFFF outside the list.
  uint32_t At(uint32_t index) const { return index < topics_.size() ? topics_[index] : 0xFFFFFFFFu; }
  const std::vector<uint32_t>& topics() const { return topics_; }

  static TopicList Combine(ListOp op, const TopicList& a, const TopicList& b);

private:
  std::vector<uint32_t> topics_;
};

}  // namespace kro::mv
