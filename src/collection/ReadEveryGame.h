// Reading the moves of every game of a collection, on several threads.
//
// Each game's moves are read from the retained file text into a scratch game
// on the reading thread's own node store, shown to a visitor and freed again;
// the collection's games are left as they are. The reports and messages of
// the reads reach the collection's error list and prompt in game order, as
// reading the games one after another with EnsureLoaded leaves them: the same
// reports with the same game numbers, the same messages in the same order.
#pragma once

#include "collection/Collection.h"
#include "collection/GameVisitor.h"

namespace varnock {

// The machine's number of cores (at least 1).
unsigned DefaultReadThreads();

// Reads the moves of every game on `threads` threads, the calling thread one
// of them, and visits each game's tree once. With one thread, or for a
// collection too small to be worth sharing out, everything runs on the
// calling thread. A game already loaded is visited from its own tree, on the
// calling thread. A game whose text is not held (no retained text, or an
// offset past its end) is visited as an empty game. An exception from a
// reader or the visitor ends the reading and is thrown again on the calling
// thread once every reading thread has ended; the reports of the games
// before the failed one have been passed on then.
void ReadEveryGame(Collection& collection, unsigned threads, const GameVisitor& visit, const GameDone& done = {});

}  // namespace varnock
