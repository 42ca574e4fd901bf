// The records that describe a game's lines and bookmarks.
#pragma once

#include <string>

#include "tree/MoveNode.h"

namespace varnock {

// One line of play: a chain of continuation links from its first node to its
// last. A game has one for the line starting at the root and one per
// alternative line.
struct SBranchDetails {
  NodeRef first = kNoNode;
  NodeRef last = kNoNode;
};

// One bookmark; its move number and text are worked out when shown.
struct SBookmarkDetails {
  NodeRef node = kNoNode;
  int number = 0;
};

}  // namespace varnock
