// Reading the moves of a run of consecutive games on a thread of its own,
// and passing what the reads leave on to the collection in game order.
//
// The games are read in chunks of kChunkGames. A chunk is read into scratch
// games on the reading thread's own node store; its reports and messages
// are kept with the chunk, and passed on to the collection, game by game,
// on the collection's thread.
#pragma once

#include <cstddef>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

#include "collection/Collection.h"
#include "collection/DeferredPrompt.h"
#include "collection/GameVisitor.h"
#include "formats/PgnReports.h"

namespace varnock {

// Games handed out at a time: enough to make the hand-over cheap, few enough
// that the threads finish close together.
inline constexpr std::size_t kChunkGames = 32;

// What the readers read from; none of it changes while the games are read.
struct ReadSource {
  static ReadSource Of(const Collection& collection);

  bool present = false;  // the games' text is held
  std::string_view text;
  bool ech = false;
  bool badContinuation = true;
};

// What reading a chunk of consecutive games leaves to pass on.
struct ChunkReports {
  struct GameEnd {
    std::size_t reports = 0;   // where the game's reports end in `errors`
    std::size_t messages = 0;  // where its messages end in `prompt`
    bool visited = false;      // read and visited by the reading thread
  };
  // Never empty: a blank first entry keeps the readers from heading the list
  // as they head an empty one (see PassOn).
  SErrorList errors;
  DeferredPrompt prompt;
  std::vector<GameEnd> ends;  // one for each game read or passed over, in order
  std::exception_ptr failure;
};

// A reading thread's own node store, and the line counter its reports share
// (lines are counted once through the text as the chunks move on).
class ChunkReader {
 public:
  explicit ChunkReader(const ReadSource& source) : source_(source) { store_.SetOneGameAtATime(true); }

  // Reads and visits the games of chunk `chunk` that are not loaded yet;
  // `games` are the chunk's games, in order. An exception ends the chunk and
  // is kept in `out`.
  void Read(std::size_t chunk, std::span<const ScannedGame> games, const GameVisitor& visit, ChunkReports& out);

 private:
  void ReadAndVisit(const ScannedGame& game, std::size_t place, const GameVisitor& visit, ChunkReports& out);

  const ReadSource& source_;
  NodeStore store_;
  LineCounter lines_;
  std::size_t sinceRelease_ = 0;
};

// Passes a read chunk's reports and messages on to the collection, game by
// game, visits the games the reading thread left (the loaded ones) from the
// collection's own trees and tells `done`; then throws the chunk's failure,
// if it had one. The collection holds the games the chunk was read from.
void PassOn(Collection& collection, const ReadSource& source, std::size_t chunk, const ChunkReports& reports,
            const GameVisitor& visit, const GameDone& done);

// The game as a reader needs it.
ScannedGame ScannedOf(const SGridFrame& game, std::size_t place);

}  // namespace varnock
