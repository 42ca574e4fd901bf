// The text diagram written after a "%FG[]" line of PGN output: ten lines
// that PGN readers skip, each beginning with "%  ".
#pragma once

#include <string>
#include <string_view>

#include "core/Board.h"
#include "core/PieceInitials.h"

namespace varnock {

// Appends the diagram of `board`, from Black's side when `flipped`. White
// pieces take their letter from `initials` (king, queen, rook, bishop,
// knight, pawn), black pieces the same letter in lower case; an empty light
// square is a space and an empty dark square "-". Ends with "\r\n".
void AppendPgnDiagram(std::string& out, const BoardSquares& board, bool flipped,
                      std::string_view initials = kDefaultPieceInitials);

}  // namespace varnock
