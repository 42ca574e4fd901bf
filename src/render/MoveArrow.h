// Arrows over the board: the previous move (kind 1), the next move (kind 2)
// and the first moves of variations (kind 3).
#pragma once

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace varnock {

class SGridAttr;

enum ArrowKind : int { kPreviousMoveArrow = 1, kNextMoveArrow = 2, kVariationArrow = 3 };

struct ArrowPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ArrowPoint&) const = default;
};

struct ArrowLine {
  ArrowPoint from, to;
  bool operator==(const ArrowLine&) const = default;
};

// The pixels of one arrow: its lines (each segment twice, the copy shifted a
// pixel to make it two pixels wide) and the filled triangle of its head.
struct ArrowShape {
  std::vector<ArrowLine> lines;
  std::array<ArrowPoint, 3> head{};  // base end, base end, tip
};

// The shape of an arrow between two squares (0..63, a8 = 0) of a board drawn
// at `origin` with tiles of `tileSize` pixels; nothing for a null move or a
// square off the board.
std::optional<ArrowShape> ArrowShapeOf(int from, int to, bool reversed, ArrowPoint origin, int tileSize);

// Draws the arrow with the colour of its kind.
void DrawMoveArrow(QPainter& painter, const SGridAttr& attributes, int kind, int from, int to, bool reversed,
                   ArrowPoint origin, int tileSize);

}  // namespace varnock
