// Threads that read the chunks of a game feed, and the passing on of what
// they read, in game order, on the thread that owns the collection.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "collection/ChunkReading.h"
#include "collection/GameFeed.h"

namespace varnock {

class ReadingCrew {
 public:
  // `source`, `feed` and `visit` outlive the crew.
  ReadingCrew(const ReadSource& source, GameFeed& feed, const GameVisitor& visit);
  ReadingCrew(const ReadingCrew&) = delete;
  ReadingCrew& operator=(const ReadingCrew&) = delete;
  // Stops the feed's hand-out and waits for every thread.
  ~ReadingCrew();

  // Starts one more reading thread; false when the system would not.
  bool StartThread();
  std::size_t Threads() const { return threads_.size(); }

  // Once the feed is closed: passes every chunk on to the collection in
  // order (see PassOn), reading chunks on this thread as well while the next
  // one in order is not read yet. Throws the first failure of a read or a
  // visit after the games before it were passed on.
  void PassOnInOrder(Collection& collection, const GameDone& done);
  // Stops the feed's hand-out, waits for every thread and drops what they read.
  void Stop();

 private:
  void Work();
  void Read(ChunkReader& reader, std::size_t chunk, std::span<const ScannedGame> games, ChunkReports& reports);
  // Keeps a chunk's reports until they are passed on.
  void Finish(std::size_t chunk, std::unique_ptr<ChunkReports> reports) noexcept;
  // Waits for the chunk's reports, reading other chunks meanwhile.
  std::unique_ptr<ChunkReports> Await(std::size_t chunk);

  const ReadSource& source_;
  GameFeed& feed_;
  const GameVisitor& visit_;
  std::optional<ChunkReader> ownReader_;  // the calling thread's, made when it first reads

  std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<std::unique_ptr<ChunkReports>> read_;  // by chunk, until passed on
  std::size_t lostFrom_ = SIZE_MAX;                  // the first chunk whose reports could not be kept
  std::exception_ptr lost_;                          // and why
  std::vector<std::thread> threads_;
};

}  // namespace varnock
