// A value for each game, set by the visitors of a read on several threads
// while the number of games may still grow, and taken on the calling thread.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace varnock {

template <typename T>
class PlaceSlots {
 public:
  // Sets the value of the game at `place`; any thread may call it.
  void Set(std::size_t place, T value) {
    std::lock_guard lock(mutex_);
    const std::size_t block = place / kBlockSize;
    if (block >= blocks_.size()) blocks_.resize(block + 1);
    if (!blocks_[block]) blocks_[block] = std::make_unique<Block>();
    (*blocks_[block])[place % kBlockSize] = std::move(value);
  }

  // Takes the value of the game at `place` (T() when none was set).
  T Take(std::size_t place) {
    std::lock_guard lock(mutex_);
    const std::size_t block = place / kBlockSize;
    if (block >= blocks_.size() || !blocks_[block]) return T();
    return std::exchange((*blocks_[block])[place % kBlockSize], T());
  }

 private:
  // The values live in blocks, which stay where they are as more are added.
  static constexpr std::size_t kBlockSize = 1024;
  using Block = std::array<T, kBlockSize>;

  std::mutex mutex_;
  std::vector<std::unique_ptr<Block>> blocks_;
};

}  // namespace varnock
