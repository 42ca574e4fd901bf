#include "core/Attack.h"

namespace varnock {

AttackResult IsSquareAttacked(const BoardSquares& board, std::uint8_t colour, int square) {
  AttackResult result;
  if (square < 0 || square >= 64) return result;
  const std::uint8_t enemy = Opponent(colour);
  const int file = FileOf(square);
  const int row = RowOf(square);

  static constexpr int kKnightSteps[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}, {-1, 2}, {1, 2}};
  for (const auto& step : kKnightSteps) {
    int f = file + step[0], r = row + step[1];
    if (!OnBoard(f, r)) continue;
    std::uint8_t code = board[static_cast<std::size_t>(SquareAt(f, r))];
    if ((code & kKnight) && (code & enemy)) {
      result.attacked = true;
      result.attacker = SquareAt(f, r);
      return result;
    }
  }

  const int pawnRowStep = colour == kBlack ? 1 : -1;
  for (int df = -1; df <= 1; ++df) {
    for (int dr = -1; dr <= 1; ++dr) {
      if (df == 0 && dr == 0) continue;
      const bool diagonal = df != 0 && dr != 0;
      int f = file + df, r = row + dr;
      for (int distance = 1; OnBoard(f, r); ++distance, f += df, r += dr) {
        std::uint8_t code = board[static_cast<std::size_t>(SquareAt(f, r))];
        if (code == 0) continue;
        if (!(code & enemy)) break;  // own piece (or a stray byte) blocks
        bool attacks = (code & kQueen) || (!diagonal && (code & kRook)) || (diagonal && (code & kBishop)) ||
                       (distance == 1 && (code & kKing)) ||
                       (distance == 1 && diagonal && dr == pawnRowStep && (code & kPawn));
        if (attacks) {
          result.attacked = true;
          result.attacker = SquareAt(f, r);
          return result;
        }
        break;
      }
    }
  }
  return result;
}

}  // namespace varnock
