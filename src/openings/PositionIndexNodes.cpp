#include "openings/PositionIndexNodes.h"

#include <algorithm>

namespace varnock {

namespace {

constexpr std::size_t kHeader = 6, kInternalEntry = 12, kLeafEntry = 8;
// Deeper than a tree of 255-entry nodes over 2^32 offsets can be.
constexpr int kMostDepth = 32;

std::uint32_t U32(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8 | std::uint32_t{data[at + 2]} << 16 |
         std::uint32_t{data[at + 3]} << 24;
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Entries a subtree of `height` levels can hold, with `perNode` to a node.
std::size_t Capacity(int height, std::size_t perNode) {
  std::size_t capacity = perNode;
  for (int i = 0; i < height; ++i) capacity = capacity * (perNode + 1) + perNode;
  return capacity;
}

// Appends the subtree of `entries` at the end of `out` and returns its offset.
std::uint32_t PackNode(std::span<const PositionIndexEntry> entries, int height, std::size_t perNode,
                       std::vector<std::uint8_t>& out) {
  const std::size_t at = out.size();
  if (height == 0) {
    out.resize(at + kHeader + kLeafEntry * entries.size());
    out[at] = static_cast<std::uint8_t>(entries.size());
    out[at + 1] = 0;
    PutU32(out, at + 2, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      PutU32(out, at + kHeader + kLeafEntry * i, entries[i].key);
      PutU32(out, at + kHeader + kLeafEntry * i + 4, entries[i].value);
    }
    return static_cast<std::uint32_t>(at);
  }
  // As few children as the height allows, sharing the entries evenly; one
  // entry between each two children.
  const std::size_t below = Capacity(height - 1, perNode);
  const std::size_t children = std::max<std::size_t>(2, (entries.size() + 1 + below) / (below + 1));
  const std::size_t inChildren = entries.size() - (children - 1);
  out.resize(at + kHeader + kInternalEntry * (children - 1));
  out[at] = static_cast<std::uint8_t>(children - 1);
  out[at + 1] = 1;
  std::size_t next = 0;
  for (std::size_t child = 0; child < children; ++child) {
    const std::size_t size = inChildren / children + (child < inChildren % children ? 1 : 0);
    const std::uint32_t offset = PackNode(entries.subspan(next, size), height - 1, perNode, out);
    next += size;
    const std::size_t link = child == 0 ? at + 2 : at + kHeader + kInternalEntry * (child - 1) + 8;
    PutU32(out, link, offset);
    if (child + 1 < children) {
      const std::size_t entry = at + kHeader + kInternalEntry * child;
      PutU32(out, entry, entries[next].key);
      PutU32(out, entry + 4, entries[next].value);
      ++next;
    }
  }
  return static_cast<std::uint32_t>(at);
}

}  // namespace

void SortPositionIndex(std::vector<PositionIndexEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const PositionIndexEntry& a, const PositionIndexEntry& b) {
    return a.key != b.key ? a.key < b.key : a.value > b.value;
  });
}

std::vector<std::uint8_t> PackPositionIndex(std::span<const PositionIndexEntry> entries, std::size_t perNode) {
  perNode = std::clamp<std::size_t>(perNode, 1, 255);
  int height = 0;
  while (Capacity(height, perNode) < entries.size()) ++height;
  std::vector<std::uint8_t> out;
  PackNode(entries, height, perNode, out);
  return out;
}

std::optional<std::uint32_t> LookupPositionIndex(std::span<const std::uint8_t> index, std::uint32_t key) {
  std::optional<std::uint32_t> remembered;
  std::size_t at = 0;
  for (int depth = 0; depth < kMostDepth; ++depth) {
    if (at > index.size() || index.size() - at < kHeader) return remembered;
    const std::size_t count = index[at];
    const bool internal = index[at + 1] != 0;
    const std::size_t size = internal ? kInternalEntry : kLeafEntry;
    if ((index.size() - at - kHeader) / size < count) return remembered;
    const std::size_t first = at + kHeader;
    if (!internal) {
      for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t entryKey = U32(index, first + size * i);
        if (entryKey == key) return U32(index, first + size * i + 4);
        if (entryKey > key) return std::nullopt;
      }
      return remembered;
    }
    std::size_t child = count == 0 ? at + 2 : first + size * (count - 1) + 8;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t entryKey = U32(index, first + size * i);
      if (entryKey < key) continue;
      if (entryKey == key) remembered = U32(index, first + size * i + 4);
      child = i == 0 ? at + 2 : first + size * (i - 1) + 8;
      break;
    }
    at = U32(index, child);
  }
  return remembered;
}

}  // namespace varnock
