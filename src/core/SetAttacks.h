// Attack questions answered from a board's square sets, with no branch on
// what stands where: the reader asks them for nearly every move of a file,
// and the pieces of real games follow no pattern a branch predictor could
// learn. Each gives the answer its counterpart on the 64 squares gives
// (IsSquareAttacked, PinnedGiven, CastlingValid) for the same position.
#pragma once

#include <cstdint>

#include "core/BoardSets.h"
#include "core/PositionHistory.h"

namespace varnock {

// Whether a piece of the opponent of `colour` attacks `square`, with
// `occupied` the squares that block lines.
bool SetsAttack(const BoardSets& sets, std::uint64_t occupied, std::uint8_t colour, int square);

// Whether the piece of `colour` on `square` shields its king on `kingSquare`
// from an enemy slider along their common line.
bool SetsPinned(const BoardSets& sets, std::uint8_t colour, int square, int kingSquare);

// Whether `colour`, its king on its home square, may castle on the given
// side, as the movement rules decide it (CastlingValid): the rook on its
// corner, the squares between them empty, the king's square, the square it
// crosses and the one it lands on not attacked, and neither piece moved nor
// the right denied by a set-up position.
bool SetsCastlingAllowed(const BoardSquares& board, const BoardSets& sets, std::uint8_t colour, bool kingSide,
                         const PositionHistory& history);

}  // namespace varnock
