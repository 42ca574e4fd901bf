#include "tree/BookmarkList.h"

namespace varnock {

std::optional<int> BookmarkList::NumberOf(NodeRef node) const {
  const auto found = byNode_.find(node);
  if (found == byNode_.end()) return std::nullopt;
  return found->second->number;
}

void BookmarkList::Insert(NodeRef node, int number) {
  // The first number in use that is not above `number` (the keys run from
  // the highest down) marks the place.
  const auto notAbove = firstOfNumber_.lower_bound(number);
  const Iterator before = notAbove == firstOfNumber_.end() ? marks_.end() : notAbove->second;
  const Iterator added = marks_.insert(before, SBookmarkDetails{node, number});
  byNode_[node] = added;
  firstOfNumber_[number] = added;
}

bool BookmarkList::Remove(NodeRef node) {
  const auto found = byNode_.find(node);
  if (found == byNode_.end()) return false;
  const Iterator mark = found->second;
  byNode_.erase(found);
  const auto first = firstOfNumber_.find(mark->number);
  if (first != firstOfNumber_.end() && first->second == mark) {
    const Iterator next = std::next(mark);
    if (next != marks_.end() && next->number == mark->number)
      first->second = next;
    else
      firstOfNumber_.erase(first);
  }
  marks_.erase(mark);
  return true;
}

void BookmarkList::clear() {
  marks_.clear();
  byNode_.clear();
  firstOfNumber_.clear();
}

}  // namespace varnock
