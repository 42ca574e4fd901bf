// The ten store slots of a game (Ctrl+Shift+digit stores, Ctrl+digit goes).
#pragma once

#include "tree/SGridFrame.h"

namespace varnock {

// Puts the current node into slot 0..9, taking it out of any other slot and
// taking the slot's earlier node out.
void CmStorePosition(SGridFrame& game, int slot);

// Goes to the node in slot 0..9, making its line part of the active line
// first. Nothing happens for an empty slot or one holding the current node.
void CmGoToStoredPosition(SGridFrame& game, int slot);

// "Remove all Stored ( Ctrl+n ) Positions": empties every slot.
void CmRemoveAllStored(SGridFrame& game);

}  // namespace varnock
