#include "core/BoardSets.h"

#include <array>
#include <bit>

#include "core/AttackTables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnock {

namespace {

constexpr int kColourBits = 2;
constexpr int kFirstTypeBit = 2;  // kPawn

// The squares whose code has bit `bit` (0 to 7).
std::uint64_t SquaresWithBit(const BoardSquares& board, int bit) {
#if defined(__SSE2__)
  std::uint64_t squares = 0;
  for (int i = 0; i < 4; ++i) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + 16 * i));
    // Moves the bit to the top of each byte, where movemask reads it; what a
    // 16-bit shift carries over from the lower byte lands below the top.
    const __m128i raised = _mm_sll_epi16(chunk, _mm_cvtsi32_si128(7 - bit));
    squares |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(raised))) << (16 * i);
  }
  return squares;
#else
  std::uint64_t squares = 0;
  for (int square = 0; square < 64; ++square)
    if ((board[static_cast<std::size_t>(square)] >> bit) & 1) squares |= std::uint64_t{1} << square;
  return squares;
#endif
}

// The sets a piece's code counts in, looked up: a code with one colour bit
// and one type bit is a piece; any other code is kNotAPiece.
constexpr std::uint8_t kNotAPiece = 0xFF;
struct PieceIndex {
  std::uint8_t colour = kNotAPiece;
  std::uint8_t type = 0;
};
constexpr std::array<PieceIndex, 256> kPieceIndex = [] {
  std::array<PieceIndex, 256> table{};
  for (int colour = 0; colour < kColourBits; ++colour)
    for (int type = 0; type < 6; ++type)
      table[static_cast<std::size_t>((1 << colour) | (1 << (kFirstTypeBit + type)))] = {
          static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(type)};
  return table;
}();

}  // namespace

BoardSets BoardSets::Of(const BoardSquares& board) {
  BoardSets sets;
  for (int bit = 0; bit < kColourBits; ++bit) sets.colours[static_cast<std::size_t>(bit)] = SquaresWithBit(board, bit);
  for (std::size_t i = 0; i < sets.types.size(); ++i)
    sets.types[i] = SquaresWithBit(board, kFirstTypeBit + static_cast<int>(i));
  sets.occupied = OccupiedSet(board);
  return sets;
}

std::uint64_t BoardSets::Pieces(std::uint8_t colour, std::uint8_t type) const {
  if ((colour != kWhite && colour != kBlack) || type < kPawn || (type & (type - 1)) != 0) return 0;
  return colours[static_cast<std::size_t>(std::countr_zero(colour))] &
         types[static_cast<std::size_t>(std::countr_zero(type) - kFirstTypeBit)];
}

void BoardSets::Toggle(std::uint64_t squares, std::uint8_t code) {
  const PieceIndex piece = kPieceIndex[code];
  if (piece.colour != kNotAPiece) {
    colours[piece.colour] ^= squares;
    types[piece.type] ^= squares;
    return;
  }
  for (unsigned bits = code & kColourMask; bits != 0; bits &= bits - 1)
    colours[static_cast<std::size_t>(std::countr_zero(bits))] ^= squares;
  for (unsigned bits = code & kTypeMask; bits != 0; bits &= bits - 1)
    types[static_cast<std::size_t>(std::countr_zero(bits) - kFirstTypeBit)] ^= squares;
}

void BoardSets::Move(int from, int to, std::uint8_t moving, std::uint8_t captured) {
  if (from < 0 || from >= 64 || to < 0 || to >= 64 || from == to) return;
  const std::uint64_t fromSquare = std::uint64_t{1} << from, toSquare = std::uint64_t{1} << to;
  if (captured != 0) Toggle(toSquare, captured);
  Toggle(fromSquare | toSquare, moving);
  occupied = (occupied & ~(fromSquare | toSquare)) | (moving != 0 ? toSquare : 0);
}

}  // namespace varnock
