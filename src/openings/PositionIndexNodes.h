// The explorer's position index of the opening table, in its packed form: a
// B-tree of nodes laid one after another, the root at offset 0, every link
// the offset of a node from the start of the data.
//
//   node:           count (u8), internal flag (u8: 1 internal, 0 leaf),
//                   first child (u32 LE: keys below the first entry; 0 in leaves)
//   internal entry: key, value, child (u32 LE each: the child holds the keys
//                   between this entry and the next)
//   leaf entry:     key, value (u32 LE each)
//
// Keys ascend in in-order sequence and compare unsigned; among equal keys the
// entry of the later table line comes first. The value is the byte offset of
// the line in the table text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varnock {

struct PositionIndexEntry {
  std::uint32_t key = 0;
  std::uint32_t value = 0;
};

// The most entries a node is given by the packer.
inline constexpr std::size_t kPositionIndexNodeEntries = 58;

// Packs entries, already in index order (keys ascending, equal keys in the
// order wanted), into nodes of up to `perNode` entries (1 to 255). A root
// that can hold them all is a leaf.
std::vector<std::uint8_t> PackPositionIndex(std::span<const PositionIndexEntry> entries,
                                            std::size_t perNode = kPositionIndexNodeEntries);

// Sorts entries into index order: keys ascending, and for equal keys the
// larger value (the later line of the table) first.
void SortPositionIndex(std::vector<PositionIndexEntry>& entries);

// The value of the first entry with the key in key order, searched from the
// root as the packed index is searched: in an internal node, a key above the
// search key or equal to it sends the search to the child on its left (an
// equal one is remembered first); past the last entry the search goes to the
// last entry's child. In a leaf, an equal key is the result, a larger one
// ends the search, and at the end of the leaf the remembered entry, if any,
// is the result. Links and counts that lead outside the data, or deeper than
// any index could be, end the search with what was remembered.
std::optional<std::uint32_t> LookupPositionIndex(std::span<const std::uint8_t> index, std::uint32_t key);

}  // namespace varnock
