#include "openings/PositionKey.h"

#include <algorithm>

#include "openings/Lookup3.h"

namespace varnock {

PositionBytes PositionBytesOf(const BoardSquares& board, std::uint8_t sideToMove) {
  PositionBytes bytes;
  bytes[0] = sideToMove == kWhite ? 'B' : 'A';
  std::copy(board.begin(), board.end(), bytes.begin() + 1);
  return bytes;
}

std::uint32_t PositionKey(const PositionBytes& bytes) { return HashLittle(bytes.data(), bytes.size(), 16); }

std::uint32_t PositionKey(const BoardSquares& board, std::uint8_t sideToMove) {
  return PositionKey(PositionBytesOf(board, sideToMove));
}

}  // namespace varnock
