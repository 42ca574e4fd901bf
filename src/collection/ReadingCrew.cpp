#include "collection/ReadingCrew.h"

#include <system_error>

namespace varnock {

ReadingCrew::ReadingCrew(const ReadSource& source, GameFeed& feed, const GameVisitor& visit)
    : source_(source), feed_(feed), visit_(visit) {}

ReadingCrew::~ReadingCrew() { Stop(); }

void ReadingCrew::Stop() {
  feed_.Stop();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
  std::lock_guard lock(mutex_);
  read_.clear();
}

bool ReadingCrew::StartThread() {
  try {
    threads_.emplace_back([this] { Work(); });
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

// A chunk claimed is always read to its end (or its failure) and finished,
// so a chunk waited for is finished in the end: every chunk below a claimed
// one has been claimed too.
void ReadingCrew::Work() {
  try {
    ChunkReader reader(source_);
    for (;;) {
      auto reports = std::make_unique<ChunkReports>();  // before the claim: reading the chunk cannot fail then
      std::size_t chunk = 0;
      std::span<const ScannedGame> games;
      if (!feed_.Claim(chunk, games, true)) return;
      Read(reader, chunk, games, *reports);
      Finish(chunk, std::move(reports));
    }
  } catch (...) {
    // No memory for a reader or a chunk's reports: the other threads and
    // the calling thread read on.
  }
}

void ReadingCrew::Read(ChunkReader& reader, std::size_t chunk, std::span<const ScannedGame> games,
                       ChunkReports& reports) {
  reader.Read(chunk, games, visit_, reports);
  if (reports.failure) feed_.Stop();
}

void ReadingCrew::Finish(std::size_t chunk, std::unique_ptr<ChunkReports> reports) noexcept {
  bool lost = false;
  {
    std::lock_guard lock(mutex_);
    try {
      if (read_.size() <= chunk) read_.resize(chunk + 1);
      read_[chunk] = std::move(reports);
    } catch (...) {
      // The chunk is lost: the passing on ends with this failure there.
      lost = true;
      if (chunk < lostFrom_) {
        lostFrom_ = chunk;
        lost_ = std::current_exception();
      }
    }
  }
  if (lost) feed_.Stop();
  finished_.notify_one();
}

std::unique_ptr<ChunkReports> ReadingCrew::Await(std::size_t chunk) {
  // Under the lock: the chunk's reports, once it is read.
  auto take = [&]() -> std::unique_ptr<ChunkReports> {
    if (chunk < read_.size() && read_[chunk]) return std::move(read_[chunk]);
    if (chunk >= lostFrom_) std::rethrow_exception(lost_);
    return nullptr;
  };
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (auto reports = take()) return reports;
    }
    // An exception here ends the passing on: nobody waits for the chunk.
    std::size_t claimed = 0;
    std::span<const ScannedGame> games;
    if (!feed_.Claim(claimed, games, false)) break;
    if (!ownReader_) ownReader_.emplace(source_);
    auto reports = std::make_unique<ChunkReports>();
    Read(*ownReader_, claimed, games, *reports);
    Finish(claimed, std::move(reports));
  }
  // Every chunk is claimed (or the hand-out stopped after a failure in a
  // later chunk): the one waited for is being read.
  std::unique_lock lock(mutex_);
  std::unique_ptr<ChunkReports> reports;
  finished_.wait(lock, [&] { return (reports = take()) != nullptr; });
  return reports;
}

void ReadingCrew::PassOnInOrder(Collection& collection, const GameDone& done) {
  const std::size_t chunks = feed_.Chunks();
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    const std::unique_ptr<ChunkReports> reports = Await(chunk);
    PassOn(collection, source_, chunk, *reports, visit_, done);
  }
}

}  // namespace varnock
