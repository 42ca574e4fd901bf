// Writing a game as ECH text.
//
// A game is "(\r\nGM[Chess]\r\n", its game properties, an empty line, the
// root's comment, the moves with their variations as nested sub-trees, and
// ")\r\n\r\n". Everything the tree holds is written, so that reading the text
// back gives the same game.
#pragma once

#include <string>

#include "formats/SGridFrame.h"

namespace varnock {

// Appends the game's properties: "(\r\nGM[Chess]\r\n", the producing
// application, the header fields that are not empty, the root's position and
// marks, "XF[]" for a flipped board, "XS[]" when `currentGame` (the game is
// the collection's current one), the empty line and the root's comments.
// The root's position and marks come from the game's tree; a game without a
// tree has none.
void WriteEchHeader(SGridFrame& game, bool currentGame, std::string& out);

// Appends the whole game: the header as above, the moves from the root and
// ")\r\n\r\n". The game's moves must have been read.
void WriteEchGame(SGridFrame& game, bool currentGame, std::string& out);

}  // namespace varnock
