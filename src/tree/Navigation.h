// Moving the current node of a game and showing its position.
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// Rebuilds the displayed board, side to move and king squares from the
// current node.
void ShowCurrentPosition(GameTree& game);

// The status text for a position: "White to move" or "Black to move".
std::string ToMoveText(std::uint8_t side);

// Makes `node` current. Unless quiet, also sets the status text and tells
// the observer (the board, the move list and the explorer and engine panes
// follow it). Does nothing when the node is already current.
void GoToNode(GameTree& game, NodeRef node, bool quiet = false);

void GoToRoot(GameTree& game);
void GoToLineEnd(GameTree& game);
void GoBack(GameTree& game, int moves);
void GoForward(GameTree& game, int moves);
// To the nearest earlier node whose move was a pawn move or a capture.
void GoBackToPawnOrCapture(GameTree& game);
// To the next such node, or the line end.
void GoForwardToPawnOrCapture(GameTree& game);

}  // namespace varnock
