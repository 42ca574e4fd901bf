#include "core/Attack.h"

#include <array>

#include "core/AttackTables.h"

namespace varnock {

namespace {

constexpr const AttackTables& kTables = kAttackTables;

// IsSquareAttacked with the squares that block lines given.
AttackResult AttackedGiven(const BoardSquares& board, std::uint64_t occupied, std::uint8_t colour, int square) {
  AttackResult result;
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

  // Along each line only the nearest piece can attack: an own piece (or a
  // stray byte) blocks.
  const int pawnRowStep = colour == kBlack ? 1 : -1;
  for (std::size_t d = 0; d < 8; ++d) {
    const int at = FirstOccupiedIn(occupied, square, static_cast<int>(d));
    if (at < 0) continue;
    const std::uint8_t code = board[static_cast<std::size_t>(at)];
    if (!(code & enemy)) continue;
    const bool diagonal = kTables.diagonal[d];
    const bool first = (kTables.kingSet[s] >> at) & 1;  // next to the square
    const bool attacks = (code & kQueen) || (!diagonal && (code & kRook)) || (diagonal && (code & kBishop)) ||
                         (first && (code & kKing)) ||
                         (first && diagonal && kTables.rowStep[d] == pawnRowStep && (code & kPawn));
    if (attacks) {
      result.attacked = true;
      result.attacker = at;
      return result;
    }
  }
  return result;
}

}  // namespace

AttackResult IsSquareAttacked(const BoardSquares& board, std::uint8_t colour, int square) {
  if (square < 0 || square >= 64) return {};
  return AttackedGiven(board, OccupiedSet(board), colour, square);
}

bool AttackedOnceVacated(const BoardSquares& board, std::uint8_t colour, int square, int vacated) {
  return AttackedOnceVacated(board, OccupiedSet(board), colour, square, vacated);
}

bool AttackedOnceVacated(const BoardSquares& board, std::uint64_t occupied, std::uint8_t colour, int square,
                         int vacated) {
  if (square < 0 || square >= 64 || vacated < 0 || vacated >= 64) return false;
  return AttackedGiven(board, occupied & ~(std::uint64_t{1} << vacated), colour, square).attacked;
}

}  // namespace varnock

namespace varnock {

bool MoveGivesCheck(const BoardSquares& after, int kingSquare, int from, int to) {
  return MoveGivesCheck(after, OccupiedSet(after), kingSquare, from, to);
}

bool MoveGivesCheck(const BoardSquares& after, std::uint64_t occupiedAfter, int kingSquare, int from, int to) {
  if (kingSquare < 0 || kingSquare >= 64 || from < 0 || from >= 64 || to < 0 || to >= 64) return false;
  const std::uint8_t piece = after[static_cast<std::size_t>(to)];
  const std::uint8_t colour = piece & kColourMask;
  if (colour != kWhite && colour != kBlack) return false;
  const auto k = static_cast<std::size_t>(kingSquare);

  // The moved piece itself.
  if (piece & kKnight) {
    if (kTables.knightSet[static_cast<std::size_t>(to)] & (std::uint64_t{1} << kingSquare)) return true;
  } else if (piece & kPawn) {
    const int forward = colour == kWhite ? -1 : 1;
    if (RowOf(kingSquare) == RowOf(to) + forward &&
        (FileOf(kingSquare) - FileOf(to) == 1 || FileOf(to) - FileOf(kingSquare) == 1))
      return true;
  } else if (piece & (kBishop | kRook | kQueen)) {
    const int d = kTables.direction[static_cast<std::size_t>(to)][k];
    if (d >= 0 && (piece & kTables.SlidersAlong(d)) && FirstOccupiedIn(occupiedAfter, to, d) == kingSquare) return true;
  }

  // A line the move opened from the king through the square it left.
  const int d = kTables.direction[k][static_cast<std::size_t>(from)];
  if (d < 0) return false;
  const int first = FirstOccupiedIn(occupiedAfter, kingSquare, d);
  if (first < 0) return false;
  const std::uint8_t code = after[static_cast<std::size_t>(first)];
  return (code & colour) && (code & kTables.SlidersAlong(d));
}

}  // namespace varnock
