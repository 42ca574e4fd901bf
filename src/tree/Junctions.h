// Moving between the junctions of a line (positions where it branches) and
// between the ends of all lines.
#pragma once

#include "tree/GameTree.h"

namespace varnock {

// Back to the nearest earlier position on the line that has alternatives;
// the game's start when there is none.
void GoToPreviousJunction(GameTree& game);
// Forward along the line to the next position that has alternatives; the
// end of the line when there is none.
void GoToNextJunction(GameTree& game);
// The ends of all lines, in the order their moves were made: from the end
// of the current line to the next end (forwards; the current line's own end
// first when the current node is not at it) or the one before (backwards),
// wrapping around, its line made part of the active line.
void CycleBranchEnds(GameTree& game, bool forward);

}  // namespace varnock
