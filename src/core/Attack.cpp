#include "core/Attack.h"

#include <array>

namespace varnock {

namespace {

// For every square: its knight squares in the order -17, -15, -10, -6, +6,
// +10, +15, +17, and the squares along each of the eight directions (file
// step -1, 0, +1 outside, row step -1, 0, +1 inside), nearest first.
struct AttackTables {
  std::array<std::array<std::int8_t, 8>, 64> knights{};
  std::array<std::uint8_t, 64> knightCount{};
  std::array<std::array<std::array<std::int8_t, 7>, 8>, 64> rays{};
  std::array<std::array<std::uint8_t, 8>, 64> rayLength{};
  std::array<std::int8_t, 8> rowStep{};
  std::array<bool, 8> diagonal{};

  constexpr AttackTables() {
    constexpr int kKnightSteps[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}, {-1, 2}, {1, 2}};
    int direction = 0;
    for (int df = -1; df <= 1; ++df) {
      for (int dr = -1; dr <= 1; ++dr) {
        if (df == 0 && dr == 0) continue;
        rowStep[static_cast<std::size_t>(direction)] = static_cast<std::int8_t>(dr);
        diagonal[static_cast<std::size_t>(direction)] = df != 0 && dr != 0;
        for (int square = 0; square < 64; ++square) {
          int n = 0;
          for (int f = FileOf(square) + df, r = RowOf(square) + dr; OnBoard(f, r); f += df, r += dr)
            rays[static_cast<std::size_t>(square)][static_cast<std::size_t>(direction)][static_cast<std::size_t>(n++)] =
                static_cast<std::int8_t>(SquareAt(f, r));
          rayLength[static_cast<std::size_t>(square)][static_cast<std::size_t>(direction)] =
              static_cast<std::uint8_t>(n);
        }
        ++direction;
      }
    }
    for (int square = 0; square < 64; ++square) {
      int n = 0;
      for (const auto& step : kKnightSteps) {
        const int f = FileOf(square) + step[0], r = RowOf(square) + step[1];
        if (OnBoard(f, r))
          knights[static_cast<std::size_t>(square)][static_cast<std::size_t>(n++)] =
              static_cast<std::int8_t>(SquareAt(f, r));
      }
      knightCount[static_cast<std::size_t>(square)] = static_cast<std::uint8_t>(n);
    }
  }
};

constexpr AttackTables kTables;

}  // namespace

AttackResult IsSquareAttacked(const BoardSquares& board, std::uint8_t colour, int square) {
  AttackResult result;
  if (square < 0 || square >= 64) return result;
  const std::uint8_t enemy = Opponent(colour);
  const auto s = static_cast<std::size_t>(square);

  const std::uint8_t enemyKnight = kKnight | enemy;
  for (std::size_t i = 0; i < kTables.knightCount[s]; ++i) {
    const int at = kTables.knights[s][i];
    const std::uint8_t code = board[static_cast<std::size_t>(at)];
    if ((code & kKnight) && (code & enemy) && (code & enemyKnight) == enemyKnight) {
      result.attacked = true;
      result.attacker = at;
      return result;
    }
  }

  const int pawnRowStep = colour == kBlack ? 1 : -1;
  for (std::size_t d = 0; d < 8; ++d) {
    const bool diagonal = kTables.diagonal[d];
    const auto& ray = kTables.rays[s][d];
    for (std::size_t n = 0; n < kTables.rayLength[s][d]; ++n) {
      const int at = ray[n];
      const std::uint8_t code = board[static_cast<std::size_t>(at)];
      if (code == 0) continue;
      if (!(code & enemy)) break;  // own piece (or a stray byte) blocks
      const bool first = n == 0;
      const bool attacks = (code & kQueen) || (!diagonal && (code & kRook)) || (diagonal && (code & kBishop)) ||
                           (first && (code & kKing)) ||
                           (first && diagonal && kTables.rowStep[d] == pawnRowStep && (code & kPawn));
      if (attacks) {
        result.attacked = true;
        result.attacker = at;
        return result;
      }
      break;
    }
  }
  return result;
}

}  // namespace varnock
