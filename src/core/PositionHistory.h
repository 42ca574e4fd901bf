// What move legality needs to know about how a position was reached.
//
// The board alone does not tell whether castling is still allowed or whether
// an en-passant capture is possible; a game tree, a FEN or a perft walk each
// answer these questions in their own way.
#pragma once

#include <cstdint>

#include "core/Fen.h"

namespace varnock {

struct LastMove {
  bool present = false;  // false at the root or on a composed position
  int from = 0;
  int to = 0;
  std::uint8_t mover = kWhite;  // colour that made the move
};

class PositionHistory {
 public:
  virtual ~PositionHistory() = default;

  // The move that led to the position.
  virtual LastMove PreviousMove() const = 0;
  // The composed (set-up) position the current position is, or nullptr.
  virtual const FENExtras* ComposedPosition() const = 0;
  // Whether the square's content is the same as at the origin of the game.
  virtual bool SquareUnchanged(int square) const = 0;
  // Whether the set-up positions the game passed through since its origin
  // grant this castling right; true when the game started from the normal
  // initial position.
  virtual bool CastlingGranted(std::uint8_t colour, bool kingSide) const = 0;
};

// The history of a position given by FEN: castling rights and the en-passant
// square come from the FEN fields.
class FenHistory : public PositionHistory {
 public:
  explicit FenHistory(const FENExtras& extras) : extras_(extras) {}
  LastMove PreviousMove() const override { return {}; }
  const FENExtras* ComposedPosition() const override { return &extras_; }
  bool SquareUnchanged(int) const override { return true; }
  bool CastlingGranted(std::uint8_t colour, bool kingSide) const override {
    return extras_.CastlingFlag(colour, kingSide);
  }

 private:
  const FENExtras& extras_;
};

}  // namespace varnock
