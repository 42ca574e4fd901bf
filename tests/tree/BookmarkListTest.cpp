// The bookmark list against the rule it keeps, played out on a plain list
// searched from its start: numbers and order after any mix of set, renumber
// and remove.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>

#include "tree/Bookmarks.h"

namespace varnock {
namespace {

// The rule, as a plain list: 0 asks for the highest number + 1 at the head;
// a given number goes before the first bookmark whose number is not above it.
struct ReferenceList {
  std::list<std::pair<NodeRef, int>> marks;
  void Set(NodeRef node, int number) {
    Remove(node);
    if (number == 0) {
      int highest = 0;
      for (const auto& mark : marks) highest = std::max(highest, mark.second);
      marks.emplace_front(node, highest + 1);
      return;
    }
    auto at = marks.begin();
    while (at != marks.end() && at->second > number) ++at;
    marks.emplace(at, node, number);
  }
  bool Remove(NodeRef node) {
    const auto before = marks.size();
    marks.remove_if([node](const auto& mark) { return mark.first == node; });
    return marks.size() != before;
  }
};

TEST(BookmarkList, KeepsTheOrderAndNumbersOfAPlainList) {
  std::mt19937 random(19);
  for (int round = 0; round < 20; ++round) {
    NodeStore store;
    GameTree game(store);
    ReferenceList reference;
    for (int step = 0; step < 400; ++step) {
      const NodeRef node = static_cast<NodeRef>(random() % 40 + 1);
      const int action = static_cast<int>(random() % 10);
      if (action < 3) {
        EXPECT_EQ(RemoveBookmark(game, node), reference.Remove(node));
      } else {
        // Few numbers, so that many bookmarks share one.
        const int number = action < 6 ? 0 : static_cast<int>(random() % 6);
        SetBookmark(game, node, number);
        reference.Set(node, number);
      }
      ASSERT_EQ(game.bookmarks.size(), reference.marks.size());
      auto expected = reference.marks.begin();
      for (const SBookmarkDetails& mark : game.bookmarks) {
        ASSERT_EQ(mark.node, expected->first) << "round " << round << " step " << step;
        ASSERT_EQ(mark.number, expected->second) << "round " << round << " step " << step;
        EXPECT_EQ(BookmarkOf(game, mark.node), mark.number);
        ++expected;
      }
      EXPECT_EQ(BookmarkOf(game, 41), std::nullopt);
    }
    game.bookmarks.clear();
    EXPECT_EQ(BookmarkOf(game, reference.marks.empty() ? 1 : reference.marks.front().first), std::nullopt);
  }
}

}  // namespace
}  // namespace varnock
