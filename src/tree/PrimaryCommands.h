// The primary position of a game.
#pragma once

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// Goes to the primary position, making its line part of the active line
// first; reports when no position is marked primary.
void CmGoToPrimary(GameTree& game, UserPrompt& prompt);

// Marks the current position as the primary position, replacing any earlier
// one.
void MarkCurrentAsPrimary(GameTree& game);

}  // namespace varnock
