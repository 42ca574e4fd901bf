#include "tree/LineActivation.h"

#include "tree/Lines.h"
#include "tree/Navigation.h"

namespace varnock {

void ActivateAndGoTo(GameTree& game, NodeRef node) {
  if (node == kNoNode) return;
  if (ActivateLineOf(game, node)) game.MarkChanged();
  GoToNode(game, node);
}

}  // namespace varnock
