#include "tree/BranchCommands.h"

#include "tree/Lines.h"
#include "tree/Navigation.h"

namespace varnock {

namespace {

std::string Confirmation(const char* action, bool primaryLost) {
  std::string text = std::string("Warning.\n") + action + "\n\n";
  if (primaryLost) text += "The primary position will be deleted by this action.\n\n";
  return text + "Do you wish to continue?";
}

// After lines were freed: the current node and the line end must still be
// nodes of the game.
void RepairAfterFree(GameTree& game, NodeRef fallback) {
  NodeStore& store = game.Store();
  if (!store.Valid(game.lineEnd) || !game.Node(game.lineEnd).InUse()) {
    game.lineEnd = ChainEnd(game, game.root);
    game.rootLine->last = game.lineEnd;
  }
  if (!store.Valid(game.current) || !game.Node(game.current).InUse()) {
    game.current = fallback;
  }
  game.activeLine = game.rootLine;
  store.ReleaseEmptySegments();
  ShowCurrentPosition(game);
  game.statusText = ToMoveText(game.sideToMove);
  if (game.observer) game.observer->CurrentNodeChanged();
}

}  // namespace

bool PrimaryAtOrBelow(const GameTree& game, NodeRef node) {
  if (game.primary == kNoNode) return false;
  for (NodeRef at = game.primary; at != kNoNode; at = game.Node(at).parent)
    if (at == node) return true;
  return false;
}

bool PrimaryOnActiveLine(const GameTree& game) { return game.primary != kNoNode && OnActiveLine(game, game.primary); }

bool DeleteBranch(GameTree& game, NodeRef node, bool confirm, UserPrompt& prompt) {
  NodeRef child = node;
  NodeRef branch = game.Node(node).parent;
  while (branch != kNoNode && !game.Node(branch).Has(kFlagBranch)) {
    child = branch;
    branch = game.Node(branch).parent;
  }
  if (branch == kNoNode) return false;

  // The primary warning is asked even without confirmation: the primary
  // position is never deleted silently.
  const bool primaryLost = PrimaryAtOrBelow(game, child);
  if (confirm || primaryLost) {
    if (!prompt.AskYesNo("DeleteBranch()", Confirmation("About to delete branch.", primaryLost))) return false;
  }

  NodeStore& store = game.Store();
  NodeRef show = game.current;
  MoveNode& b = game.Node(branch);
  auto* alternatives = store.Alternatives(branch);
  if (b.next == child) {
    if (!alternatives || alternatives->empty()) return false;
    SBranchDetails* promoted = alternatives->front();
    SBranchDetails* holder = LineContaining(game, child);
    b.next = promoted->first;
    if (holder) holder->last = promoted->last;
    if (holder == game.rootLine) game.lineEnd = promoted->last;
    store.RemoveAlternative(branch, promoted);
    store.DeleteLine(game.gameId, promoted);
    show = b.next;
  } else {
    SBranchDetails* removed = nullptr;
    if (alternatives)
      for (SBranchDetails* line : *alternatives)
        if (line->first == child) removed = line;
    if (!removed) return false;
    store.RemoveAlternative(branch, removed);
    store.DeleteLine(game.gameId, removed);
  }
  FreeChain(game, child);
  game.current = show;
  RepairAfterFree(game, branch);
  return true;
}

bool RemoveOffBranches(GameTree& game, BranchDirection direction, UserPrompt& prompt) {
  const NodeRef n = game.current;
  bool primaryLost = false;
  const char* action;
  if (direction == BranchDirection::Lower) {
    action = "About to remove lower branching.";
    NodeRef firstBranch = n;
    while (firstBranch != kNoNode && !game.Node(firstBranch).Has(kFlagBranch))
      firstBranch = game.Node(firstBranch).next;
    primaryLost = game.primary != kNoNode && !PrimaryOnActiveLine(game) && firstBranch != kNoNode &&
                  PrimaryAtOrBelow(game, firstBranch);
  } else {
    action = "About to remove higher branching.";
    primaryLost = game.primary != kNoNode && !PrimaryOnActiveLine(game) && !PrimaryAtOrBelow(game, n);
  }
  if (!prompt.AskYesNo("RemoveOffBranches()", Confirmation(action, primaryLost))) return false;

  bool removed = false;
  if (direction == BranchDirection::Lower) {
    for (NodeRef at = n; at != kNoNode; at = game.Node(at).next) {
      if (game.Node(at).Has(kFlagBranch)) {
        RemoveAlternatives(game, at);
        removed = true;
      }
    }
  } else {
    for (NodeRef at = game.Node(n).parent; at != kNoNode; at = game.Node(at).parent) {
      if (game.Node(at).Has(kFlagBranch)) {
        RemoveAlternatives(game, at);
        removed = true;
      }
    }
  }
  if (removed) RepairAfterFree(game, n);
  return removed;
}

bool CmRemoveNeighbours(GameTree& game, UserPrompt& prompt) {
  const NodeRef parent = game.Node(game.current).parent;
  if (parent == kNoNode || !game.Node(parent).Has(kFlagBranch)) return false;
  const bool primaryLost = !PrimaryOnActiveLine(game) && PrimaryAtOrBelow(game, parent);
  if (!prompt.AskYesNo("CmRemoveNeighbours()", Confirmation("About to remove neighbouring branching.", primaryLost)))
    return false;
  RemoveAlternatives(game, parent);
  RepairAfterFree(game, parent);
  return true;
}

bool CmTruncate(GameTree& game, NodeRef node, bool confirm, UserPrompt& prompt) {
  MoveNode& n = game.Node(node);
  if (n.next == kNoNode && !n.Has(kFlagBranch)) return false;
  // Everything below the node goes, its alternatives included: the primary
  // warning covers a primary in any of them.
  const bool primaryLost = game.primary != kNoNode && game.primary != node && PrimaryAtOrBelow(game, node);
  if (primaryLost || confirm) {
    if (!prompt.AskYesNo("CmTruncate()", Confirmation("About to truncate.", primaryLost))) return false;
  }
  if (game.current != node) GoToNode(game, node);
  RemoveAlternatives(game, node);
  // The record of the line that runs through the node will end at it.
  SBranchDetails* holder = LineContaining(game, node);
  const NodeRef next = game.Node(node).next;
  game.Node(node).next = kNoNode;
  if (next != kNoNode) FreeChain(game, next);
  if (holder) holder->last = node;
  if (holder == game.rootLine) game.lineEnd = node;
  game.MarkChanged();
  RepairAfterFree(game, node);
  return true;
}

bool DeleteCurrentMove(GameTree& game, UserPrompt& prompt) {
  if (game.current != game.lineEnd) {
    prompt.Inform("DeleteCurrentMove()",
                  "'Delete Current Move' functionality is available only if the current position is the lowest in "
                  "the branch.");
    return false;
  }
  const NodeRef parent = game.Node(game.current).parent;
  if (parent == kNoNode) return false;
  if (game.Node(parent).Has(kFlagBranch)) {
    if (!DeleteBranch(game, game.current, false, prompt)) return false;
    GoToNode(game, parent);
    return true;
  }
  GoToNode(game, parent);
  return CmTruncate(game, parent, false, prompt);
}

}  // namespace varnock
