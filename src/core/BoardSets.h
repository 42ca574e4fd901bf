// The pieces of a board as square sets (bit n for square n), kept beside the
// 64 squares by a reader that plays move after move, so that the sets it
// asks for are not derived from the squares again for every move.
#pragma once

#include <array>
#include <cstdint>

#include "core/Board.h"

namespace varnock {

struct BoardSets {
  std::uint64_t occupied = 0;
  std::array<std::uint64_t, 2> colours{};  // by colour bit: Black, White
  std::array<std::uint64_t, 6> types{};    // by type bit: pawn, knight, bishop, rook, queen, king

  // The sets of a board. A square's code counts in every set whose bit it has.
  static BoardSets Of(const BoardSquares& board);

  // The squares whose code has both `colour` and `type` (one bit each).
  std::uint64_t Pieces(std::uint8_t colour, std::uint8_t type) const;

  // Follows an ordinary move (not castling, en passant or a promotion):
  // `moving` and `captured` are the codes on `from` and `to` before it.
  void Move(int from, int to, std::uint8_t moving, std::uint8_t captured);

  bool operator==(const BoardSets&) const = default;

 private:
  // Flips `squares` in every set of the code's bits.
  void Toggle(std::uint64_t squares, std::uint8_t code);
};

}  // namespace varnock
