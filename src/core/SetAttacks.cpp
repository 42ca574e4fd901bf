#include "core/SetAttacks.h"

#include <array>

#include "core/AttackTables.h"
#include "core/Legality.h"

namespace varnock {

namespace {

using SquareSet = std::uint64_t;

constexpr SquareSet Bit(int square) { return SquareSet{1} << square; }

// The tables by direction + 1, so that "no common line" (-1) reads an empty
// ray at index 0 rather than taking a branch.
struct LineTables {
  std::array<std::array<SquareSet, 9>, 64> ray{};
  std::array<bool, 9> increasing{};
  std::array<bool, 9> diagonal{};
  // The squares a pawn of each colour (by colour bit: Black, White) on a
  // square attacks; the same squares hold the enemy pawns that attack it.
  std::array<std::array<SquareSet, 64>, 2> pawnAttacks{};

  constexpr LineTables() {
    for (int d = 0; d < 8; ++d) {
      const auto i = static_cast<std::size_t>(d + 1);
      increasing[i] = kAttackTables.increasing[static_cast<std::size_t>(d)];
      diagonal[i] = kAttackTables.diagonal[static_cast<std::size_t>(d)];
      for (std::size_t s = 0; s < 64; ++s) ray[s][i] = kAttackTables.rayMask[s][static_cast<std::size_t>(d)];
    }
    for (int square = 0; square < 64; ++square) {
      for (int df : {-1, 1}) {
        const int file = FileOf(square) + df;
        if (OnBoard(file, RowOf(square) + 1))  // Black moves towards higher rows
          pawnAttacks[0][static_cast<std::size_t>(square)] |= Bit(SquareAt(file, RowOf(square) + 1));
        if (OnBoard(file, RowOf(square) - 1))
          pawnAttacks[1][static_cast<std::size_t>(square)] |= Bit(SquareAt(file, RowOf(square) - 1));
      }
    }
  }
};

constexpr LineTables kLines;

// The nearest square of `blockers`, all on one ray: the lowest when square
// numbers grow along it, else the highest; none of an empty set.
SquareSet Nearest(SquareSet blockers, bool increasing) {
  const SquareSet lowest = blockers & (SquareSet{0} - blockers);
  const SquareSet highest = HighestSquare(blockers);
  return increasing ? lowest : highest;
}

std::size_t ColourIndex(std::uint8_t colour) { return colour == kWhite ? 1 : 0; }

// The sliders among `side` that move along a line of the given kind.
SquareSet Sliders(const BoardSets& sets, SquareSet side, bool diagonal) {
  const SquareSet bishops = sets.types[2], rooks = sets.types[3], queens = sets.types[4];
  return side & (diagonal ? bishops | queens : rooks | queens);
}

}  // namespace

bool SetsAttack(const BoardSets& sets, std::uint64_t occupied, std::uint8_t colour, int square) {
  if (square < 0 || square >= 64) return false;
  const auto s = static_cast<std::size_t>(square);
  const SquareSet enemy = sets.colours[1 - ColourIndex(colour)];
  // The nearest piece along each line: the directions are constants once the
  // loop is unrolled.
  SquareSet straight = 0, diagonal = 0;
  for (std::size_t d = 0; d < 8; ++d) {
    const SquareSet hit = Nearest(kAttackTables.rayMask[s][d] & occupied, kAttackTables.increasing[d]);
    (kAttackTables.diagonal[d] ? diagonal : straight) |= hit;
  }
  const SquareSet pawns = sets.types[0], knights = sets.types[1], kings = sets.types[5];
  const SquareSet attackers = (straight & Sliders(sets, enemy, false)) | (diagonal & Sliders(sets, enemy, true)) |
                              (kAttackTables.knightSet[s] & knights) | (kAttackTables.kingSet[s] & kings) |
                              (kLines.pawnAttacks[ColourIndex(colour)][s] & pawns);
  return (attackers & enemy) != 0;
}

bool SetsPinned(const BoardSets& sets, std::uint8_t colour, int square, int kingSquare) {
  if (square < 0 || square >= 64 || kingSquare < 0 || kingSquare >= 64) return false;
  const auto line = static_cast<std::size_t>(
      kAttackTables.direction[static_cast<std::size_t>(kingSquare)][static_cast<std::size_t>(square)] + 1);
  const bool increasing = kLines.increasing[line];
  const SquareSet first = Nearest(kLines.ray[static_cast<std::size_t>(kingSquare)][line] & sets.occupied, increasing);
  const SquareSet beyond = Nearest(kLines.ray[static_cast<std::size_t>(square)][line] & sets.occupied, increasing);
  const SquareSet enemy = sets.colours[1 - ColourIndex(colour)];
  return (first == Bit(square)) & ((beyond & Sliders(sets, enemy, kLines.diagonal[line])) != 0);
}

bool SetsCastlingAllowed(const BoardSquares& board, const BoardSets& sets, std::uint8_t colour, bool kingSide,
                         const PositionHistory& history) {
  const CastlingSquares squares = CastlingSquaresOf(colour, kingSide);
  if (board[static_cast<std::size_t>(squares.corner)] != (kRook | colour)) return false;
  if (sets.occupied & squares.between) return false;
  for (const int square : {squares.transit, squares.landing, squares.home})
    if (SetsAttack(sets, sets.occupied, colour, square)) return false;
  return history.SquareUnchanged(squares.home) && history.SquareUnchanged(squares.corner) &&
         history.CastlingGranted(colour, kingSide);
}

}  // namespace varnock
