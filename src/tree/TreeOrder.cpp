#include "tree/TreeOrder.h"

#include "tree/NodeWalk.h"

namespace varnock {

std::vector<NodeRef> NodesInTreeOrder(const GameTree& game) {
  NodeStore& store = game.Store();
  std::vector<NodeRef> order;
  // Chains still to walk; the top of the stack is walked next.
  std::vector<NodeRef> pending{game.root};
  while (!pending.empty()) {
    NodeRef at = pending.back();
    pending.pop_back();
    while (at != kNoNode) {
      order.push_back(at);
      const MoveNode& node = store.Node(at);
      const auto* alternatives = node.Has(kFlagBranch) ? store.Alternatives(at) : nullptr;
      if (alternatives && !alternatives->empty()) {
        // The continuation waits below the alternatives; the newest
        // alternative ends up on top.
        if (node.next != kNoNode) pending.push_back(node.next);
        for (const SBranchDetails* line : *alternatives)
          if (line->first != kNoNode) pending.push_back(line->first);
        break;
      }
      at = node.next;
    }
  }
  return order;
}

MoveCounts CountMoves(const GameTree& game) {
  NodeStore& store = game.Store();
  NodeWalk walk(store);
  MoveCounts counts;
  std::vector<NodeRef> pending;  // the first nodes of lines still to walk
  bool mainLine = true;
  for (NodeRef at = game.root;; at = pending.back(), pending.pop_back(), mainLine = false) {
    while (at != kNoNode) {
      const MoveNode& node = walk.Node(at);
      ++counts.all;
      counts.mainLine += mainLine ? 1 : 0;
      if (node.Has(kFlagBranch))
        if (const auto* alternatives = store.Alternatives(at))
          for (const SBranchDetails* line : *alternatives)
            if (line->first != kNoNode) pending.push_back(line->first);
      at = node.next;
    }
    if (pending.empty()) break;
  }
  // Not the root.
  counts.all -= counts.all > 0 ? 1 : 0;
  counts.mainLine -= counts.mainLine > 0 ? 1 : 0;
  return counts;
}

}  // namespace varnock
