// Commands that delete lines of the displayed game: a branch, the branching
// above or below the current move, the neighbouring lines, everything after
// a move, and the last move.
#pragma once

#include "core/UserPrompt.h"
#include "tree/SGridFrame.h"

namespace varnock {

// Whether the game's primary node is `node` or lies below it.
bool PrimaryAtOrBelow(const SGridFrame& game, NodeRef node);
// Whether the primary node lies on the active line.
bool PrimaryOnActiveLine(const SGridFrame& game);

// Deletes the line containing `node` from its first node after the nearest
// branch node above it. Returns whether anything was deleted.
bool DeleteBranch(SGridFrame& game, NodeRef node, bool confirm, UserPrompt& prompt);

enum class BranchDirection { Higher, Lower };
// Removes the alternatives hanging off the branch nodes above the current
// node (higher) or at and below it (lower) on the active line.
bool RemoveOffBranches(SGridFrame& game, BranchDirection direction, UserPrompt& prompt);

// Removes the alternatives of the current node's parent.
bool CmRemoveNeighbours(SGridFrame& game, UserPrompt& prompt);

// Deletes everything after `node`.
bool CmTruncate(SGridFrame& game, NodeRef node, bool confirm, UserPrompt& prompt);

// Deletes the move at the end of the active line.
bool DeleteCurrentMove(SGridFrame& game, UserPrompt& prompt);

}  // namespace varnock
