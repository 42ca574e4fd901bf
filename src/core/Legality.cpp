#include "core/Legality.h"

#include <cstdlib>

#include "core/Attack.h"
#include "core/AttackTables.h"

namespace varnock {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }
std::uint8_t At(const BoardSquares& board, int square) { return board[static_cast<std::size_t>(square)]; }

}  // namespace

bool PathBlocked(const BoardSquares& board, int from, int to) {
  if (from == to) return false;
  int df = FileOf(to) - FileOf(from), dr = RowOf(to) - RowOf(from);
  if (df != 0 && dr != 0 && std::abs(df) != std::abs(dr)) return true;
  int stepFile = Sign(df), stepRow = Sign(dr);
  int f = FileOf(from) + stepFile, r = RowOf(from) + stepRow;
  for (; SquareAt(f, r) != to; f += stepFile, r += stepRow)
    if (At(board, SquareAt(f, r)) != 0) return true;
  return false;
}

bool IsPinned(const BoardSquares& board, std::uint8_t colour, int square, int kingSquare) {
  if (square < 0 || square >= 64 || kingSquare < 0 || kingSquare >= 64) return false;
  return PinnedGiven(board, OccupiedSet(board), colour, square, kingSquare);
}

bool IsCastlingMove(int from, int to) {
  return (from == kE1 && (to == kG1 || to == kC1)) || (from == kE8 && (to == kG8 || to == kC8));
}

CastlingSquares CastlingSquaresOf(std::uint8_t colour, bool kingSide) {
  const int home = colour == kWhite ? kE1 : kE8;
  const int row = RowOf(home);
  const std::uint64_t between = (kingSide ? std::uint64_t{0x60} : std::uint64_t{0x0E}) << (8 * row);  // f-g, b-d
  return {home, SquareAt(kingSide ? 7 : 0, row), SquareAt(kingSide ? 5 : 3, row), SquareAt(kingSide ? 6 : 2, row),
          between};
}

void MoveCastlingRook(BoardSquares& board, int kingFrom, int kingTo) {
  if (!IsCastlingMove(kingFrom, kingTo)) return;
  const CastlingSquares squares = CastlingSquaresOf(kingFrom == kE1 ? kWhite : kBlack, FileOf(kingTo) == 6);
  std::uint8_t& rook = board[static_cast<std::size_t>(squares.corner)];
  if (!(rook & kRook)) return;
  board[static_cast<std::size_t>(squares.transit)] = rook;  // the rook lands where the king crossed
  rook = 0;
}

int EnPassantVictim(int from, int to) {
  int fromRow = RowOf(from), toRow = RowOf(to);
  if (fromRow == toRow) return -1;
  return SquareAt(FileOf(to), toRow + Sign(fromRow - toRow));
}

namespace {

bool CastlingValid(const BoardSquares& board, std::uint8_t colour, int from, int to, const PositionHistory& history,
                   std::string& message, bool& recognised) {
  recognised = false;
  const bool kingSide = FileOf(to) == 6;
  const CastlingSquares squares = CastlingSquaresOf(colour, kingSide);
  if (from != squares.home || !IsCastlingMove(from, to)) return false;
  const int corner = squares.corner;
  if (At(board, corner) != (kRook | colour)) return false;
  if (OccupiedSet(board) & squares.between) return false;
  recognised = true;

  const char* const side = ColourName(colour);  // made into text only for a message
  const int transit = squares.transit;
  if (IsSquareAttacked(board, colour, transit).attacked || IsSquareAttacked(board, colour, to).attacked) {
    message = std::string(side) + ": Invalid castling.  Transit square is covered.";
    return false;
  }
  if (IsSquareAttacked(board, colour, from).attacked) {
    message = std::string(side) + ": Invalid castling.  King is in check.";
    return false;
  }
  if (!history.SquareUnchanged(from)) {
    message = std::string(side) + ": Invalid castling.  King has already moved.";
    return false;
  }
  if (!history.SquareUnchanged(corner)) {
    message = std::string(side) + ": Invalid castling.  Rook has already moved.";
    return false;
  }
  // A set-up position states its castling rights; without them the king or
  // the rook is taken to have moved before it.
  if (!history.CastlingGranted(colour, kingSide)) {
    bool anyRight = history.CastlingGranted(colour, !kingSide);
    message = std::string(side) + (anyRight ? ": Invalid castling.  Rook has already moved."
                                            : ": Invalid castling.  King has already moved.");
    return false;
  }
  return true;
}

bool PawnMoveValid(const BoardSquares& board, std::uint8_t colour, int from, int to, const PositionHistory& history,
                   std::string& message) {
  const int forward = colour == kWhite ? -1 : 1;
  const int df = FileOf(to) - FileOf(from), dr = RowOf(to) - RowOf(from);
  const std::uint8_t target = At(board, to);
  const std::uint8_t enemy = Opponent(colour);

  if (target != 0) return std::abs(df) == 1 && (target & enemy) && dr == forward;

  if (df != 0) {
    const int fromRow = colour == kWhite ? 3 : 4;
    if (std::abs(df) != 1 || RowOf(from) != fromRow || dr != forward) return false;
    const int victim = SquareAt(FileOf(to), fromRow);
    if (At(board, victim) != (kPawn | enemy)) return false;
    bool allowed = false;
    if (const FENExtras* composed = history.ComposedPosition()) {
      // A set-up position allows the capture only when its en-passant field
      // names the target square.
      allowed = composed->EnPassantText() == SquareName(to);
    } else {
      LastMove last = history.PreviousMove();
      const int enemySecondRow = enemy == kWhite ? 6 : 1;
      allowed =
          last.present && last.mover == enemy && last.from == SquareAt(FileOf(to), enemySecondRow) && last.to == victim;
    }
    if (!allowed) {
      message = std::string(ColourName(colour)) + ": Invalid en passant capture '" + SquareName(from) + "-" +
                SquareName(to) + "'.";
    }
    return allowed;
  }

  if (dr == forward) return true;
  const int startRow = colour == kWhite ? 6 : 1;
  return dr == 2 * forward && RowOf(from) == startRow && At(board, from + 8 * forward) == 0;
}

}  // namespace

bool IsMoveValid(const BoardSquares& board, std::uint8_t colour, int from, int to, const PositionHistory& history,
                 std::string& message) {
  if (from < 0 || from >= 64 || to < 0 || to >= 64) return false;
  const std::uint8_t moving = At(board, from);
  if (moving == 0) return true;
  if (At(board, to) & colour) return false;
  const int df = std::abs(FileOf(to) - FileOf(from)), dr = std::abs(RowOf(to) - RowOf(from));

  if (moving & kRook) return (df == 0 || dr == 0) && !PathBlocked(board, from, to);
  if (moving & kKnight) return df + dr == 3 && df != 0 && dr != 0;
  if (moving & kBishop) return df == dr && !PathBlocked(board, from, to);
  if (moving & kQueen) return (df == dr || df == 0 || dr == 0) && !PathBlocked(board, from, to);
  if (moving & kKing) {
    bool recognised = false;
    bool castles = CastlingValid(board, colour, from, to, history, message, recognised);
    if (recognised) return castles;
    return dr <= 1 && df <= 1;
  }
  if (moving & kPawn) return PawnMoveValid(board, colour, from, to, history, message);
  return false;
}

AppliedMove ApplyMove(BoardSquares& board, KingSquares& kings, int from, int to, std::uint8_t promotion) {
  AppliedMove result;
  if (from < 0 || from >= 64 || to < 0 || to >= 64 || from == to) return result;
  const std::uint8_t moving = At(board, from);
  const std::uint8_t colour = moving & kColourMask;
  const std::uint8_t captured = At(board, to);
  bool kingTaken = (captured & kKing) != 0;

  if ((moving & kPawn) && FileOf(from) != FileOf(to) && captured == 0) {
    int victim = EnPassantVictim(from, to);
    if (victim >= 0) {
      kingTaken = kingTaken || (At(board, victim) & kKing);
      board[static_cast<std::size_t>(victim)] = 0;
      result.kind = kEnPassant;
      result.capture = true;
    }
  } else if ((moving & kKing) && IsCastlingMove(from, to)) {
    MoveCastlingRook(board, from, to);
    result.kind = kCastling;
  }
  if ((moving & kKing) && (colour == kWhite || colour == kBlack)) kings.Of(colour) = to;

  if (promotion != 0) {
    board[static_cast<std::size_t>(to)] = static_cast<std::uint8_t>((promotion & kTypeMask) | colour);
    result.kind = kPromotion;
  } else {
    board[static_cast<std::size_t>(to)] = moving;
  }
  board[static_cast<std::size_t>(from)] = 0;
  if (captured != 0) result.capture = true;
  if (kingTaken) LocateKings(board, kings);
  return result;
}

bool IsKingAttacked(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour) {
  int square = kings.Of(colour);
  if (square < 0 || square >= 64) return false;
  return IsSquareAttacked(board, colour, square).attacked;
}

}  // namespace varnock
