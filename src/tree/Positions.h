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

// What castling legality asks about the way to a node, gathered in one walk
// up to the origin of the game (a set-up position that changed the board is
// an origin): the squares the moves since the origin changed, and the
// castling rights the set-up positions on the way grant (all of them when
// there are none).
struct CastlingHistory {
  std::uint64_t touched = 0;
  std::uint8_t granted = 0x0F;  // bits: White king side, White queen side, Black king side, Black queen side
  bool Unchanged(int square) const { return square >= 0 && square < 64 && !((touched >> square) & 1); }
  bool Granted(std::uint8_t colour, bool kingSide) const { return (granted >> RightBit(colour, kingSide)) & 1; }
  static int RightBit(std::uint8_t colour, bool kingSide) { return (colour == kWhite ? 0 : 2) + (kingSide ? 0 : 1); }
  // The history one move on: `move` (a move, not a set-up position) follows
  // the node this is the history of.
  void Follow(const MoveNode& move);
};
CastlingHistory CastlingHistoryAt(const NodeStore& store, NodeRef node);

// The FEN of the position at the node, given its board.
std::string NodeFEN(const NodeStore& store, NodeRef node, const BoardSquares& board);
// The side fields NodeFEN writes.
FENExtras NodeExtras(const NodeStore& store, NodeRef node, const BoardSquares& board);

// What move legality needs about the position at a node.
class NodeHistory : public PositionHistory {
 public:
  NodeHistory(const NodeStore& store, NodeRef node) : store_(store), node_(node) {}
  // With the castling history of the node known already.
  NodeHistory(const NodeStore& store, NodeRef node, const CastlingHistory& castling)
      : store_(store), node_(node), castlingKnown_(true), castling_(castling) {}
  LastMove PreviousMove() const override;
  const FENExtras* ComposedPosition() const override;
  bool SquareUnchanged(int square) const override;
  bool CastlingGranted(std::uint8_t colour, bool kingSide) const override;

 private:
  const CastlingHistory& Castling() const;

  const NodeStore& store_;
  NodeRef node_;
  // Gathered on the first question that needs it.
  mutable bool castlingKnown_ = false;
  mutable CastlingHistory castling_;
};

}  // namespace varnock
