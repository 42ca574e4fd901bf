// Opening a collection while its games' moves are read.
//
// Opening a large file scans the headers of its games on one thread; reading
// every game's moves afterwards takes several times as long. Here reading
// threads start on the games the open has scanned while it scans on, so
// that the two overlap. What reaches the collection, and the visitor's
// callers, is what opening first and then ReadEveryGame leaves: the open's
// reports come first, then the reads' reports and messages in game order.
#pragma once

#include <functional>

#include "collection/Collection.h"
#include "collection/GameVisitor.h"

namespace varnock {

// Runs `open` on the calling thread (a load of the collection, which builds
// it with BuildFromText) while up to `threads` threads read the moves of the
// games scanned so far; the calling thread reads with them once the open is
// done. Every game is visited as ReadEveryGame visits it. With one thread,
// or a file too small to share out, the open runs first and the reads on
// the calling thread after it.
//
// The visitor runs while the collection is being built: it may not look at
// the collection at all, and the number of games is not known until the
// open is done (PlaceSlots keeps a value a game while it grows).
//
// When `open` fails (returns false) or throws, the reading threads are
// stopped, what they read is dropped, nothing is visited and false is
// returned or the exception passed on. Should the open change the games it
// built before it ends, or build twice, what was read during the open is
// dropped and every game read afresh once it is done: the visitor may then
// see a game twice, last as the collection holds it.
bool OpenWhileReading(Collection& collection, unsigned threads, const std::function<bool()>& open,
                      const GameVisitor& visit, const GameDone& done = {});

}  // namespace varnock
