// Move legality and execution on a board.
#pragma once

#include <cstdint>
#include <string>

#include "core/Board.h"
#include "core/Placement.h"
#include "core/PositionHistory.h"

namespace varnock {

// Move kinds as stored in move nodes.
enum MoveKind : std::uint8_t { kOrdinary = 0, kCastling = 1, kEnPassant = 2, kPromotion = 3 };

// 1 when from and to are not on one line, or a square strictly between them
// is occupied; 0 otherwise (also when from == to).
bool PathBlocked(const BoardSquares& board, int from, int to);

// Whether the piece on `square` is the only piece between its king and an
// enemy slider on that line.
bool IsPinned(const BoardSquares& board, std::uint8_t colour, int square, int kingSquare);

// The movement rules of the piece on `from`, castling and en passant. Does not
// test whether the mover's own king is left in check. Writes the reason for a
// castling or en-passant refusal into `message`.
bool IsMoveValid(const BoardSquares& board, std::uint8_t colour, int from, int to, const PositionHistory& history,
                 std::string& message);

struct AppliedMove {
  MoveKind kind = kOrdinary;
  bool capture = false;
};

// Plays the move on the board in place (promotion type 0 or a piece type bit)
// and keeps the cached king squares up to date.
AppliedMove ApplyMove(BoardSquares& board, KingSquares& kings, int from, int to, std::uint8_t promotion);

// Whether the cached king of `colour` is attacked.
bool IsKingAttacked(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour);

// Board changes shared by move execution and board reconstruction, so both
// always agree.
//   The square of the pawn taken en passant by a pawn moving from -> to, or -1.
int EnPassantVictim(int from, int to);
//   For a king landing on c1, g1, c8 or g8 from e1/e8: moves that side's rook.
void MoveCastlingRook(BoardSquares& board, int kingFrom, int kingTo);
//   Whether a king move from -> to is castling.
bool IsCastlingMove(int from, int to);

// The squares of one castling: the king's home, the rook's corner, the
// square the king crosses (where the rook lands), the one the king lands on,
// and the squares between king and rook as a set (bit n for square n).
struct CastlingSquares {
  int home;
  int corner;
  int transit;
  int landing;
  std::uint64_t between;
};
CastlingSquares CastlingSquaresOf(std::uint8_t colour, bool kingSide);

}  // namespace varnock
