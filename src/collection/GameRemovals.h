// Removing games: the current game, or all of them (a new collection).
#pragma once

#include "collection/Collection.h"

namespace varnock {

// Removes the current game after asking; the next game becomes current (the
// new last one when the last was removed). Does nothing with a single game.
void CmCollDelete(Collection& collection);

// Starts a collection of one empty game, without a file, after asking.
void CmCollEmpty(Collection& collection);

}  // namespace varnock
