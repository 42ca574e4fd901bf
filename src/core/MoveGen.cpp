#include "core/MoveGen.h"

namespace varnock {

namespace {

std::uint8_t At(const BoardSquares& board, int square) { return board[static_cast<std::size_t>(square)]; }

// Squares a piece could reach by its geometry alone; IsMoveValid decides.
void CandidateTargets(const BoardSquares& board, int from, std::uint8_t code, std::vector<int>& out) {
  const int file = FileOf(from), row = RowOf(from);
  auto add = [&](int f, int r) {
    if (OnBoard(f, r)) out.push_back(SquareAt(f, r));
  };
  auto rays = [&](bool straight, bool diagonal) {
    for (int df = -1; df <= 1; ++df) {
      for (int dr = -1; dr <= 1; ++dr) {
        if ((df == 0 && dr == 0) || ((df == 0 || dr == 0) ? !straight : !diagonal)) continue;
        for (int f = file + df, r = row + dr; OnBoard(f, r); f += df, r += dr) {
          out.push_back(SquareAt(f, r));
          if (At(board, SquareAt(f, r)) != 0) break;
        }
      }
    }
  };
  if (code & kPawn) {
    const int forward = (code & kWhite) ? -1 : 1;
    add(file, row + forward);
    add(file, row + 2 * forward);
    add(file - 1, row + forward);
    add(file + 1, row + forward);
  } else if (code & kKnight) {
    static constexpr int kSteps[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}, {-1, 2}, {1, 2}};
    for (const auto& s : kSteps) add(file + s[0], row + s[1]);
  } else if (code & kBishop) {
    rays(false, true);
  } else if (code & kRook) {
    rays(true, false);
  } else if (code & kQueen) {
    rays(true, true);
  } else if (code & kKing) {
    for (int df = -1; df <= 1; ++df)
      for (int dr = -1; dr <= 1; ++dr)
        if (df != 0 || dr != 0) add(file + df, row + dr);
    add(file + 2, row);
    add(file - 2, row);
  }
}

}  // namespace

bool IsLegalMove(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour, const Move& move,
                 const PositionHistory& history) {
  std::string message;
  if (!IsMoveValid(board, colour, move.from, move.to, history, message)) return false;
  BoardSquares after = board;
  KingSquares afterKings = kings;
  ApplyMove(after, afterKings, move.from, move.to, move.promotion);
  return !IsKingAttacked(after, afterKings, colour);
}

std::vector<Move> GenerateLegalMoves(const BoardSquares& board, const KingSquares& kings, std::uint8_t colour,
                                     const PositionHistory& history) {
  std::vector<Move> moves;
  std::vector<int> targets;
  for (int from = 0; from < 64; ++from) {
    const std::uint8_t code = At(board, from);
    if (!(code & colour) || !(code & kTypeMask)) continue;
    targets.clear();
    CandidateTargets(board, from, code, targets);
    const int lastRow = colour == kWhite ? 0 : 7;
    for (int to : targets) {
      const bool promotes = (code & kPawn) && RowOf(to) == lastRow;
      Move move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
                static_cast<std::uint8_t>(promotes ? kQueen : 0)};
      if (!IsLegalMove(board, kings, colour, move, history)) continue;
      moves.push_back(move);
      if (promotes) {
        for (std::uint8_t piece : {kRook, kBishop, kKnight}) {
          move.promotion = piece;
          moves.push_back(move);
        }
      }
    }
  }
  return moves;
}

namespace {

struct MateAnswer {
  bool inCheck = false;
  bool anyMove = false;
};

MateAnswer Examine(const FENExtras& position) {
  KingSquares kings;
  LocateKings(position.board, kings);
  FenHistory history(position);
  MateAnswer answer;
  answer.inCheck = IsKingAttacked(position.board, kings, position.sideToMove);
  answer.anyMove = !GenerateLegalMoves(position.board, kings, position.sideToMove, history).empty();
  return answer;
}

}  // namespace

bool IsCheckmate(const FENExtras& position) {
  MateAnswer answer = Examine(position);
  return answer.inCheck && !answer.anyMove;
}

bool IsStalemate(const FENExtras& position) {
  MateAnswer answer = Examine(position);
  return !answer.inCheck && !answer.anyMove;
}

}  // namespace varnock
