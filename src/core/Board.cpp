#include "core/Board.h"

namespace varnock {

const BoardSquares StartBoard = {
    33, 9,  17, 65, 129, 17, 9,  33,  //
    5,  5,  5,  5,  5,   5,  5,  5,   //
    0,  0,  0,  0,  0,   0,  0,  0,   //
    0,  0,  0,  0,  0,   0,  0,  0,   //
    0,  0,  0,  0,  0,   0,  0,  0,   //
    0,  0,  0,  0,  0,   0,  0,  0,   //
    6,  6,  6,  6,  6,   6,  6,  6,   //
    34, 10, 18, 66, 130, 18, 10, 34,  //
};

namespace {
constexpr char kLetters[] = "kqrnbpKQRNBP";
constexpr std::uint8_t kCodes[] = {129, 65, 33, 9, 17, 5, 130, 66, 34, 10, 18, 6};
}  // namespace

bool IsPieceCode(std::uint8_t code) {
  for (std::uint8_t c : kCodes)
    if (c == code) return true;
  return false;
}

const char* ColourName(std::uint8_t colour) { return colour == kBlack ? "Black" : "White"; }

std::string SquareName(int square) {
  std::string s(2, ' ');
  s[0] = static_cast<char>('a' + FileOf(square));
  s[1] = static_cast<char>('0' + RankOf(square));
  return s;
}

char FenLetter(std::uint8_t code) {
  for (int i = 0; i < 12; ++i)
    if (kCodes[i] == code) return kLetters[i];
  return 0;
}

std::uint8_t PieceFromFenLetter(char letter) {
  for (int i = 0; i < 12; ++i)
    if (kLetters[i] == letter) return kCodes[i];
  return 0;
}

}  // namespace varnock
