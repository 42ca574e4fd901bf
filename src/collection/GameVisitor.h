// What a read of every game's moves tells its caller, game by game.
#pragma once

#include <cstddef>
#include <functional>

#include "tree/GameTree.h"

namespace varnock {

// Sees one game's tree; `place` is the game's 0-based place. Called on the
// reading threads, several at once and in no particular order: it may write
// only what belongs to this one game (a slot of its own for the place, see
// PlaceSlots) and may read what nobody changes while the games are read. The
// tree is freed when the visitor returns.
using GameVisitor = std::function<void(std::size_t place, GameTree& tree)>;

// Told on the calling thread, in game order, once a game was visited and its
// reports and messages were passed on.
using GameDone = std::function<void(std::size_t place)>;

}  // namespace varnock
