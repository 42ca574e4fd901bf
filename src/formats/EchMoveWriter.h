// The moves of an ECH game: every line of play with its node properties,
// variations as nested sub-trees.
#pragma once

#include <string>

#include "tree/GameTree.h"

namespace varnock {

// Appends the moves from the root, each branch node's continuation and
// alternatives as bracketed sub-trees, and the ")" that closes the game.
// Keeps its own stack, so variations of any depth can be written.
void WriteEchMoves(const GameTree& game, std::string& out);

}  // namespace varnock
