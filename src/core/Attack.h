// Whether a square is attacked.
#pragma once

#include "core/Board.h"

namespace varnock {

struct AttackResult {
  bool attacked = false;
  int attacker = kNoSquare;  // the first attacker found
};

// Whether any piece of the opponent of `colour` attacks `square`. Knights are
// tried first, then the eight rays (file step -1, 0, +1 outside, row step
// inside); a piece of `colour` blocks a ray.
AttackResult IsSquareAttacked(const BoardSquares& board, std::uint8_t colour, int square);

// Whether the opponent of `colour` would attack `square` once the piece on
// `vacated` (a piece of `colour`) has left it: the answer for a king stepping
// from `vacated` to `square`, without playing the step on a copy.
bool AttackedOnceVacated(const BoardSquares& board, std::uint8_t colour, int square, int vacated);
// The same with the board's occupied squares given (bit n for square n).
bool AttackedOnceVacated(const BoardSquares& board, std::uint64_t occupied, std::uint8_t colour, int square,
                         int vacated);

}  // namespace varnock

namespace varnock {

// Whether the king on `kingSquare` stands in check after an ordinary move
// (not castling, not en passant) from `from` to `to`, given the board after
// it. Only the moved piece and the line it opened are looked at, so the
// answer is exact when the king was not in check before the move, as after
// any legal move of its opponent.
bool MoveGivesCheck(const BoardSquares& after, int kingSquare, int from, int to);
// The same with the occupied squares after the move given.
bool MoveGivesCheck(const BoardSquares& after, std::uint64_t occupiedAfter, int kingSquare, int from, int to);

}  // namespace varnock
