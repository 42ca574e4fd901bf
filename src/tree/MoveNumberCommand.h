// Going to a numbered move of the active line.
#pragma once

#include <cstdint>

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

struct MoveNumberMatches {
  NodeRef first = kNoNode;  // the first match along the active line
  int count = 0;
};

// The nodes of the active line that show White's move `number`. Plies count
// from 0 at the root; a set-up position restarts the count at
// 2 * full-move number - 2 (+1 with Black to move) and matches either ply of
// its move number, an ordinary node only White's ply 2 * number - 1.
MoveNumberMatches FindMoveNumber(const GameTree& game, std::int64_t number);

// Asks for a move number and goes to its first match. A negative or
// non-numeric answer is ignored; several matches and no match are reported.
void CmMoveTo(GameTree& game, UserPrompt& prompt);

}  // namespace varnock
