#include "collection/GameFeed.h"

namespace varnock {

bool GameFeed::Add(const ScannedGame& game) {
  if (broken_ || game.place != count_) {
    broken_ = true;
    return false;
  }
  if (!filling_) filling_ = std::make_unique<Chunk>();
  (*filling_)[count_ % kChunkGames] = game;
  ++count_;
  if (count_ % kChunkGames != 0) return false;
  Publish(kChunkGames, false);
  return true;
}

void GameFeed::Close() { Publish(count_ % kChunkGames, true); }

// A chunk of `size` games (none: nothing to publish) and the close are
// published together, so that a claim never sees a short chunk of an open
// feed.
void GameFeed::Publish(std::size_t size, bool closing) {
  {
    std::lock_guard lock(mutex_);
    if (size != 0 && filling_) chunks_.push_back({std::move(filling_), size});
    if (closing) closed_ = true;
  }
  published_.notify_all();
}

void GameFeed::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  published_.notify_all();
}

bool GameFeed::Claim(std::size_t& chunk, std::span<const ScannedGame>& games, bool wait) {
  std::unique_lock lock(mutex_);
  if (wait) published_.wait(lock, [this] { return stopped_ || closed_ || claimed_ < chunks_.size(); });
  if (stopped_ || claimed_ >= chunks_.size()) return false;
  chunk = claimed_++;
  games = std::span<const ScannedGame>(chunks_[chunk].games->data(), chunks_[chunk].size);
  return true;
}

std::size_t GameFeed::Chunks() const { return (count_ + kChunkGames - 1) / kChunkGames; }

const ScannedGame& GameFeed::Game(std::size_t place) const {
  return (*chunks_.at(place / kChunkGames).games)[place % kChunkGames];
}

}  // namespace varnock
