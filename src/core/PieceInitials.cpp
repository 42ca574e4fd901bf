#include "core/PieceInitials.h"

#include "core/Board.h"

namespace varnock {

std::string CompletePieceInitials(std::string_view stored) {
  const std::size_t length = kDefaultPieceInitials.size();
  if (stored.size() >= length) return std::string(stored.substr(0, length));
  std::string initials(stored);
  initials += kDefaultPieceInitials.substr(stored.size());
  return initials;
}

int PieceInitialIndex(std::uint8_t pieceType) {
  if (pieceType & kKing) return 0;
  if (pieceType & kQueen) return 1;
  if (pieceType & kRook) return 2;
  if (pieceType & kBishop) return 3;
  if (pieceType & kKnight) return 4;
  return 5;
}

char PieceInitial(std::string_view initials, std::uint8_t pieceType) {
  const std::size_t index = static_cast<std::size_t>(PieceInitialIndex(pieceType));
  return index < initials.size() ? initials[index] : kDefaultPieceInitials[index];
}

}  // namespace varnock
