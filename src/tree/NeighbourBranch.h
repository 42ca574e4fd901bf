// The neighbouring-branch key (BackSpace; Shift reverses).
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// At the nearest branch node above the current node, puts the next line of
// that node on the active line and goes to its first move. Repeated presses
// visit every line of the branch node in turn, oldest alternative first;
// `reverse` visits them in the opposite order. Returns false when no branch
// node lies above the current node.
bool GoToNeighbouringBranch(GameTree& game, bool reverse);

}  // namespace varnock
