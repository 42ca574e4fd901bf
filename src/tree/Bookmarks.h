// Bookmarks, store slots and the marker labels of the move list.
#pragma once

#include <optional>
#include <string>

#include "tree/GameTree.h"

namespace varnock {

// Removes an existing bookmark on the node, then adds one: number 0 takes the
// highest number + 1 and goes to the head of the list; a given number goes
// before the first bookmark whose number is not above it.
void SetBookmark(GameTree& game, NodeRef node, int number = 0);
std::optional<int> BookmarkOf(const GameTree& game, NodeRef node);
// Removes the node's bookmark; returns whether there was one.
bool RemoveBookmark(GameTree& game, NodeRef node);
// The move text a bookmark shows: "...    " before a Black move, or
// "( composed )" for a set-up position.
std::string BookmarkDescription(const GameTree& game, NodeRef node);

// The store slot (0..9) holding the node, or nothing.
std::optional<int> StoreNumberOf(const GameTree& game, NodeRef node);
// Empties the node's slot and marks the game changed.
void ClearStoredNode(GameTree& game, NodeRef node);

// " primary ", " BMarked ", " store %d ", " diagram ", " compose ": the marks
// of a node in the move list, in that order.
std::string MarkerLabels(const GameTree& game, NodeRef node);

}  // namespace varnock
