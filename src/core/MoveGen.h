// Legal moves of a position, found with the same routines that check a move
// entered on the board: IsMoveValid, then ApplyMove on a copy and a test of
// the mover's king.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Legality.h"

namespace varnock {

struct Move {
  std::uint8_t from = 0;
  std::uint8_t to = 0;
  std::uint8_t promotion = 0;  // 0 or a piece type bit
  bool operator==(const Move&) const = default;
};

// Whether the move is legal: valid by the movement rules and not leaving the
// mover's king attacked.
bool IsLegalMove(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour, const Move& move,
                 const PositionHistory& history);

// Every legal move of `colour`, in order of from square, then target; a pawn
// reaching the last rank gives four moves (queen, rook, bishop, knight).
std::vector<Move> GenerateLegalMoves(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour,
                                     const PositionHistory& history);

// The position questions asked before a position goes to an engine: the side
// to move has no legal move and is (checkmate) or is not (stalemate) in check.
// The board, side to move, castling rights and en-passant square are those of
// the extras.
bool IsCheckmate(const FENExtras& position);
bool IsStalemate(const FENExtras& position);

}  // namespace varnock
