// The games of a collection as they become known, handed out to reading
// threads a chunk at a time.
//
// One thread adds the games in order (the thread that opens the file, say);
// every kChunkGames games make a chunk, published at once. Reading threads
// claim the published chunks in order, each chunk once, and wait while the
// next one is still being filled. A published chunk never changes or moves
// until the feed ends.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "collection/ChunkReading.h"

namespace varnock {

class GameFeed {
 public:
  GameFeed() = default;
  GameFeed(const GameFeed&) = delete;
  GameFeed& operator=(const GameFeed&) = delete;

  // Adds the next game; only the adding thread calls it, before Close.
  // Returns whether it completed a chunk (which is published then). A game
  // out of place (not the next place) marks the feed broken and is left out.
  bool Add(const ScannedGame& game);
  // No more games: a last, shorter chunk is published.
  void Close();
  // Hands out no more chunks; claims waiting for one return false.
  void Stop();

  // Claims the next chunk: its number and its games. With `wait`, waits
  // until it is published or the feed is closed or stopped; without, takes
  // it only when it is published already. False when there is none to take.
  bool Claim(std::size_t& chunk, std::span<const ScannedGame>& games, bool wait);

  // Whether a game was added out of place.
  bool Broken() const { return broken_; }
  // After Close, on the adding thread: the games added and the chunks they make.
  std::size_t Count() const { return count_; }
  std::size_t Chunks() const;
  // After Close, on the adding thread: the game at a place below Count().
  const ScannedGame& Game(std::size_t place) const;

 private:
  using Chunk = std::array<ScannedGame, kChunkGames>;
  struct Published {
    std::unique_ptr<Chunk> games;
    std::size_t size = 0;
  };

  void Publish(std::size_t size, bool closing);

  // The adding thread's own: the chunk being filled.
  std::unique_ptr<Chunk> filling_;
  std::size_t count_ = 0;
  bool broken_ = false;

  std::mutex mutex_;
  std::condition_variable published_;
  std::vector<Published> chunks_;  // each full but maybe the last
  std::size_t claimed_ = 0;        // chunks claimed
  bool closed_ = false;
  bool stopped_ = false;
};

}  // namespace varnock
