// The piece placement field of a FEN, and finding kings on a board.
#pragma once

#include <string>
#include <string_view>

#include "core/Board.h"

namespace varnock {

// Clears the board, then writes the placement text square by square: a piece
// letter writes its code, a digit d writes d empty squares, anything else is
// skipped. Stops at the end of the text or once 64 squares are written, so the
// whole FEN may be passed.
void BoardFromPlacement(std::string_view text, BoardSquares& board);

// The placement field of a board; bytes that are no piece code write nothing.
std::string PlacementFromBoard(const BoardSquares& board);

struct KingSearch {
  int count = 0;           // kings of that colour on the board
  int square = kNoSquare;  // the last one in index order
};
KingSearch FindKing(const BoardSquares& board, std::uint8_t colour);

// The cached king squares of a game or a position.
struct KingSquares {
  int white = kE1;
  int black = kE8;
  int& Of(std::uint8_t colour) { return colour == kWhite ? white : black; }
  int Of(std::uint8_t colour) const { return colour == kWhite ? white : black; }
};

// Rescans the board for both kings; a missing king is kNoSquare.
void LocateKings(const BoardSquares& board, KingSquares& kings);

}  // namespace varnock
