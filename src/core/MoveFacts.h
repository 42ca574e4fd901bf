// What the notation needs to know about one stored move.
//
// The game tree fills this from a move node (and its neighbours); the
// notation routines never see the tree itself.
#pragma once

#include <cstdint>

#include "core/Board.h"
#include "core/Legality.h"

namespace varnock {

struct MoveFacts {
  int from = 0;
  int to = 0;
  std::uint8_t piece = kPawn;  // type bit of the moving piece; kPawn for a promotion
  MoveKind kind = kOrdinary;
  bool capture = false;
  bool check = false;
  bool irregular = false;
  bool composed = false;        // the node carries a set-up position
  bool root = false;            // the root of the tree (no move)
  bool whiteMoved = true;       // flags bit 0 of the node
  std::uint8_t rating = 0;      // 0 none, 1..6 "!", "!!", "?", "??", "!?", "?!"
  std::uint8_t assessment = 0;  // 0 none, 1..5 "-/+", "=/+", "=", "+/=", "+/-"
  BoardSquares before{};        // the board before the move
  std::uint8_t promotedTo = 0;  // the piece code on the to square after a promotion
};

}  // namespace varnock
