#include "tree/NeighbourBranch.h"

#include <algorithm>

#include "tree/Lines.h"
#include "tree/Navigation.h"

namespace varnock {

bool GoToNeighbouringBranch(GameTree& game, bool reverse) {
  NodeStore& store = game.Store();
  NodeRef branch = kNoNode;
  for (NodeRef at = game.Node(game.current).parent; at != kNoNode; at = game.Node(at).parent) {
    auto* alternatives = store.Alternatives(at);
    if (game.Node(at).Has(kFlagBranch) && alternatives && !alternatives->empty()) {
      branch = at;
      break;
    }
  }
  if (branch == kNoNode) return false;
  // The branch node must be on the active line for the line end to follow.
  ActivateLineOf(game, branch);

  auto* alternatives = store.Alternatives(branch);
  if (!reverse) {
    // The oldest alternative comes up; the line it replaces goes to the back.
    SelectLine(game, alternatives->front()->first);
  } else {
    // The newest alternative comes up; the line it replaces goes to the front.
    SBranchDetails* line = alternatives->back();
    SwapWithContinuation(game, line);
    alternatives = store.Alternatives(branch);
    if (alternatives && !alternatives->empty() && alternatives->back() == line)
      std::rotate(alternatives->begin(), alternatives->end() - 1, alternatives->end());
  }
  game.ForgetCommentRing();
  game.MarkChanged();
  GoToNode(game, game.Node(branch).next);
  return true;
}

}  // namespace varnock
