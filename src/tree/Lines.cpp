#include "tree/Lines.h"

#include <algorithm>

namespace varnock {

NodeRef ChainEnd(const GameTree& game, NodeRef node) {
  while (node != kNoNode && game.Node(node).next != kNoNode) node = game.Node(node).next;
  return node;
}

SBranchDetails* LineContaining(GameTree& game, NodeRef node) {
  for (NodeRef at = node; at != kNoNode;) {
    const NodeRef parent = game.Node(at).parent;
    if (parent == kNoNode) return at == game.root ? game.rootLine : nullptr;
    if (game.Node(parent).next != at) {
      if (auto* alternatives = game.Store().Alternatives(parent))
        for (SBranchDetails* line : *alternatives)
          if (line->first == at) return line;
      return nullptr;
    }
    at = parent;
  }
  return nullptr;
}

bool OnActiveLine(const GameTree& game, NodeRef node) {
  for (NodeRef at = game.lineEnd; at != kNoNode; at = game.Node(at).parent)
    if (at == node) return true;
  return false;
}

void SwapWithContinuation(GameTree& game, SBranchDetails* alternative) {
  if (!alternative || alternative->first == kNoNode) return;
  NodeRef branch = game.Node(alternative->first).parent;
  if (branch == kNoNode) return;
  MoveNode& b = game.Node(branch);
  const NodeRef oldFirst = b.next;
  const NodeRef oldEnd = ChainEnd(game, oldFirst);
  SBranchDetails* holder = LineContaining(game, branch);
  const NodeRef newEnd = alternative->last;

  b.next = alternative->first;
  if (oldFirst != kNoNode) {
    alternative->first = oldFirst;
    alternative->last = oldEnd;
  } else {
    game.Store().RemoveAlternative(branch, alternative);
    game.Store().DeleteLine(game.gameId, alternative);
  }
  if (holder) holder->last = newEnd;
  if (holder == game.rootLine) game.lineEnd = newEnd;
}

void SelectLine(GameTree& game, NodeRef first) {
  NodeRef branch = game.Node(first).parent;
  auto* alternatives = game.Store().Alternatives(branch);
  if (!alternatives) return;
  auto it = std::find_if(alternatives->begin(), alternatives->end(),
                         [first](SBranchDetails* line) { return line->first == first; });
  if (it == alternatives->end()) return;
  SBranchDetails* line = *it;
  SwapWithContinuation(game, line);
  alternatives = game.Store().Alternatives(branch);
  if (!alternatives) return;
  it = std::find(alternatives->begin(), alternatives->end(), line);
  if (it != alternatives->end()) std::rotate(it, it + 1, alternatives->end());
  game.ForgetCommentRing();
}

bool ActivateLineOf(GameTree& game, NodeRef node) {
  bool changed = false;
  while (node != kNoNode) {
    SBranchDetails* line = LineContaining(game, node);
    if (!line || line == game.rootLine || line->first == game.root) break;
    NodeRef branch = game.Node(line->first).parent;
    if (branch == kNoNode) break;
    SwapWithContinuation(game, line);
    changed = true;
    node = branch;
  }
  if (changed) game.ForgetCommentRing();
  return changed;
}

namespace {

// Takes all the alternatives of a branch node at once and leaves it without
// any: removing them one at a time searches the list for each, which takes
// time that grows with the square of their number.
std::vector<SBranchDetails*> TakeAlternatives(NodeStore& store, NodeRef branch) {
  std::vector<SBranchDetails*> lines;
  auto* alternatives = store.Alternatives(branch);
  if (!alternatives) return lines;
  lines.swap(*alternatives);
  store.RemoveAlternative(branch, nullptr);  // drops the emptied entry and the branch flag
  return lines;
}

// The flags that tell of an entry elsewhere (a map, a line record, a store
// slot) to be removed with the node.
constexpr std::uint8_t kAttachedFlags = kFlagComposed | kFlagCommentBefore | kFlagCommentAfter | kFlagBranch;
constexpr std::uint8_t kAttachedFlags2 = kFlag2Rating | kFlag2Assessment | kFlag2Result | kFlag2Stored;

}  // namespace

void FreeChain(GameTree& game, NodeRef first) {
  NodeStore& store = game.Store();
  std::vector<NodeRef> pending;  // the first nodes of lines met on the way
  for (NodeRef at = first;; at = pending.back(), pending.pop_back()) {
    while (MoveNode* live = store.LiveNode(at)) {
      MoveNode& node = *live;
      const NodeRef next = node.next;
      // Most nodes carry nothing beyond the move: one test passes them by.
      if (!(node.flags & kAttachedFlags) && !(node.flags2 & kAttachedFlags2) && at != game.primary &&
          at != game.LastCreated() && game.bookmarks.empty()) {
        store.FreeLive(at);
        at = next;
        continue;
      }
      // Only maps the node's flags name hold an entry for it.
      if (node.Has(kFlagComposed)) store.EraseComposed(at);
      if (node.Has2(kFlag2Rating)) store.SetRating(at, 0);
      if (node.Has2(kFlag2Assessment)) store.SetAssessment(at, 0);
      if (node.Has2(kFlag2Result)) store.SetResult(at, 0);
      if (node.Has(kFlagCommentBefore)) store.EraseComment(at, NodeStore::kBefore);
      if (node.Has(kFlagCommentAfter)) store.EraseComment(at, NodeStore::kAfter);
      if (node.Has(kFlagBranch)) {
        for (SBranchDetails* line : TakeAlternatives(store, at)) {
          pending.push_back(line->first);
          store.DeleteLine(game.gameId, line);
        }
        node.Set(kFlagBranch, false);
      }
      if (game.primary == at) game.primary = kNoNode;
      if (game.LastCreated() == at) game.ForgetLastCreated();
      if (node.Has2(kFlag2Stored))
        for (NodeRef& slot : game.storeSlots)
          if (slot == at) slot = kNoNode;
      if (!game.bookmarks.empty()) game.bookmarks.Remove(at);
      store.FreeLive(at);
      at = next;
    }
    if (pending.empty()) break;
  }
  game.ForgetCommentRing();
  game.MarkChanged();
}

void RemoveAlternatives(GameTree& game, NodeRef branch) {
  NodeStore& store = game.Store();
  auto* alternatives = store.Alternatives(branch);
  if (!alternatives) {
    store.Node(branch).Set(kFlagBranch, false);
    return;
  }
  for (SBranchDetails* line : TakeAlternatives(store, branch)) {
    const NodeRef first = line->first;
    store.DeleteLine(game.gameId, line);
    FreeChain(game, first);
  }
  store.Node(branch).Set(kFlagBranch, false);
}

}  // namespace varnock
