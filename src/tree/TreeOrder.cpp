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

}  // namespace varnock
