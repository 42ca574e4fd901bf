#include "tree/NodeCreation.h"

#include <cerrno>
#include <cstring>

#include "core/Format.h"
#include "core/UserPrompt.h"

namespace varnock {

namespace {

constexpr int kSnapshotInterval = 50;

bool NeedsSnapshot(const GameTree& game, const NewNode& spec) {
  if (!spec.boardAfter) return false;
  const NodeRef parent = game.lineEnd;
  if (parent == kNoNode) return !spec.firstOfNewLine;
  if (spec.from == spec.to || spec.kind == kPromotion) return true;
  NodeRef at = parent;
  for (int i = 0; i < kSnapshotInterval && at != kNoNode; ++i) {
    const MoveNode& node = game.Node(at);
    if (node.Has(kFlagSnapshot) || node.Has(kFlagComposed) || node.parent == kNoNode) return false;
    at = node.parent;
  }
  return true;
}

}  // namespace

NodeRef CreateNode(GameTree& game, const NewNode& spec, UserPrompt* prompt) {
  NodeStore& store = game.Store();
  const bool snapshot = NeedsSnapshot(game, spec);
  const NodeRef ref = store.Allocate(snapshot);
  if (ref == kNoNode) {
    if (prompt) {
      if (store.SystemRefusedSegment())
        prompt->Inform("GlobalAlloc()", Format("%s\nError Code is  %d", std::strerror(ENOMEM), ENOMEM));
      prompt->Inform("list_insert()", "Unable to find a free segment");
    }
    return kNoNode;
  }
  MoveNode& node = store.Node(ref);
  node.SetMove(spec.from, spec.to, StoredPieceOf(spec.piece));
  node.SetKind(spec.kind);
  node.Set(kFlagBlackToMove, spec.whiteMoved);
  node.Set2(kFlag2Irregular, spec.irregular);
  node.Set2(kFlag2Check, spec.check);
  node.Set2(kFlag2Capture, spec.capture);
  node.parent = game.lineEnd;
  if (snapshot) {
    node.Set(kFlagSnapshot, true);
    *store.Snapshot(ref) = *spec.boardAfter;
  }
  if (spec.rating) store.SetRating(ref, spec.rating);
  if (spec.assessment) store.SetAssessment(ref, spec.assessment);
  if (game.lineEnd != kNoNode && !spec.firstOfNewLine) game.Node(game.lineEnd).next = ref;
  return ref;
}

}  // namespace varnock
