// Assembling a board from the tile strip, with its arrows.
#pragma once

#include <optional>
#include <vector>

#include "core/Board.h"
#include "render/MoveArrow.h"
#include "render/TileStrip.h"

class QPainter;

namespace varnock {

class GameTree;

struct ArrowMove {
  int from = 0;
  int to = 0;
};

// What is drawn over the squares.
struct BoardOverlay {
  int selectedSquare = -1;                 // a move's start square during move entry, shown inverted
  std::vector<ArrowMove> variationArrows;  // kind 3
  std::optional<ArrowMove> previousArrow;  // kind 1
  std::optional<ArrowMove> nextArrow;      // kind 2
};

// Which arrows the settings ask for ("ArrowLast", "ArrowNext",
// "ArrowVariations").
struct ArrowSettings {
  bool last = false;
  bool next = false;
  bool variations = false;
};

// The arrows of the game's current move: the first moves of the alternative
// lines that start there, the current move and the move that follows it.
BoardOverlay ArrowsOf(const GameTree& game, const ArrowSettings& settings);

// Draws the 64 squares at `origin` (Black's view when reversed), then the
// arrows: variations, previous move, next move. The strip's scratch tile is
// used for the selected square.
void DrawBoard(QPainter& painter, TileStrip& strip, const SGridAttr& attributes, const BoardSquares& board,
               bool reversed, ArrowPoint origin, const BoardOverlay& overlay = {});

}  // namespace varnock
