// The board and its piece codes.
//
// A board is 64 bytes, index = row * 8 + file, with a8 = 0, h8 = 7, a1 = 56 and
// h1 = 63. A piece code is one colour bit and one type bit; 0 is an empty square.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace varnock {

using BoardSquares = std::array<std::uint8_t, 64>;

// Colour (side) values; the opponent of colour c is 3 - c.
constexpr std::uint8_t kBlack = 1;
constexpr std::uint8_t kWhite = 2;

// Piece type bits.
constexpr std::uint8_t kPawn = 4;
constexpr std::uint8_t kKnight = 8;
constexpr std::uint8_t kBishop = 16;
constexpr std::uint8_t kRook = 32;
constexpr std::uint8_t kQueen = 64;
constexpr std::uint8_t kKing = 128;

constexpr std::uint8_t kTypeMask = 0xFC;
constexpr std::uint8_t kColourMask = 0x03;

// Bit tests used throughout the rules: bishop-or-queen and rook-or-queen.
constexpr std::uint8_t kDiagonalSlider = kBishop | kQueen;  // 80
constexpr std::uint8_t kStraightSlider = kRook | kQueen;    // 96

constexpr std::uint8_t Opponent(std::uint8_t colour) { return static_cast<std::uint8_t>(3 - colour); }
constexpr int FileOf(int square) { return square & 7; }
constexpr int RowOf(int square) { return square >> 3; }
constexpr int SquareAt(int file, int row) { return row * 8 + file; }
constexpr bool OnBoard(int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8; }
constexpr int RankOf(int square) { return 8 - RowOf(square); }

// Square indices used by the castling rules.
enum : int {
  kA8 = 0,
  kB8 = 1,
  kC8 = 2,
  kD8 = 3,
  kE8 = 4,
  kF8 = 5,
  kG8 = 6,
  kH8 = 7,
  kA1 = 56,
  kB1 = 57,
  kC1 = 58,
  kD1 = 59,
  kE1 = 60,
  kF1 = 61,
  kG1 = 62,
  kH1 = 63,
};

// Not-found marker for cached king squares.
constexpr int kNoSquare = 129;

// The standard initial position.
extern const BoardSquares StartBoard;

// True for the twelve valid piece codes.
bool IsPieceCode(std::uint8_t code);

// "White" or "Black".
const char* ColourName(std::uint8_t colour);

// The square as text, such as "e4" (file letter, then rank digit).
std::string SquareName(int square);

// The FEN letter of a piece code, or 0 for anything else.
char FenLetter(std::uint8_t code);
// The piece code of a FEN letter, or 0.
std::uint8_t PieceFromFenLetter(char letter);

}  // namespace varnock
