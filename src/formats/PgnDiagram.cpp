#include "formats/PgnDiagram.h"

#include <cctype>

namespace varnock {

namespace {

constexpr std::string_view kBorder = "%   -----------------";

char SquareCharacter(const BoardSquares& board, int square, std::string_view initials) {
  const std::uint8_t code = board[static_cast<std::size_t>(square)];
  const std::uint8_t type = code & kTypeMask;
  if (type == 0) return (RowOf(square) + FileOf(square)) % 2 == 0 ? ' ' : '-';
  const char letter = PieceInitial(initials, type);
  if (code & kBlack) return static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  return letter;
}

}  // namespace

void AppendPgnDiagram(std::string& out, const BoardSquares& board, bool flipped, std::string_view initials) {
  out += kBorder;
  for (int row = 0; row < 8; ++row) {
    out += "\r\n%  | ";
    for (int file = 0; file < 8; ++file) {
      const int square = flipped ? 63 - SquareAt(file, row) : SquareAt(file, row);
      out += SquareCharacter(board, square, initials);
      out += ' ';
    }
    out += "| ";
  }
  out += "\r\n";
  out += kBorder;
  out += "\r\n";
}

}  // namespace varnock
