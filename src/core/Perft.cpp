#include "core/Perft.h"

namespace varnock {

namespace {

// The history of a position reached from a set-up position by a line of
// moves: the set-up position grants castling rights, a square is unchanged
// until a move touches it, and en passant follows the last move.
class WalkHistory : public PositionHistory {
 public:
  explicit WalkHistory(const FENExtras& origin) : origin_(origin) {}

  LastMove PreviousMove() const override { return last_; }
  const FENExtras* ComposedPosition() const override { return atOrigin_ ? &origin_ : nullptr; }
  bool SquareUnchanged(int square) const override { return !((touched_ >> square) & 1u); }
  bool CastlingGranted(std::uint8_t colour, bool kingSide) const override {
    return origin_.CastlingFlag(colour, kingSide);
  }

  struct Saved {
    bool atOrigin;
    LastMove last;
    std::uint64_t touched;
  };
  Saved Save() const { return {atOrigin_, last_, touched_}; }
  void Restore(const Saved& saved) {
    atOrigin_ = saved.atOrigin;
    last_ = saved.last;
    touched_ = saved.touched;
  }
  void Played(const Move& move, std::uint8_t mover) {
    atOrigin_ = false;
    last_ = {true, move.from, move.to, mover};
    touched_ |= (std::uint64_t{1} << move.from) | (std::uint64_t{1} << move.to);
  }

 private:
  const FENExtras& origin_;
  bool atOrigin_ = true;
  LastMove last_;
  std::uint64_t touched_ = 0;
};

std::uint64_t Walk(BoardSquares& board, KingSquares& kings, std::uint8_t colour, WalkHistory& history, int depth) {
  std::vector<Move> moves = GenerateLegalMoves(board, kings, colour, history);
  if (depth <= 1) return depth == 1 ? moves.size() : 1;
  std::uint64_t total = 0;
  for (const Move& move : moves) {
    BoardSquares savedBoard = board;
    KingSquares savedKings = kings;
    WalkHistory::Saved savedHistory = history.Save();
    ApplyMove(board, kings, move.from, move.to, move.promotion);
    history.Played(move, colour);
    total += Walk(board, kings, Opponent(colour), history, depth - 1);
    board = savedBoard;
    kings = savedKings;
    history.Restore(savedHistory);
  }
  return total;
}

}  // namespace

std::uint64_t Perft(const FENExtras& position, int depth) {
  if (depth <= 0) return 1;
  BoardSquares board = position.board;
  KingSquares kings;
  LocateKings(board, kings);
  WalkHistory history(position);
  return Walk(board, kings, position.sideToMove, history, depth);
}

std::vector<std::pair<Move, std::uint64_t>> PerftDivide(const FENExtras& position, int depth) {
  std::vector<std::pair<Move, std::uint64_t>> rows;
  if (depth <= 0) return rows;
  BoardSquares board = position.board;
  KingSquares kings;
  LocateKings(board, kings);
  WalkHistory history(position);
  for (const Move& move : GenerateLegalMoves(board, kings, position.sideToMove, history)) {
    BoardSquares next = board;
    KingSquares nextKings = kings;
    WalkHistory nextHistory(position);
    ApplyMove(next, nextKings, move.from, move.to, move.promotion);
    nextHistory.Played(move, position.sideToMove);
    rows.emplace_back(move,
                      depth == 1 ? 1 : Walk(next, nextKings, Opponent(position.sideToMove), nextHistory, depth - 1));
  }
  return rows;
}

std::string CoordinateText(const Move& move) {
  std::string text = SquareName(move.from) + SquareName(move.to);
  switch (move.promotion) {
    case kQueen:
      text += 'q';
      break;
    case kRook:
      text += 'r';
      break;
    case kBishop:
      text += 'b';
      break;
    case kKnight:
      text += 'n';
      break;
    default:
      break;
  }
  return text;
}

}  // namespace varnock
