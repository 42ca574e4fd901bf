// Precomputed geometry of the board: knight and king steps, the squares along
// each of the eight directions from every square, and the direction that
// leads from one square to another.
#pragma once

#include <array>
#include <cstdint>

#include "core/Board.h"

namespace varnock {

struct AttackTables {
  // Directions are numbered by file step -1, 0, +1 outside and row step -1,
  // 0, +1 inside, leaving out the null step.
  static constexpr int kDirections = 8;

  // Knight squares of every square in the order -17, -15, -10, -6, +6, +10,
  // +15, +17, and the same as a set.
  std::array<std::array<std::int8_t, 8>, 64> knights{};
  std::array<std::uint8_t, 64> knightCount{};
  std::array<std::uint64_t, 64> knightSet{};
  // The squares a king steps to.
  std::array<std::uint64_t, 64> kingSet{};
  // The squares along each direction, nearest first.
  std::array<std::array<std::array<std::int8_t, 7>, kDirections>, 64> rays{};
  std::array<std::array<std::uint8_t, kDirections>, 64> rayLength{};
  std::array<std::int8_t, kDirections> rowStep{};
  std::array<bool, kDirections> diagonal{};
  // The direction from the first square to the second along a file, a row or
  // a diagonal, or -1 when they share none (or are the same square).
  std::array<std::array<std::int8_t, 64>, 64> direction{};

  constexpr AttackTables() {
    constexpr int kKnightSteps[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}, {-1, 2}, {1, 2}};
    for (auto& row : direction) row.fill(-1);
    int d = 0;
    for (int df = -1; df <= 1; ++df) {
      for (int dr = -1; dr <= 1; ++dr) {
        if (df == 0 && dr == 0) continue;
        const auto dd = static_cast<std::size_t>(d);
        rowStep[dd] = static_cast<std::int8_t>(dr);
        diagonal[dd] = df != 0 && dr != 0;
        for (int square = 0; square < 64; ++square) {
          const auto s = static_cast<std::size_t>(square);
          int n = 0;
          for (int f = FileOf(square) + df, r = RowOf(square) + dr; OnBoard(f, r); f += df, r += dr) {
            rays[s][dd][static_cast<std::size_t>(n++)] = static_cast<std::int8_t>(SquareAt(f, r));
            direction[s][static_cast<std::size_t>(SquareAt(f, r))] = static_cast<std::int8_t>(d);
          }
          rayLength[s][dd] = static_cast<std::uint8_t>(n);
          if (OnBoard(FileOf(square) + df, RowOf(square) + dr))
            kingSet[s] |= std::uint64_t{1} << SquareAt(FileOf(square) + df, RowOf(square) + dr);
        }
        ++d;
      }
    }
    for (int square = 0; square < 64; ++square) {
      const auto s = static_cast<std::size_t>(square);
      int n = 0;
      for (const auto& step : kKnightSteps) {
        const int f = FileOf(square) + step[0], r = RowOf(square) + step[1];
        if (!OnBoard(f, r)) continue;
        knights[s][static_cast<std::size_t>(n++)] = static_cast<std::int8_t>(SquareAt(f, r));
        knightSet[s] |= std::uint64_t{1} << SquareAt(f, r);
      }
      knightCount[s] = static_cast<std::uint8_t>(n);
    }
  }

  // The sliders that move along direction d: rook-or-queen, bishop-or-queen.
  constexpr std::uint8_t SlidersAlong(int d) const {
    return diagonal[static_cast<std::size_t>(d)] ? kDiagonalSlider : kStraightSlider;
  }
};

inline constexpr AttackTables kAttackTables;

// The first occupied square along direction d from `square`, or -1.
inline int FirstOccupied(const BoardSquares& board, int square, int d) {
  const auto& ray = kAttackTables.rays[static_cast<std::size_t>(square)][static_cast<std::size_t>(d)];
  const int length = kAttackTables.rayLength[static_cast<std::size_t>(square)][static_cast<std::size_t>(d)];
  for (int n = 0; n < length; ++n) {
    const int at = ray[static_cast<std::size_t>(n)];
    if (board[static_cast<std::size_t>(at)] != 0) return at;
  }
  return -1;
}

}  // namespace varnock
