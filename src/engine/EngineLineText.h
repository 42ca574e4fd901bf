// Engine lines in coordinates ("e2e4 e7e5 g1f3") written in short algebraic
// notation for the analysis display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Board.h"
#include "core/Fen.h"
#include "core/Placement.h"
#include "core/PositionHistory.h"

namespace varnock {

// One coordinate move: from file a-h, rank 1-8, to file, rank, and an
// optional promotion letter q, r, b or n.
struct CoordinateMove {
  int from = 0;
  int to = 0;
  char promotion = 0;  // 0 or 'q', 'r', 'b', 'n'
};
bool ParseCoordinateMove(std::string_view token, CoordinateMove& move);

// A position that engine moves are played on, move by move: the board, its
// kings and side to move, and what legality needs of how it was reached
// (the position the line starts from, the last move, the squares touched).
struct ScratchPosition {
  BoardSquares board{};
  KingSquares kings;
  std::uint8_t sideToMove = kWhite;
  FENExtras origin;
  bool atOrigin = true;
  LastMove last;
  std::uint64_t touched = 0;
};
ScratchPosition ScratchOf(const FENExtras& position);

// Appends the text of one move and a space, and plays it on the scratch
// position. A move that is not legal there (from an empty square, by the
// side not to move, against the rules) is not written and returns false.
bool AppendEngineMove(std::string& text, ScratchPosition& position, const CoordinateMove& move,
                      std::string_view initials);

// The text of a whole line, played on a copy of the position; it ends at
// the first move that is not legal.
std::string EngineLineText(const ScratchPosition& position, const std::vector<CoordinateMove>& line,
                           std::string_view initials);

}  // namespace varnock
