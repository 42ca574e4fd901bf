// Precomputed geometry of the board: knight and king steps, the squares along
// each of the eight directions from every square (as sets), and the direction
// that leads from one square to another.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  // The squares along each direction as a set, and whether square numbers
  // grow along each direction (the nearest square of a set is then its lowest).
  std::array<std::array<std::uint64_t, kDirections>, 64> rayMask{};
  std::array<bool, kDirections> increasing{};
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
        increasing[dd] = dr * 8 + df > 0;
        for (int square = 0; square < 64; ++square) {
          const auto s = static_cast<std::size_t>(square);
          for (int f = FileOf(square) + df, r = RowOf(square) + dr; OnBoard(f, r); f += df, r += dr) {
            rayMask[s][dd] |= std::uint64_t{1} << SquareAt(f, r);
            direction[s][static_cast<std::size_t>(SquareAt(f, r))] = static_cast<std::int8_t>(d);
          }
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

// The occupied squares of the board as a set, without a branch per square.
inline std::uint64_t OccupiedSet(const BoardSquares& board) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t empty = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 16 * i));
    const auto mask = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, zero)));
    empty |= static_cast<std::uint64_t>(mask) << (16 * i);
  }
  return ~empty;
#else
  std::uint64_t occupied = 0;
  for (int square = 0; square < 64; ++square)
    if (board[static_cast<std::size_t>(square)] != 0) occupied |= std::uint64_t{1} << square;
  return occupied;
#endif
}

// The squares holding a piece with both the colour bit and the type bit.
inline std::uint64_t PieceSet(const BoardSquares& board, std::uint8_t colour, std::uint8_t type) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i colourBits = _mm_set1_epi8(static_cast<char>(colour));
  const __m128i typeBits = _mm_set1_epi8(static_cast<char>(type));
  std::uint64_t missing = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 16 * i));
    const __m128i noColour = _mm_cmpeq_epi8(_mm_and_si128(chunk, colourBits), zero);
    const __m128i noType = _mm_cmpeq_epi8(_mm_and_si128(chunk, typeBits), zero);
    const auto mask = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_or_si128(noColour, noType)));
    missing |= static_cast<std::uint64_t>(mask) << (16 * i);
  }
  return ~missing;
#else
  std::uint64_t holding = 0;
  for (int square = 0; square < 64; ++square) {
    const std::uint8_t code = board[static_cast<std::size_t>(square)];
    if ((code & colour) && (code & type)) holding |= std::uint64_t{1} << square;
  }
  return holding;
#endif
}

// The highest square of a set as a set, none of an empty set, without the
// branch on zero that std::bit_floor takes where the processor has no
// leading-zero count.
inline std::uint64_t HighestSquare(std::uint64_t squares) {
  return (std::uint64_t{1} << (63 - __builtin_clzll(squares | 1))) & squares;
}

// The first square of `occupied` along direction d from `square`, or -1.
inline int FirstOccupiedIn(std::uint64_t occupied, int square, int d) {
  const std::uint64_t blockers =
      kAttackTables.rayMask[static_cast<std::size_t>(square)][static_cast<std::size_t>(d)] & occupied;
  if (blockers == 0) return -1;
  return kAttackTables.increasing[static_cast<std::size_t>(d)] ? std::countr_zero(blockers)
                                                               : 63 - std::countl_zero(blockers);
}

// Whether the piece of `colour` on `square` shields its king on `kingSquare`
// from an enemy slider along their common line, with `occupied` the squares
// that block lines (both squares on the board).
inline bool PinnedGiven(const BoardSquares& board, std::uint64_t occupied, std::uint8_t colour, int square,
                        int kingSquare) {
  const int d = kAttackTables.direction[static_cast<std::size_t>(kingSquare)][static_cast<std::size_t>(square)];
  if (d < 0 || FirstOccupiedIn(occupied, kingSquare, d) != square) return false;
  const int beyond = FirstOccupiedIn(occupied, square, d);
  if (beyond < 0) return false;
  const std::uint8_t code = board[static_cast<std::size_t>(beyond)];
  return (code & Opponent(colour)) && (code & kAttackTables.SlidersAlong(d));
}

// The first occupied square along direction d from `square`, or -1.
inline int FirstOccupied(const BoardSquares& board, int square, int d) {
  return FirstOccupiedIn(OccupiedSet(board), square, d);
}

}  // namespace varnock
