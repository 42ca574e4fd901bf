// The facts of a stored move that the notation needs.
#pragma once

#include <string>

#include "core/MoveFacts.h"
#include "core/Notation.h"
#include "tree/NodeStore.h"

namespace varnock {

// Fills MoveFacts from a node, rebuilding the boards before and after it.
MoveFacts FactsOf(const NodeStore& store, NodeRef node);

// The node's move on one line ("23.  Bd6-e7+"), as the window's captions
// and status line show the current move: nothing for the first position, a
// composed position or a node that is not there; with `numberBlackMoves` a
// move of Black's is numbered too ("2... Qd8-h4+").
std::string CurrentMoveText(const NodeStore& store, NodeRef node, bool shortNotation, const NotationOptions& options,
                            bool numberBlackMoves = false);

}  // namespace varnock
