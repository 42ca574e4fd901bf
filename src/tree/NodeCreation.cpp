#include "tree/NodeCreation.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/Format.h"
#include "core/UserPrompt.h"

namespace varnock {

// Node creation keeps the tree's record of the node it created last.
struct LastCreatedAccess {
  static GameTree::LastCreatedNode& Of(GameTree& game) { return game.lastCreated_; }
  static const GameTree::LastCreatedNode& Of(const GameTree& game) { return game.lastCreated_; }
};

namespace {

constexpr int kSnapshotInterval = 50;

// How many ancestors, starting with `parent`, must be passed before one with a
// snapshot, a set-up position or no parent is met (0: the parent is one);
// kSnapshotInterval when none is met within that many.
int SnapshotDistance(const GameTree& game, NodeRef parent) {
  const auto& last = LastCreatedAccess::Of(game);
  if (parent == last.ref && last.ref != kNoNode) return std::min(last.snapshotDistance, kSnapshotInterval);
  NodeRef at = parent;
  for (int i = 0; i < kSnapshotInterval && at != kNoNode; ++i) {
    const MoveNode& node = game.Node(at);
    if (node.Has(kFlagSnapshot) || node.Has(kFlagComposed) || node.parent == kNoNode) return i;
    at = node.parent;
  }
  return kSnapshotInterval;
}

bool NeedsSnapshot(const GameTree& game, const NewNode& request, int distance) {
  if (!request.boardAfter) return false;
  if (game.lineEnd == kNoNode) return !request.firstOfNewLine;
  if (request.from == request.to || request.kind == kPromotion) return true;
  return distance >= kSnapshotInterval;
}

// Tells the user that no node slot could be had.
[[gnu::cold, gnu::noinline]] void TellNoSlot(const NodeStore& store, UserPrompt* prompt) {
  if (!prompt) return;
  if (store.SystemRefusedSegment())
    prompt->Inform("GlobalAlloc()", Format("%s\nError Code is  %d", std::strerror(ENOMEM), ENOMEM));
  prompt->Inform("list_insert()", "Unable to find a free segment");
}

}  // namespace

NodeRef CreateNode(GameTree& game, const NewNode& request, UserPrompt* prompt) {
  NodeStore& store = game.Store();
  const int distance = game.lineEnd != kNoNode ? SnapshotDistance(game, game.lineEnd) : 0;
  const bool snapshot = NeedsSnapshot(game, request, distance);
  MoveNode* slot = nullptr;
  const NodeRef ref = store.Allocate(snapshot, &slot);
  if (ref == kNoNode) [[unlikely]] {
    TellNoSlot(store, prompt);
    return kNoNode;
  }
  // A new slot is clear but for its in-use bit: the flags are written whole.
  MoveNode& node = *slot;
  node.SetMove(request.from, request.to, StoredPieceOf(request.piece));
  node.flags = static_cast<std::uint8_t>((request.whiteMoved ? kFlagBlackToMove : 0) |
                                         ((request.kind & 1) ? kFlagKindLow : 0) | (snapshot ? kFlagSnapshot : 0));
  node.flags2 =
      static_cast<std::uint8_t>(((request.kind & 2) ? kFlag2KindHigh : 0) | (request.irregular ? kFlag2Irregular : 0) |
                                (request.check ? kFlag2Check : 0) | (request.capture ? kFlag2Capture : 0));
  node.parent = game.lineEnd;
  if (snapshot) *store.Snapshot(ref) = *request.boardAfter;
  if (request.rating) store.SetRating(ref, request.rating);
  if (request.assessment) store.SetAssessment(ref, request.assessment);
  auto& last = LastCreatedAccess::Of(game);
  if (game.lineEnd != kNoNode && !request.firstOfNewLine) {
    MoveNode& parent = game.lineEnd == last.ref && last.node ? *last.node : game.Node(game.lineEnd);
    parent.next = ref;
  }
  last = {ref, snapshot ? 0 : distance + 1, slot};
  return ref;
}

}  // namespace varnock
