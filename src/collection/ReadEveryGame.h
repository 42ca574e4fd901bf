// Reading the moves of every game of a collection, on several threads.
//
// Each game's moves are read from the retained file text into a scratch game
// on the reading thread's own node store, shown to a visitor and freed again;
// the collection's games are left as they are. The reports and messages of
// the reads reach the collection's error list and prompt in game order, as
// reading the games one after another with EnsureLoaded leaves them: the same
// reports with the same game numbers, the same messages in the same order.
#pragma once

#include <cstddef>
#include <functional>

#include "collection/Collection.h"

namespace varnock {

// Sees one game's tree; `place` is the game's 0-based place. Called on the
// reading threads, several at once and in no particular order: it may write
// only what belongs to this one game (a slot of its own for the place) and
// may read what nobody changes while the games are read (the collection's
// headers, say). The tree is freed when the visitor returns.
using GameVisitor = std::function<void(std::size_t place, GameTree& tree)>;

// Told on the calling thread, in game order, once a game was visited and its
// reports and messages were passed on.
using GameDone = std::function<void(std::size_t place)>;

// The machine's number of cores (at least 1).
unsigned DefaultReadThreads();

// Reads the moves of every game on `threads` threads and visits each game's
// tree once. With one thread, or for a collection too small to be worth
// sharing out, everything runs on the calling thread. A game already loaded
// is visited from its own tree, on the calling thread. A game whose text is
// not held (no retained text, or an offset past its end) is visited as an
// empty game. An exception from a reader or the visitor ends the reading and
// is thrown again on the calling thread once every reading thread has ended;
// the reports of the games before the failed one have been passed on then.
void ReadEveryGame(Collection& collection, unsigned threads, const GameVisitor& visit, const GameDone& done = {});

}  // namespace varnock
