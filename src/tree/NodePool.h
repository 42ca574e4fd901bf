// A pool of node slots in segments of 800.
//
// A slot is free when the in-use bit of its node is clear. Slots never move: a slot's index stays valid until it is
// freed, so nodes can refer to each other by 32-bit indices. Allocation tries the segment that served the last
// allocation, then the others in order, then adds a segment. Segments whose slots are all free can be released.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "tree/MoveNode.h"

namespace varnock {

inline MoveNode& NodeOf(MoveNode& slot) { return slot; }
inline MoveNode& NodeOf(SnapshotNode& slot) { return slot.node; }

template <class Slot>
class NodePool {
  static_assert(std::is_trivially_copyable_v<Slot>, "slots are cleared as bytes");
  static_assert(kNoNode == 0, "the references of a clear slot are zero bytes");

 public:
  static constexpr std::uint32_t kSegmentSlots = 800;

  static constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};

  // Index of a newly taken slot (zeroed but for its in-use bit), or kNoSlot
  // when no slot can be had. The common case (a free slot left in the
  // segment that served last) is small enough to inline.
  std::uint32_t Allocate() {
    if (last_ < segments_.size()) {
      Segment* segment = segments_[last_].get();
      if (segment && segment->used < kSegmentSlots) return TakeFrom(*segment, last_);
    }
    return AllocateElsewhere();
  }
  // The slot Allocate took last, found without looking its segment up.
  Slot& Taken() { return *taken_; }

  Slot& At(std::uint32_t index) { return segments_[index / kSegmentSlots]->slots[index % kSegmentSlots]; }
  const Slot& At(std::uint32_t index) const { return segments_[index / kSegmentSlots]->slots[index % kSegmentSlots]; }

  // Whether the index names a slot of a live segment.
  bool Valid(std::uint32_t index) const {
    std::size_t segment = index / kSegmentSlots;
    return segment < segments_.size() && segments_[segment] != nullptr;
  }

  // Returns a slot to the pool, clearing it and its in-use bit.
  void Free(std::uint32_t index) {
    Segment& segment = *segments_[index / kSegmentSlots];
    std::uint32_t slot = index % kSegmentSlots;
    if (!InUse(segment.slots[slot])) return;
    Release(segment, slot);
  }

  // The slot at the index when it is in use, else nullptr (also for an index
  // outside the live segments).
  Slot* InUseAt(std::uint32_t index) {
    const std::size_t segment = index / kSegmentSlots;
    if (segment >= segments_.size() || !segments_[segment]) return nullptr;
    Slot& slot = segments_[segment]->slots[index % kSegmentSlots];
    return InUse(slot) ? &slot : nullptr;
  }

  // Frees a slot InUseAt found.
  void FreeInUse(std::uint32_t index) { Release(*segments_[index / kSegmentSlots], index % kSegmentSlots); }

  // Frees every slot at once: each segment is cleared up to the highest slot
  // it has handed out since it was last cleared.
  void FreeAll() {
    for (auto& segment : segments_) {
      if (!segment) continue;
      // A clear slot is all zero bytes (no reference is kNoNode = 0, no flag, no board).
      std::memset(static_cast<void*>(segment->slots.data()), 0, segment->highWater * sizeof(Slot));
      segment->used = segment->nextFree = segment->highWater = 0;
    }
  }

  // Releases every segment whose slots are all free; returns how many.
  std::size_t ReleaseEmptySegments() {
    std::size_t released = 0;
    for (auto& segment : segments_) {
      if (segment && segment->used == 0) {
        segment.reset();
        ++released;
      }
    }
    while (!segments_.empty() && !segments_.back()) segments_.pop_back();
    return released;
  }

  std::size_t LiveSegments() const {
    std::size_t n = 0;
    for (const auto& segment : segments_) n += segment != nullptr;
    return n;
  }
  std::size_t UsedSlots() const {
    std::size_t n = 0;
    for (const auto& segment : segments_)
      if (segment) n += segment->used;
    return n;
  }

  // Caps the number of segments (the largest index must fit a reference).
  void SetMaxSegments(std::size_t max) { maxSegments_ = max; }

  // Whether the last failed allocation failed because the system refused
  // memory for a new segment (rather than the cap being reached).
  bool SystemRefused() const { return systemRefused_; }

 private:
  struct Segment {
    std::array<Slot, kSegmentSlots> slots{};
    std::uint32_t used = 0;
    std::uint32_t nextFree = 0;
    std::uint32_t highWater = 0;  // slots below it may have been used
  };

  void Release(Segment& segment, std::uint32_t slot) {
    segment.slots[slot] = Slot{};
    --segment.used;
    if (slot < segment.nextFree) segment.nextFree = slot;
  }

  // Another segment with a free slot, or a new segment.
  [[gnu::noinline]] std::uint32_t AllocateElsewhere() {
    systemRefused_ = false;
    for (std::size_t i = 0; i < segments_.size(); ++i)
      if (segments_[i] && segments_[i]->used < kSegmentSlots) return TakeFrom(*segments_[i], i);
    std::size_t index = 0;
    while (index < segments_.size() && segments_[index]) ++index;
    if (index >= maxSegments_) return kNoSlot;
    Segment* segment = new (std::nothrow) Segment();
    if (!segment) {
      systemRefused_ = true;
      return kNoSlot;
    }
    if (index == segments_.size()) segments_.emplace_back();
    segments_[index].reset(segment);
    return TakeFrom(*segment, index);
  }

  // Takes the first free slot of a segment that has one, from its hint on.
  std::uint32_t TakeFrom(Segment& segment, std::size_t index) {
    std::uint32_t slot = segment.nextFree;
    last_ = index;
    if (slot >= segment.highWater) {
      // No slot at or above the high-water mark was ever handed out since the
      // segment was last cleared: the next one is free too.
      MarkInUse(segment.slots[slot]);
      taken_ = &segment.slots[slot];
      ++segment.used;
      segment.highWater = slot + 1;
      segment.nextFree = slot + 1 < kSegmentSlots ? slot + 1 : 0;
      return static_cast<std::uint32_t>(index * kSegmentSlots + slot);
    }
    while (InUse(segment.slots[slot])) slot = (slot + 1) % kSegmentSlots;  // used < kSegmentSlots: one is free
    MarkInUse(segment.slots[slot]);
    taken_ = &segment.slots[slot];
    ++segment.used;
    segment.highWater = std::max(segment.highWater, slot + 1);
    segment.nextFree = slot + 1;
    while (segment.nextFree < kSegmentSlots && InUse(segment.slots[segment.nextFree])) ++segment.nextFree;
    if (segment.nextFree >= kSegmentSlots) segment.nextFree = 0;
    return static_cast<std::uint32_t>(index * kSegmentSlots + slot);
  }

  static bool InUse(Slot& slot) { return NodeOf(slot).InUse(); }
  static void MarkInUse(Slot& slot) { NodeOf(slot).SetInUse(true); }

  std::vector<std::unique_ptr<Segment>> segments_;
  std::size_t last_ = 0;
  Slot* taken_ = nullptr;
  bool systemRefused_ = false;
  std::size_t maxSegments_ = ((std::uint32_t{1} << 31) - 2) / kSegmentSlots;
};

}  // namespace varnock
