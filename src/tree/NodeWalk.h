// Reads the nodes of a store one after another, as a walk along a line does.
//
// The nodes of a line read from a file sit in consecutive slots of a pool
// segment. When the node asked for is in the slot after the one read last,
// it is found from that one, without looking up its segment: a walk along
// such a line is then bound by reading the nodes, not by finding them.
//
// A walk keeps a pointer to the node it read last: it is good while no node
// of the store is freed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tree/NodeStore.h"

namespace varnock {

class NodeWalk {
 public:
  explicit NodeWalk(const NodeStore& store) : store_(store) {}

  // The node of a live reference, as NodeStore::Node gives it.
  const MoveNode& Node(NodeRef ref) {
    if (ref == last_ + 1 && slotInSegment_ + 1 < NodePool<MoveNode>::kSegmentSlots && last_ != kNoNode &&
        ((ref ^ last_) & NodeStore::kSnapshotBit) == 0) {
      node_ = reinterpret_cast<const MoveNode*>(reinterpret_cast<const char*>(node_) + stride_);
      ++slotInSegment_;
    } else {
      node_ = &store_.Node(ref);
      slotInSegment_ = NodeStore::IndexOf(ref) % NodePool<MoveNode>::kSegmentSlots;
      stride_ = (ref & NodeStore::kSnapshotBit) ? sizeof(SnapshotNode) : sizeof(MoveNode);
    }
    last_ = ref;
    return *node_;
  }

 private:
  static_assert(NodePool<MoveNode>::kSegmentSlots == NodePool<SnapshotNode>::kSegmentSlots);
  static_assert(offsetof(SnapshotNode, node) == 0, "a snapshot slot starts with its node");

  const NodeStore& store_;
  NodeRef last_ = kNoNode;
  const MoveNode* node_ = nullptr;
  std::uint32_t slotInSegment_ = 0;
  std::size_t stride_ = sizeof(MoveNode);
};

}  // namespace varnock
