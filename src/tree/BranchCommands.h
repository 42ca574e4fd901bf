// Commands that delete lines of the displayed game: a branch, the branching
// above or below the current move, the neighbouring lines, everything after
// a move, and the last move.
#pragma once

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// Whether the game's primary node is `node` or lies below it.
bool PrimaryAtOrBelow(const GameTree& game, NodeRef node);
// Whether the primary node lies on the active line.
bool PrimaryOnActiveLine(const GameTree& game);

// Deletes the line containing `node` from its first node after the nearest
// branch node above it. Returns whether anything was deleted.
bool DeleteBranch(GameTree& game, NodeRef node, bool confirm, UserPrompt& prompt);

enum class BranchDirection { Higher, Lower };
// Removes the alternatives hanging off the branch nodes above the current
// node (higher) or at and below it (lower) on the active line.
bool RemoveOffBranches(GameTree& game, BranchDirection direction, UserPrompt& prompt);

// Removes the alternatives of the current node's parent.
bool CmRemoveNeighbours(GameTree& game, UserPrompt& prompt);

// Deletes everything after `node`.
bool CmTruncate(GameTree& game, NodeRef node, bool confirm, UserPrompt& prompt);

// Deletes the move at the end of the active line.
bool DeleteCurrentMove(GameTree& game, UserPrompt& prompt);

}  // namespace varnock
