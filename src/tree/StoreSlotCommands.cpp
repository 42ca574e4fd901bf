#include "tree/StoreSlotCommands.h"

#include "tree/Bookmarks.h"
#include "tree/LineActivation.h"

namespace varnock {

namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < 10; }

}  // namespace

void CmStorePosition(GameTree& game, int slot) {
  if (!ValidSlot(slot)) return;
  NodeRef& target = game.storeSlots[static_cast<std::size_t>(slot)];
  const NodeRef node = game.current;
  if (target == node) return;
  if (auto other = StoreNumberOf(game, node)) game.storeSlots[static_cast<std::size_t>(*other)] = kNoNode;
  if (target != kNoNode) game.Node(target).Set2(kFlag2Stored, false);
  target = node;
  game.Node(node).Set2(kFlag2Stored, true);
  game.MarkChanged();
}

void CmGoToStoredPosition(GameTree& game, int slot) {
  if (!ValidSlot(slot)) return;
  const NodeRef node = game.storeSlots[static_cast<std::size_t>(slot)];
  if (node == kNoNode || node == game.current) return;
  ActivateAndGoTo(game, node);
}

void CmRemoveAllStored(GameTree& game) {
  bool any = false;
  for (NodeRef& slot : game.storeSlots) {
    if (slot == kNoNode) continue;
    game.Node(slot).Set2(kFlag2Stored, false);
    slot = kNoNode;
    any = true;
  }
  if (any) game.MarkChanged();
}

}  // namespace varnock
