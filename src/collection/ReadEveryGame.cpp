#include "collection/ReadEveryGame.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "collection/ChunkReading.h"
#include "collection/GameFeed.h"
#include "collection/ReadingCrew.h"

namespace varnock {

unsigned DefaultReadThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

namespace {

// One thread: the chunks are read and passed on one after another.
void ReadOnThisThread(Collection& collection, const ReadSource& source, const GameVisitor& visit,
                      const GameDone& done) {
  ChunkReader reader(source);
  std::vector<ScannedGame> games;
  for (std::size_t first = 0, chunk = 0; first < collection.Count(); first += kChunkGames, ++chunk) {
    games.clear();
    for (std::size_t place = first; place < std::min(first + kChunkGames, collection.Count()); ++place)
      games.push_back(ScannedOf(collection.Game(place), place));
    ChunkReports reports;
    reader.Read(chunk, games, visit, reports);
    PassOn(collection, source, chunk, reports, visit, done);
  }
}

}  // namespace

void ReadEveryGame(Collection& collection, unsigned threads, const GameVisitor& visit, const GameDone& done) {
  const ReadSource source = ReadSource::Of(collection);
  // The calling thread reads too: it starts one thread fewer.
  const std::size_t chunks = (collection.Count() + kChunkGames - 1) / kChunkGames;
  const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), chunks) - 1;
  if (helpers == 0) {
    ReadOnThisThread(collection, source, visit, done);
    return;
  }
  GameFeed feed;
  ReadingCrew crew(source, feed, visit);
  while (crew.Threads() < helpers && crew.StartThread()) {
  }
  for (std::size_t place = 0; place < collection.Count(); ++place) feed.Add(ScannedOf(collection.Game(place), place));
  feed.Close();
  crew.PassOnInOrder(collection, done);
}

}  // namespace varnock
