#include "tree/Positions.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/Placement.h"

namespace varnock {

void ReplayMove(BoardSquares& board, const MoveNode& node) {
  const int from = node.From(), to = node.To();
  if (from == to) return;
  board[static_cast<std::size_t>(to)] = board[static_cast<std::size_t>(from)];
  board[static_cast<std::size_t>(from)] = 0;
  const std::uint8_t moved = board[static_cast<std::size_t>(to)];
  if (node.Kind() == kCastling && (moved & kKing)) {
    MoveCastlingRook(board, from, to);
  } else if (node.Kind() == kEnPassant && (moved & kPawn)) {
    int victim = EnPassantVictim(from, to);
    if (victim >= 0) board[static_cast<std::size_t>(victim)] = 0;
  }
}

namespace {

// The nodes from `node` up to the nearest node (itself included) that carries
// a snapshot or a set-up position, or up to the root; nearest first.
void PathToBase(const NodeStore& store, NodeRef node, std::vector<NodeRef>& path) {
  for (NodeRef at = node; at != kNoNode; at = store.Node(at).parent) {
    path.push_back(at);
    const MoveNode& n = store.Node(at);
    if (n.Has(kFlagSnapshot) || n.Has(kFlagComposed)) return;
  }
}

// The board at the base node of a path: its set-up position, its snapshot,
// or the initial position at a root without either.
BoardSquares BaseBoard(const NodeStore& store, NodeRef base) {
  const MoveNode& n = store.Node(base);
  if (n.Has(kFlagComposed))
    if (const FENExtras* extras = store.Composed(base)) return extras->board;
  if (n.Has(kFlagSnapshot))
    if (const BoardSquares* snapshot = store.Snapshot(base)) return *snapshot;
  return StartBoard;
}

}  // namespace

BoardSquares BoardAt(const NodeStore& store, NodeRef node) {
  thread_local std::vector<NodeRef> path;
  path.clear();
  PathToBase(store, node, path);
  BoardSquares board = BaseBoard(store, path.back());
  for (std::size_t i = path.size() - 1; i-- > 0;) ReplayMove(board, store.Node(path[i]));
  return board;
}

int PlyOf(const NodeStore& store, NodeRef node) {
  int count = 0;
  for (NodeRef at = node; at != kNoNode; at = store.Node(at).parent) {
    const MoveNode& n = store.Node(at);
    if (n.Has(kFlagComposed)) {
      const FENExtras* extras = store.Composed(at);
      int full = extras ? extras->fullMoveNumber : 1;
      bool whiteToMove = !n.Has(kFlagBlackToMove);
      // Wide arithmetic: a set-up position may carry any full-move number.
      const long long ply = count - 1 + 2LL * full - (whiteToMove ? 1 : 0);
      // Clamped with room to spare, so that callers may count on from it.
      constexpr long long kLimit = INT_MAX / 4;
      return static_cast<int>(std::clamp<long long>(ply, -kLimit, kLimit));
    }
    ++count;
  }
  return count - 1;
}

namespace {

// Whether a node starts the history that castling rights depend on: a set-up
// root, or a set-up position whose board differs from the board before it.
bool IsOrigin(const NodeStore& store, NodeRef at) {
  const MoveNode& n = store.Node(at);
  if (!n.Has(kFlagComposed)) return false;
  const FENExtras* extras = store.Composed(at);
  if (!extras) return false;
  return n.parent == kNoNode || extras->board != BoardAt(store, n.parent);
}

// The squares a stored move changes: its two squares, a castling rook's two,
// a pawn taken en passant.
std::uint64_t SquaresTouched(const MoveNode& n) {
  const int from = n.From(), to = n.To();
  if (from == to) return 0;
  std::uint64_t squares = (std::uint64_t{1} << from) | (std::uint64_t{1} << to);
  if (n.Kind() == kCastling && IsCastlingMove(from, to)) {
    const bool kingSide = FileOf(to) == 6;
    const int row = RowOf(to);
    squares |=
        (std::uint64_t{1} << SquareAt(kingSide ? 7 : 0, row)) | (std::uint64_t{1} << SquareAt(kingSide ? 5 : 3, row));
  } else if (n.Kind() == kEnPassant) {
    const int victim = EnPassantVictim(from, to);
    if (victim >= 0 && victim < 64) squares |= std::uint64_t{1} << victim;
  }
  return squares;
}

}  // namespace

void CastlingHistory::Follow(const MoveNode& move) { touched |= SquaresTouched(move); }

CastlingHistory CastlingHistoryAt(const NodeStore& store, NodeRef node) {
  CastlingHistory history;
  for (NodeRef at = node; at != kNoNode;) {
    const MoveNode& n = store.Node(at);
    if (n.Has(kFlagComposed)) {
      if (const FENExtras* extras = store.Composed(at)) {
        for (const std::uint8_t colour : {kWhite, kBlack})
          for (const bool kingSide : {true, false})
            if (!extras->CastlingFlag(colour, kingSide))
              history.granted &= static_cast<std::uint8_t>(~(1u << CastlingHistory::RightBit(colour, kingSide)));
      }
      if (IsOrigin(store, at)) break;
    } else if (n.parent != kNoNode) {
      history.touched |= SquaresTouched(n);
    }
    at = n.parent;
  }
  return history;
}

FENExtras NodeExtras(const NodeStore& store, NodeRef node, const BoardSquares& board) {
  const MoveNode& n = store.Node(node);
  if (n.Has(kFlagComposed)) {
    if (const FENExtras* extras = store.Composed(node)) {
      FENExtras copy = *extras;
      copy.board = board;
      return copy;
    }
  }
  FENExtras extras;
  extras.board = board;
  extras.sideToMove = n.SideToMove();

  const CastlingHistory history = CastlingHistoryAt(store, node);
  auto right = [&](int king, int rook, std::uint8_t colour, bool kingSide) {
    return board[static_cast<std::size_t>(king)] == (kKing | colour) && history.Unchanged(king) &&
           board[static_cast<std::size_t>(rook)] == (kRook | colour) && history.Unchanged(rook) &&
           history.Granted(colour, kingSide);
  };
  extras.whiteKingSide = right(kE1, kH1, kWhite, true);
  extras.whiteQueenSide = right(kE1, kA1, kWhite, false);
  extras.blackKingSide = right(kE8, kH8, kBlack, true);
  extras.blackQueenSide = right(kE8, kA8, kBlack, false);

  if (n.parent != kNoNode && n.Piece() == kStoredPawn && n.Kind() == kOrdinary &&
      std::abs(RowOf(n.From()) - RowOf(n.To())) == 2 && FileOf(n.From()) == FileOf(n.To())) {
    int passed = SquareAt(FileOf(n.To()), (RowOf(n.From()) + RowOf(n.To())) / 2);
    extras.SetEnPassant(SquareName(passed));
  }

  int clock = 0;
  for (NodeRef at = node; at != kNoNode; at = store.Node(at).parent) {
    const MoveNode& m = store.Node(at);
    if (m.Has(kFlagComposed)) {
      if (const FENExtras* composed = store.Composed(at)) clock += composed->halfMoveClock;
      break;
    }
    if (m.parent == kNoNode) break;
    if (m.Piece() == kStoredPawn || m.Has2(kFlag2Capture)) break;
    if (m.From() != m.To()) ++clock;
  }
  extras.halfMoveClock = clock;

  int full = 1;
  for (NodeRef at = node; at != kNoNode; at = store.Node(at).parent) {
    const MoveNode& m = store.Node(at);
    if (m.Has(kFlagComposed)) {
      if (const FENExtras* composed = store.Composed(at)) full += composed->fullMoveNumber - 1;
      break;
    }
    if (m.parent == kNoNode) break;
    if (m.Mover() == kBlack) ++full;
  }
  extras.fullMoveNumber = full;
  return extras;
}

std::string NodeFEN(const NodeStore& store, NodeRef node, const BoardSquares& board) {
  return FormatFEN(board, NodeExtras(store, node, board));
}

LastMove NodeHistory::PreviousMove() const {
  const MoveNode& n = store_.Node(node_);
  if (n.parent == kNoNode || n.Has(kFlagComposed)) return {};
  return {true, n.From(), n.To(), n.Mover()};
}

const FENExtras* NodeHistory::ComposedPosition() const {
  return store_.Node(node_).Has(kFlagComposed) ? store_.Composed(node_) : nullptr;
}

const CastlingHistory& NodeHistory::Castling() const {
  if (!castlingKnown_) {
    castling_ = CastlingHistoryAt(store_, node_);
    castlingKnown_ = true;
  }
  return castling_;
}

bool NodeHistory::SquareUnchanged(int square) const { return Castling().Unchanged(square); }

bool NodeHistory::CastlingGranted(std::uint8_t colour, bool kingSide) const {
  return Castling().Granted(colour, kingSide);
}

}  // namespace varnock
