// The bookmarks of one game: highest number first, found by node and by
// number without a walk along the list, so that a game with a bookmark on
// every move reads, edits and frees in time that grows with its length.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <unordered_map>

#include "tree/LineRecords.h"

namespace varnock {

class BookmarkList {
 public:
  using const_iterator = std::list<SBookmarkDetails>::const_iterator;

  const_iterator begin() const { return marks_.begin(); }
  const_iterator end() const { return marks_.end(); }
  bool empty() const { return marks_.empty(); }
  std::size_t size() const { return marks_.size(); }
  const SBookmarkDetails& front() const { return marks_.front(); }
  // The highest number in use, 0 when there is none.
  int Highest() const { return marks_.empty() ? 0 : marks_.front().number; }

  std::optional<int> NumberOf(NodeRef node) const;
  // Adds a bookmark for a node that has none: before the first bookmark
  // whose number is not above `number`.
  void Insert(NodeRef node, int number);
  // Removes the node's bookmark; returns whether there was one.
  bool Remove(NodeRef node);
  void clear();

 private:
  using Iterator = std::list<SBookmarkDetails>::iterator;
  std::list<SBookmarkDetails> marks_;
  std::unordered_map<NodeRef, Iterator> byNode_;
  // Each number in use and its first bookmark in the list.
  std::map<int, Iterator, std::greater<int>> firstOfNumber_;
};

}  // namespace varnock
