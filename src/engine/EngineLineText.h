// Engine lines in coordinates ("e2e4 e7e5 g1f3") written in short algebraic
// notation for the analysis display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Board.h"
#include "core/Placement.h"

namespace varnock {

// One coordinate move: from file a-h, rank 1-8, to file, rank, and an
// optional promotion letter q, r, b or n.
struct CoordinateMove {
  int from = 0;
  int to = 0;
  char promotion = 0;  // 0 or 'q', 'r', 'b', 'n'
};
bool ParseCoordinateMove(std::string_view token, CoordinateMove& move);

// A board and its kings that engine moves are played on, move by move.
struct ScratchPosition {
  BoardSquares board{};
  KingSquares kings;
};
ScratchPosition ScratchOf(const BoardSquares& board);

// Appends the text of one move and a space, and plays it on the scratch
// position. A move from an empty square is not written and returns false.
bool AppendEngineMove(std::string& text, ScratchPosition& position, const CoordinateMove& move,
                      std::string_view initials);

// The text of a whole line, played on a copy of the position; conversion
// ends at a move from an empty square.
std::string EngineLineText(const ScratchPosition& position, const std::vector<CoordinateMove>& line,
                           std::string_view initials);

}  // namespace varnock
