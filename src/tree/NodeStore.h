// The node pools and the node attribute maps, held once for all open games.
//
// Every game's nodes come from the two pools (plain nodes and nodes with a
// board snapshot). Everything else attached to a node lives in maps keyed by
// the node's reference, with a flag bit in the node telling whether an entry
// exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Fen.h"
#include "tree/LineRecords.h"
#include "tree/MoveNode.h"
#include "tree/NodePool.h"

namespace varnock {

class NodeStore {
 public:
  // A reference names a slot of the snapshot pool when this bit is set; the
  // other bits are the slot index + 1.
  static constexpr NodeRef kSnapshotBit = NodeRef{1} << 31;
  static constexpr std::uint32_t IndexOf(NodeRef ref) { return (ref & ~kSnapshotBit) - 1; }

  NodeStore() = default;
  NodeStore(const NodeStore&) = delete;
  NodeStore& operator=(const NodeStore&) = delete;

  // A new node slot, marked in use; kNoNode when none can be had. Its node
  // is `*node` then, when asked for.
  NodeRef Allocate(bool withSnapshot, MoveNode** node = nullptr) {
    if (withSnapshot) {
      const std::uint32_t index = snapshots_.Allocate();
      if (index == NodePool<SnapshotNode>::kNoSlot) return Refused(snapshots_.SystemRefused());
      if (node) *node = &snapshots_.Taken().node;
      return (index + 1) | kSnapshotBit;
    }
    const std::uint32_t index = plain_.Allocate();
    if (index == NodePool<MoveNode>::kNoSlot) return Refused(plain_.SystemRefused());
    if (node) *node = &plain_.Taken();
    return index + 1;
  }
  // After Allocate failed: whether the system refused memory for a segment.
  bool SystemRefusedSegment() const { return systemRefused_; }
  void Free(NodeRef ref);
  // The node of a slot in use, else nullptr (for kNoNode, a reference to no
  // live slot, or a free slot); FreeLive frees a slot LiveNode found.
  MoveNode* LiveNode(NodeRef ref) {
    if ((ref & ~kSnapshotBit) == 0) return nullptr;
    if (ref & kSnapshotBit) {
      SnapshotNode* slot = snapshots_.InUseAt(IndexOf(ref));
      return slot ? &slot->node : nullptr;
    }
    return plain_.InUseAt(IndexOf(ref));
  }
  void FreeLive(NodeRef ref) {
    if (ref & kSnapshotBit)
      snapshots_.FreeInUse(IndexOf(ref));
    else
      plain_.FreeInUse(IndexOf(ref));
  }
  // Releases node segments that became entirely free.
  void ReleaseEmptySegments();

  // A store that holds one game at a time (a reading thread's scratch store)
  // is emptied at once when its only game goes, rather than node by node.
  void SetOneGameAtATime(bool on) { oneGameAtATime_ = on; }
  // Called by the trees made in the store as they come and go. Whether a
  // tree going may empty the whole store.
  void TreeMade() { ++trees_; }
  bool TreeGoes() { return --trees_ == 0 && oneGameAtATime_; }
  // Frees every node and empties every attribute map and line record.
  void Clear();

  MoveNode& Node(NodeRef ref) {
    return (ref & kSnapshotBit) ? snapshots_.At(IndexOf(ref)).node : plain_.At(IndexOf(ref));
  }
  const MoveNode& Node(NodeRef ref) const {
    return (ref & kSnapshotBit) ? snapshots_.At(IndexOf(ref)).node : plain_.At(IndexOf(ref));
  }
  // The board snapshot of a node from the snapshot pool, else nullptr.
  BoardSquares* Snapshot(NodeRef ref);
  const BoardSquares* Snapshot(NodeRef ref) const;
  bool Valid(NodeRef ref) const;

  // Rating 1..6, assessment 1..5, result mark 1..3; 0 removes the entry.
  void SetRating(NodeRef ref, std::uint8_t value);
  void SetAssessment(NodeRef ref, std::uint8_t value);
  void SetResult(NodeRef ref, std::uint8_t value);
  std::uint8_t RatingOf(NodeRef ref) const { return Lookup(rating_, ref); }
  std::uint8_t AssessmentOf(NodeRef ref) const { return Lookup(assessment_, ref); }
  std::uint8_t ResultOf(NodeRef ref) const { return Lookup(result_, ref); }

  // Comments before (kind 0) and after (kind 1) a move. Setting an empty text
  // removes the entry; the node's flag follows.
  enum CommentKind { kBefore = 0, kAfter = 1 };
  const std::string* Comment(NodeRef ref, CommentKind kind) const;
  void StoreComment(NodeRef ref, CommentKind kind, std::string text);
  // Adds `separator` and `text` to the end of the node's comment in place
  // (a node may collect many comments: copying the text for each would take
  // time growing with the square of their number); stores `text` alone when
  // the node has none.
  void AppendComment(NodeRef ref, CommentKind kind, std::string_view separator, std::string_view text);
  void EraseComment(NodeRef ref, CommentKind kind);
  // Empties both comment maps (for every game).
  void ClearAllComments();

  // The set-up position attached to a composed node.
  FENExtras* Composed(NodeRef ref);
  const FENExtras* Composed(NodeRef ref) const;
  void SetComposed(NodeRef ref, const FENExtras& extras);  // also sets the composed bit
  void EraseComposed(NodeRef ref);

  // Alternative lines of a branch node, oldest first.
  std::vector<SBranchDetails*>* Alternatives(NodeRef branch);
  void AddAlternative(NodeRef branch, SBranchDetails* line);  // also sets the branch bit
  // Removes the record from the node's list; clears the branch bit when none remain.
  void RemoveAlternative(NodeRef branch, SBranchDetails* line);

  // The line records of a game, by game id.
  SBranchDetails* NewLine(int gameId, NodeRef first, NodeRef last);
  void DeleteLine(int gameId, SBranchDetails* line);
  using LineSet = std::unordered_map<SBranchDetails*, std::unique_ptr<SBranchDetails>>;
  LineSet& LinesOf(int gameId) { return lines_[gameId]; }
  void ForgetGame(int gameId) { lines_.erase(gameId); }

  int NextGameId() { return ++lastGameId_; }

  NodePool<MoveNode>& PlainPool() { return plain_; }
  NodePool<SnapshotNode>& SnapshotPool() { return snapshots_; }
  std::size_t LiveNodes() const { return plain_.UsedSlots() + snapshots_.UsedSlots(); }

 private:
  NodeRef Refused(bool bySystem) {
    systemRefused_ = bySystem;
    return kNoNode;
  }
  static std::uint8_t Lookup(const std::unordered_map<NodeRef, std::uint8_t>& map, NodeRef ref) {
    auto it = map.find(ref);
    return it == map.end() ? 0 : it->second;
  }
  void SetAttribute(std::unordered_map<NodeRef, std::uint8_t>& map, NodeRef ref, std::uint8_t value,
                    std::uint8_t flag2);

  NodePool<MoveNode> plain_;
  NodePool<SnapshotNode> snapshots_;
  std::unordered_map<NodeRef, std::string> commentBefore_;
  std::unordered_map<NodeRef, std::string> commentAfter_;
  std::unordered_map<NodeRef, std::vector<SBranchDetails*>> alternatives_;
  std::unordered_map<int, LineSet> lines_;
  std::unordered_map<NodeRef, FENExtras> composed_;
  std::unordered_map<NodeRef, std::uint8_t> rating_;
  std::unordered_map<NodeRef, std::uint8_t> assessment_;
  std::unordered_map<NodeRef, std::uint8_t> result_;
  int lastGameId_ = 0;
  bool systemRefused_ = false;
  bool oneGameAtATime_ = false;
  std::size_t trees_ = 0;  // trees alive in the store
};

}  // namespace varnock
