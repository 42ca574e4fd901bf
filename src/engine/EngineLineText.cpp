#include "engine/EngineLineText.h"

#include <cstdlib>

#include "core/Legality.h"
#include "core/MoveGen.h"
#include "core/Notation.h"
#include "core/PieceInitials.h"

namespace varnock {

namespace {

std::uint8_t PromotionType(char letter) {
  switch (letter) {
    case 'q':
      return kQueen;
    case 'r':
      return kRook;
    case 'b':
      return kBishop;
    case 'n':
      return kKnight;
    default:
      return 0;
  }
}

// How the scratch position was reached, as move legality asks it: the
// start position grants castling rights and en passant, a square is unchanged
// until a move of the line touches it, and en passant follows the last move.
class LineHistory : public PositionHistory {
 public:
  explicit LineHistory(const ScratchPosition& position) : position_(position) {}
  LastMove PreviousMove() const override { return position_.last; }
  const FENExtras* ComposedPosition() const override { return position_.atOrigin ? &position_.origin : nullptr; }
  bool SquareUnchanged(int square) const override { return !((position_.touched >> square) & 1u); }
  bool CastlingGranted(std::uint8_t colour, bool kingSide) const override {
    return position_.origin.CastlingFlag(colour, kingSide);
  }

 private:
  const ScratchPosition& position_;
};

void AppendSquare(std::string& text, int square) {
  text += static_cast<char>('a' + FileOf(square));
  text += static_cast<char>('0' + RankOf(square));
}

}  // namespace

bool ParseCoordinateMove(std::string_view token, CoordinateMove& move) {
  if (token.size() != 4 && token.size() != 5) return false;
  auto file = [](char c) { return c >= 'a' && c <= 'h'; };
  auto rank = [](char c) { return c >= '1' && c <= '8'; };
  if (!file(token[0]) || !rank(token[1]) || !file(token[2]) || !rank(token[3])) return false;
  if (token.size() == 5 && PromotionType(token[4]) == 0) return false;
  move.from = SquareAt(token[0] - 'a', '8' - token[1]);
  move.to = SquareAt(token[2] - 'a', '8' - token[3]);
  move.promotion = token.size() == 5 ? token[4] : 0;
  return true;
}

ScratchPosition ScratchOf(const FENExtras& start) {
  ScratchPosition position;
  position.board = start.board;
  position.sideToMove = start.sideToMove;
  position.origin = start;
  LocateKings(position.board, position.kings);
  return position;
}

bool AppendEngineMove(std::string& text, ScratchPosition& position, const CoordinateMove& move,
                      std::string_view initials) {
  const BoardSquares& board = position.board;
  const std::uint8_t piece = board[static_cast<std::size_t>(move.from)];
  if (piece == 0) return false;
  const std::uint8_t mover = piece & kColourMask;
  // An engine's line is shown only as far as it is legal: "e2e5" is no "e5".
  if (mover != position.sideToMove) return false;
  const std::uint8_t promotionType = (piece & kPawn) ? PromotionType(move.promotion) : 0;
  const Move legal{static_cast<std::uint8_t>(move.from), static_cast<std::uint8_t>(move.to), promotionType};
  if (!IsLegalMove(board, position.kings, mover, legal, LineHistory(position))) return false;
  const bool capture = board[static_cast<std::size_t>(move.to)] != 0;
  const int fileStep = FileOf(move.to) - FileOf(move.from);

  if ((piece & kKing) && RowOf(move.from) == RowOf(move.to) && std::abs(fileStep) == 2) {
    text += fileStep > 0 ? "O-O" : "O-O-O";
  } else if (piece & kPawn) {
    if (fileStep == 0) {
      AppendSquare(text, move.to);
    } else {
      text += static_cast<char>('a' + FileOf(move.from));
      text += 'x';
      AppendSquare(text, move.to);
    }
  } else {
    text += PieceInitial(initials, piece & kTypeMask);
    text += Disambiguation(board, move.from, move.to);
    if (capture) text += 'x';
    AppendSquare(text, move.to);
  }
  const std::uint8_t promotion = (piece & kPawn) ? PromotionType(move.promotion) : 0;
  if (promotion) {
    text += '=';
    text += PieceInitial(initials, promotion);
  }

  // ApplyMove moves a castling rook along and removes a pawn taken en
  // passant, as the text above assumes.
  ApplyMove(position.board, position.kings, move.from, move.to, promotion);
  position.atOrigin = false;
  position.last = {true, move.from, move.to, mover};
  position.touched |= (std::uint64_t{1} << move.from) | (std::uint64_t{1} << move.to);
  position.sideToMove = Opponent(mover);
  if (IsKingAttacked(position.board, position.kings, Opponent(mover))) text += '+';
  text += ' ';
  return true;
}

std::string EngineLineText(const ScratchPosition& position, const std::vector<CoordinateMove>& line,
                           std::string_view initials) {
  ScratchPosition scratch = position;
  std::string text;
  for (const CoordinateMove& move : line) {
    if (!AppendEngineMove(text, scratch, move, initials)) break;
  }
  return text;
}

}  // namespace varnock
