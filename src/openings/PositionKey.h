// The position key: a 32-bit hash of the side to move and the 64 board bytes,
// shared by the opening table's position index and the opening explorer.
// Castling rights, the en-passant square and the move counters are not part
// of it.
#pragma once

#include <array>
#include <cstdint>

#include "core/Board.h"

namespace varnock {

// The 65 hashed bytes: 'B' when White is to move, 'A' when Black is, then
// the board from a8 to h1.
using PositionBytes = std::array<std::uint8_t, 65>;
PositionBytes PositionBytesOf(const BoardSquares& board, std::uint8_t sideToMove);

// lookup3 hashlittle of the 65 bytes with initial value 16.
std::uint32_t PositionKey(const PositionBytes& bytes);
std::uint32_t PositionKey(const BoardSquares& board, std::uint8_t sideToMove);

}  // namespace varnock
