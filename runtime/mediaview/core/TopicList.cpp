#include "runtime/mediaview/core/TopicList.h"

#include <algorithm>
#include <iterator>

namespace kro::mv {

TopicList TopicList::Combine(ListOp op, const TopicList& a, const TopicList& b) {
  std::vector<uint32_t> out;
  const auto& x = a.topics_;
  const auto& y = b.topics_;
  switch (op) {
    case ListOp::Intersection:
      out.reserve(std::min(x.size(), y.size()));
      std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(out));
      break;
    case ListOp::Union:
      out.reserve(x.size() + y.size());
      std::set_union(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(out));
      break;
    case ListOp::Difference:
      out.reserve(x.size());
      std::set_difference(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(out));
      break;
  }
  return TopicList(std::move(out));
}

}  // namespace kro::mv
