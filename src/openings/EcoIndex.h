// An ordered multimap from a 32-bit key to lines of the opening table, held
// as a sorted array. Among equal keys the line that stands latest in the
// table comes first, so the first entry of a key is that line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varnock {

class EcoIndex {
 public:
  struct Entry {
    std::uint32_t key = 0;
    std::uint32_t line = 0;  // the line's number in the table, from 0
  };

  // Builds the index from one key per line, line i having keys[i].
  void Build(const std::vector<std::uint32_t>& keys);

  // Every entry with the key, the latest line first.
  std::span<const Entry> EqualRange(std::uint32_t key) const;
  // The first entry's line, or nothing.
  std::optional<std::uint32_t> First(std::uint32_t key) const;

  std::size_t Size() const { return entries_.size(); }

 private:
  std::vector<Entry> entries_;
};

}  // namespace varnock
