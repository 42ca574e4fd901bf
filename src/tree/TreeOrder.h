// Every node of a game in tree order.
#pragma once

#include <vector>

#include "tree/GameTree.h"

namespace varnock {

// The game's nodes from the root along continuation links; at a branch node,
// right after the node itself, each of its alternative lines (newest first,
// each with its own alternatives) before the continuation. The walk keeps its
// own stack, so deeply nested variations cannot exhaust the call stack.
std::vector<NodeRef> NodesInTreeOrder(const GameTree& game);

// How many moves the game holds in all its lines (every node but the root),
// and how many of them are on the main line, counted in one walk without
// gathering them.
struct MoveCounts {
  std::size_t all = 0;
  std::size_t mainLine = 0;
};
MoveCounts CountMoves(const GameTree& game);
inline std::size_t MoveCount(const GameTree& game) { return CountMoves(game).all; }

}  // namespace varnock
