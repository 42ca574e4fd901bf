#include "tree/MoveNode.h"

namespace varnock {

StoredPiece StoredPieceOf(std::uint8_t code) {
  if (code & kQueen) return kStoredQueen;
  if (code & kRook) return kStoredRook;
  if (code & kKnight) return kStoredKnight;
  if (code & kBishop) return kStoredBishop;
  if (code & kKing) return kStoredKing;
  return kStoredPawn;
}

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
