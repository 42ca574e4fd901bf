// The position at any node of a tree, rebuilt from snapshots and moves.
#pragma once

#include <string>

#include "core/Fen.h"
#include "core/PositionHistory.h"
#include "tree/NodeStore.h"

namespace varnock {

// The board after the node's move: from the nearest snapshot or set-up
// position at or above the node (or the initial position), replaying the
// moves below it.
BoardSquares BoardAt(const NodeStore& store, NodeRef node);

// Replays one stored move on a board: the piece moves, a castling rook moves
// with its king, a pawn taken en passant is removed.
void ReplayMove(BoardSquares& board, const MoveNode& node);

// The ply of a node: 0 at the root, 1 after White's first move; a set-up
// position counts from its full-move number.
int PlyOf(const NodeStore& store, NodeRef node);

// Whether the square holds the same piece at the node as at every position
// since the origin of the game (a set-up position that changed the board is
// an origin).
bool SquareUnchanged(const NodeStore& store, NodeRef node, int square);

// Whether the set-up positions on the way from the origin to the node grant
// the castling right (true when there are none).
bool CastlingGranted(const NodeStore& store, NodeRef node, std::uint8_t colour, bool kingSide);

// The FEN of the position at the node, given its board.
std::string NodeFEN(const NodeStore& store, NodeRef node, const BoardSquares& board);
// The side fields NodeFEN writes.
FENExtras NodeExtras(const NodeStore& store, NodeRef node, const BoardSquares& board);

// What move legality needs about the position at a node.
class NodeHistory : public PositionHistory {
 public:
  NodeHistory(const NodeStore& store, NodeRef node) : store_(store), node_(node) {}
  LastMove PreviousMove() const override;
  const FENExtras* ComposedPosition() const override;
  bool SquareUnchanged(int square) const override;
  bool CastlingGranted(std::uint8_t colour, bool kingSide) const override;

 private:
  const NodeStore& store_;
  NodeRef node_;
};

}  // namespace varnock
