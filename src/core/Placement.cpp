#include "core/Placement.h"

#include <bit>

#include "core/AttackTables.h"

namespace varnock {

void BoardFromPlacement(std::string_view text, BoardSquares& board) {
  board.fill(0);
  int square = 0;
  for (char c : text) {
    if (square >= 64) break;
    if (std::uint8_t code = PieceFromFenLetter(c)) {
      board[static_cast<std::size_t>(square++)] = code;
    } else if (c >= '1' && c <= '9') {
      square += c - '0';
    }
  }
}

std::string PlacementFromBoard(const BoardSquares& board) {
  std::string text;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      std::uint8_t code = board[static_cast<std::size_t>(SquareAt(file, row))];
      if (code == 0) {
        ++empty;
        continue;
      }
      char letter = FenLetter(code);
      if (letter == 0) continue;
      if (empty) text += static_cast<char>('0' + empty);
      empty = 0;
      text += letter;
    }
    if (empty) text += static_cast<char>('0' + empty);
    if (row < 7) text += '/';
  }
  return text;
}

KingSearch FindKing(const BoardSquares& board, std::uint8_t colour) {
  KingSearch result;
  for (int square = 0; square < 64; ++square) {
    std::uint8_t code = board[static_cast<std::size_t>(square)];
    if ((code & kKing) && (code & colour)) {
      ++result.count;
      result.square = square;
    }
  }
  return result;
}

void LocateKings(const BoardSquares& board, KingSquares& kings) {
  // The first square of each colour's king, sixteen squares at a time.
  const std::uint64_t white = PieceSet(board, kWhite, kKing), black = PieceSet(board, kBlack, kKing);
  kings.white = white != 0 ? std::countr_zero(white) : kNoSquare;
  kings.black = black != 0 ? std::countr_zero(black) : kNoSquare;
}

}  // namespace varnock
