// The lines of a game: alternatives, selecting a line, freeing a line.
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// The last node of the chain of continuation links from `node`.
NodeRef ChainEnd(const GameTree& game, NodeRef node);

// The record of the line that holds the node: the root's line, or the
// alternative whose first node is reached walking parent links from the node
// until a node is not its parent's continuation. nullptr for a node of an
// unregistered line.
SBranchDetails* LineContaining(GameTree& game, NodeRef node);

// Whether the node lies on the active line (the root's chain).
bool OnActiveLine(const GameTree& game, NodeRef node);

// Exchanges an alternative line with the continuation of its branch node:
// the alternative's record takes the old continuation and its chain end, the
// branch node continues with the alternative, and the record of the line that
// holds the branch node (and the game's line end, for the active line) now
// ends where the alternative ended.
void SwapWithContinuation(GameTree& game, SBranchDetails* alternative);

// Makes the alternative starting at `first` part of the active line, then
// moves the record now holding the old continuation to the end of the branch
// node's alternatives.
void SelectLine(GameTree& game, NodeRef first);

// Makes the line containing the node part of the active line, exchanging
// lines upwards until the root's line is reached. Returns whether anything
// changed.
bool ActivateLineOf(GameTree& game, NodeRef node);

// Frees a node and every node reached from it by continuation links, with
// their attributes, alternatives, bookmarks, store slots and primary mark.
void FreeChain(GameTree& game, NodeRef first);

// Frees every alternative line of a branch node and clears its branch bit.
void RemoveAlternatives(GameTree& game, NodeRef branch);

}  // namespace varnock
