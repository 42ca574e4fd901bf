#include "tree/Junctions.h"

#include <algorithm>
#include <vector>

#include "tree/LineActivation.h"
#include "tree/Lines.h"
#include "tree/Navigation.h"
#include "tree/TreeOrder.h"

namespace varnock {

namespace {

bool IsJunction(const MoveNode& node) { return node.Has(kFlagBranch); }

}  // namespace

void GoToPreviousJunction(GameTree& game) {
  NodeRef at = game.Node(game.current).parent;
  while (at != kNoNode && !IsJunction(game.Node(at)) && game.Node(at).parent != kNoNode) at = game.Node(at).parent;
  GoToNode(game, at == kNoNode ? game.root : at);
}

void GoToNextJunction(GameTree& game) {
  NodeRef at = game.current;
  while (game.Node(at).next != kNoNode) {
    at = game.Node(at).next;
    if (IsJunction(game.Node(at))) break;
  }
  GoToNode(game, at);
}

void CycleBranchEnds(GameTree& game, bool forward) {
  // Going to an end makes its line active, which reorders the lines; the
  // ends are taken in the order their nodes were made, which stays put.
  std::vector<NodeRef> ends;
  for (NodeRef node : NodesInTreeOrder(game))
    if (node != game.root && game.Node(node).next == kNoNode) ends.push_back(node);
  if (ends.empty()) return;
  std::sort(ends.begin(), ends.end());
  // The current node's own end, when it lies on a line: where the cycle
  // stands now.
  const NodeRef at = ChainEnd(game, game.current);
  auto place = std::find(ends.begin(), ends.end(), at);
  std::size_t index = place == ends.end() ? 0 : static_cast<std::size_t>(place - ends.begin());
  const bool onEnd = game.current == at && place != ends.end();
  const std::size_t count = ends.size();
  std::size_t target;
  if (forward)
    target = onEnd ? (index + 1) % count : index;
  else
    target = (index + count - 1) % count;
  ActivateAndGoTo(game, ends[target]);
}

}  // namespace varnock
