// Creating move nodes.
#pragma once

#include "core/Legality.h"
#include "tree/GameTree.h"

namespace varnock {

struct NewNode {
  const BoardSquares* boardAfter = nullptr;  // the board after the move, for a snapshot
  int from = 0;
  int to = 0;
  std::uint8_t piece = kPawn;  // type bit of the moving piece (kPawn for a promotion)
  MoveKind kind = kOrdinary;
  std::uint8_t rating = 0;
  std::uint8_t assessment = 0;
  bool irregular = false;
  bool firstOfNewLine = false;  // starts an alternative: not linked as a continuation
  bool check = false;
  bool capture = false;
  bool whiteMoved = true;
};

// Creates a node with the game's line end as parent; unless it starts a new
// line it becomes the line end's continuation. A board snapshot is kept for
// a pass, a promotion, a node without parent, or when no snapshot, set-up
// position or root lies within 50 ancestors. Returns kNoNode, after telling
// the user "Unable to find a free segment", when no slot can be had.
class UserPrompt;
NodeRef CreateNode(GameTree& game, const NewNode& request, UserPrompt* prompt);

}  // namespace varnock
