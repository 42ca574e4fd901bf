// The ten store slots of a game (Ctrl+Shift+digit stores, Ctrl+digit goes).
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// Puts the current node into slot 0..9, taking it out of any other slot and
// taking the slot's earlier node out.
void CmStorePosition(GameTree& game, int slot);

// Goes to the node in slot 0..9, making its line part of the active line
// first. Nothing happens for an empty slot or one holding the current node.
void CmGoToStoredPosition(GameTree& game, int slot);

// "Remove all Stored ( Ctrl+n ) Positions": empties every slot.
void CmRemoveAllStored(GameTree& game);

}  // namespace varnock
