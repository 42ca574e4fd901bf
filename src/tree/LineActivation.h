// Showing a node that may lie on an alternative line.
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// Makes the node's line part of the active line (the game is marked changed
// when lines were exchanged), then makes the node current.
void ActivateAndGoTo(GameTree& game, NodeRef node);

}  // namespace varnock
