#include "render/BoardPainter.h"

#include <QPainter>

#include "render/ChessFontMap.h"
#include "tree/GameTree.h"

namespace varnock {

namespace {

std::optional<ArrowMove> MoveOf(const NodeStore& store, NodeRef ref) {
  if (ref == kNoNode || !store.Valid(ref)) return std::nullopt;
  const MoveNode& node = store.Node(ref);
  if (node.parent == kNoNode || node.Has(kFlagComposed)) return std::nullopt;
  return ArrowMove{node.From(), node.To()};
}

}  // namespace

BoardOverlay ArrowsOf(const GameTree& game, const ArrowSettings& settings) {
  BoardOverlay overlay;
  NodeStore& store = game.Store();
  const NodeRef current = game.current;
  if (current == kNoNode || !store.Valid(current)) return overlay;
  const MoveNode& node = store.Node(current);
  if (settings.variations && node.Has(kFlagBranch)) {
    if (const auto* lines = store.Alternatives(current)) {
      for (const SBranchDetails* line : *lines)
        if (auto move = MoveOf(store, line->first)) overlay.variationArrows.push_back(*move);
    }
  }
  if (settings.last) overlay.previousArrow = MoveOf(store, current);
  if (settings.next) overlay.nextArrow = MoveOf(store, node.next);
  return overlay;
}

void DrawBoard(QPainter& painter, TileStrip& strip, const SGridAttr& attributes, const BoardSquares& board,
               bool reversed, ArrowPoint origin, const BoardOverlay& overlay) {
  const int a = strip.TileSize();
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const int square = reversed ? SquareAt(7 - column, 7 - row) : SquareAt(column, row);
      int tile = TileIndex(board[static_cast<std::size_t>(square)], IsLightCell(column, row));
      if (square == overlay.selectedSquare) {
        strip.InvertIntoScratch(tile);
        tile = kScratchTile;
      }
      painter.drawImage(QPoint(origin.x + a * column, origin.y + a * row), strip.Image(), strip.TileRect(tile));
    }
  }
  for (const ArrowMove& move : overlay.variationArrows)
    DrawMoveArrow(painter, attributes, kVariationArrow, move.from, move.to, reversed, origin, a);
  if (overlay.previousArrow)
    DrawMoveArrow(painter, attributes, kPreviousMoveArrow, overlay.previousArrow->from, overlay.previousArrow->to,
                  reversed, origin, a);
  if (overlay.nextArrow)
    DrawMoveArrow(painter, attributes, kNextMoveArrow, overlay.nextArrow->from, overlay.nextArrow->to, reversed, origin,
                  a);
}

}  // namespace varnock
