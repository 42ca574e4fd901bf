// The positions a game reaches and the moves played from them, as the
// explorer's statistics count them.
#pragma once

#include <cstdint>
#include <vector>

#include "tree/GameTree.h"

namespace varnock {

struct PositionWalk {
  bool mainLineOnly = false;
  int plies = 40;  // moves are taken from the first `plies` half-moves of each line
};

// One fact of a game: a position key in the high 32 bits, and in the low
// ones either kReachedMark (the game reaches the position) or a stored move
// played from it (from, to, check bit).
inline constexpr std::uint32_t kReachedMark = 0xFFFFFFFF;
inline std::uint64_t PositionFact(std::uint32_t key, std::uint32_t low) { return std::uint64_t{key} << 32 | low; }

// Appends the facts of the game's lines (or of its main line) from its first
// position up to `plies` half-moves: the positions after 0 to `plies`
// half-moves are reached, the moves of the first `plies` half-moves are
// played. A line ends early at a set-up position inside it, at a null move
// and at a move that does not move a piece of the side to move.
//
// Each fact is kept once (in no particular order): a game counts once for
// every position it reaches and for every move it plays from it, however
// often it comes back to the position (by repetition or through another
// line).
void CollectGamePositions(const GameTree& game, const PositionWalk& walk, std::vector<std::uint64_t>& facts);

}  // namespace varnock
