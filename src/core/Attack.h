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

}  // namespace varnock
