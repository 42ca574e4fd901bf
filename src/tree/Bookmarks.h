// Bookmarks, store slots and the marker labels of the move list.
#pragma once

#include <optional>
#include <string>

#include "tree/SGridFrame.h"

namespace varnock {

// Removes an existing bookmark on the node, then adds one: number 0 takes the
// highest number + 1 and goes to the head of the list; a given number goes
// before the first bookmark whose number is not above it.
void SetBookmark(SGridFrame& game, NodeRef node, int number = 0);
std::optional<int> BookmarkOf(const SGridFrame& game, NodeRef node);
// Removes the node's bookmark; returns whether there was one.
bool RemoveBookmark(SGridFrame& game, NodeRef node);
// The move text a bookmark shows: "...    " before a Black move, or
// "( composed )" for a set-up position.
std::string BookmarkDescription(const SGridFrame& game, NodeRef node);

// The store slot (0..9) holding the node, or nothing.
std::optional<int> StoreNumberOf(const SGridFrame& game, NodeRef node);
// Empties the node's slot and marks the game changed.
void ClearStoredNode(SGridFrame& game, NodeRef node);

// " primary ", " BMarked ", " store %d ", " diagram ", " compose ": the marks
// of a node in the move list, in that order.
std::string MarkerLabels(const SGridFrame& game, NodeRef node);

}  // namespace varnock
