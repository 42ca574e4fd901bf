#include "tree/MoveNode.h"

#include <array>

namespace varnock {

namespace {

// The stored piece of every byte, by the first type bit found in the order
// queen, rook, knight, bishop, king; a table, as the moving piece of a move
// being read is anybody's guess.
constexpr std::array<StoredPiece, 256> kStoredPieces = [] {
  std::array<StoredPiece, 256> pieces{};
  for (int code = 0; code < 256; ++code) {
    StoredPiece piece = kStoredPawn;
    if (code & kQueen)
      piece = kStoredQueen;
    else if (code & kRook)
      piece = kStoredRook;
    else if (code & kKnight)
      piece = kStoredKnight;
    else if (code & kBishop)
      piece = kStoredBishop;
    else if (code & kKing)
      piece = kStoredKing;
    pieces[static_cast<std::size_t>(code)] = piece;
  }
  return pieces;
}();

}  // namespace

StoredPiece StoredPieceOf(std::uint8_t code) { return kStoredPieces[code]; }

std::uint8_t PieceTypeOf(StoredPiece piece) {
  switch (piece) {
    case kStoredQueen:
      return kQueen;
    case kStoredRook:
      return kRook;
    case kStoredKnight:
      return kKnight;
    case kStoredBishop:
      return kBishop;
    case kStoredKing:
      return kKing;
    default:
      return kPawn;
  }
}

}  // namespace varnock
