#include "tree/Bookmarks.h"

#include <climits>

#include "core/Format.h"
#include "core/Notation.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

std::string BookmarkDescription(const GameTree& game, NodeRef node) {
  const MoveNode& n = game.Node(node);
  if (n.Has(kFlagComposed)) return "( composed )";
  std::string text = MoveText(FactsOf(game.Store(), node), 0, 0, false, NotationOptions{});
  return n.Mover() == kBlack ? "...    " + text : text;
}

void SetBookmark(GameTree& game, NodeRef node, int number) {
  game.bookmarks.Remove(node);
  if (number == 0) {
    // One more than the highest goes to the head of the list.
    const int highest = std::max(game.bookmarks.Highest(), 0);
    number = highest < INT_MAX ? highest + 1 : INT_MAX;
  }
  game.bookmarks.Insert(node, number);
}

std::optional<int> BookmarkOf(const GameTree& game, NodeRef node) { return game.bookmarks.NumberOf(node); }

bool RemoveBookmark(GameTree& game, NodeRef node) { return game.bookmarks.Remove(node); }

std::optional<int> StoreNumberOf(const GameTree& game, NodeRef node) {
  for (int slot = 0; slot < 10; ++slot)
    if (game.storeSlots[static_cast<std::size_t>(slot)] == node) return slot;
  return std::nullopt;
}

void ClearStoredNode(GameTree& game, NodeRef node) {
  auto slot = StoreNumberOf(game, node);
  if (!slot) return;
  game.storeSlots[static_cast<std::size_t>(*slot)] = kNoNode;
  game.Node(node).Set2(kFlag2Stored, false);
  game.MarkChanged();
}

std::string MarkerLabels(const GameTree& game, NodeRef node) {
  std::string labels;
  const MoveNode& n = game.Node(node);
  if (game.primary == node) labels += " primary ";
  if (BookmarkOf(game, node)) labels += " BMarked ";
  if (auto slot = StoreNumberOf(game, node)) labels += Format(" store %d ", *slot);
  if (n.Has(kFlagDiagram)) labels += " diagram ";
  if (n.Has(kFlagComposed)) labels += " compose ";
  return labels;
}

}  // namespace varnock
