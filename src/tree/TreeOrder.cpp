#include "tree/TreeOrder.h"

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

std::size_t MoveCount(const GameTree& game) {
  NodeStore& store = game.Store();
  std::size_t nodes = 0;
  std::vector<NodeRef> pending{game.root};  // line starts still to walk
  while (!pending.empty()) {
    NodeRef at = pending.back();
    pending.pop_back();
    for (; at != kNoNode; at = store.Node(at).next) {
      ++nodes;
      if (!store.Node(at).Has(kFlagBranch)) continue;
      if (const auto* alternatives = store.Alternatives(at))
        for (const SBranchDetails* line : *alternatives)
          if (line->first != kNoNode) pending.push_back(line->first);
    }
  }
  return nodes - 1;  // not the root
}

}  // namespace varnock
