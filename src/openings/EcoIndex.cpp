#include "openings/EcoIndex.h"

#include <algorithm>

namespace varnock {

void EcoIndex::Build(const std::vector<std::uint32_t>& keys) {
  entries_.clear();
  entries_.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) entries_.push_back({keys[i], static_cast<std::uint32_t>(i)});
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& x, const Entry& y) { return x.key != y.key ? x.key < y.key : x.line > y.line; });
}

std::span<const EcoIndex::Entry> EcoIndex::EqualRange(std::uint32_t key) const {
  const auto lower = std::lower_bound(entries_.begin(), entries_.end(), key,
                                      [](const Entry& entry, std::uint32_t k) { return entry.key < k; });
  auto upper = lower;
  while (upper != entries_.end() && upper->key == key) ++upper;
  return {lower, upper};
}

std::optional<std::uint32_t> EcoIndex::First(std::uint32_t key) const {
  const auto range = EqualRange(key);
  if (range.empty()) return std::nullopt;
  return range.front().line;
}

}  // namespace varnock
