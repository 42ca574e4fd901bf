#include "tree/Positions.h"

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
      return count - 1 + 2 * full - (whiteToMove ? 1 : 0);
    }
    ++count;
  }
  return count - 1;
}

namespace {

// The nodes from the origin of the game down to `node`: the origin is the
// lowest set-up position whose board differs from the board before it (or a
// set-up root), else the root. Origin first. Also gives the board at each
// node through the callback.
template <class Visit>
void WalkFromOrigin(const NodeStore& store, NodeRef node, Visit&& visit) {
  std::vector<NodeRef> path;
  for (NodeRef at = node; at != kNoNode; at = store.Node(at).parent) path.push_back(at);
  // path.back() is the root. Replay downwards, noting where the history
  // restarts.
  std::size_t origin = path.size() - 1;
  BoardSquares board = StartBoard;
  std::vector<BoardSquares> boards(path.size());
  for (std::size_t i = path.size(); i-- > 0;) {
    const MoveNode& n = store.Node(path[i]);
    BoardSquares before = board;
    if (n.Has(kFlagComposed) && store.Composed(path[i])) {
      board = store.Composed(path[i])->board;
      if (i == path.size() - 1 || board != before) origin = i;
    } else if (i != path.size() - 1) {
      if (n.Has(kFlagSnapshot) && store.Snapshot(path[i]))
        board = *store.Snapshot(path[i]);
      else
        ReplayMove(board, n);
    }
    boards[i] = board;
  }
  for (std::size_t i = origin + 1; i-- > 0;) visit(path[i], boards[i]);
}

}  // namespace

bool SquareUnchanged(const NodeStore& store, NodeRef node, int square) {
  if (square < 0 || square >= 64) return false;
  const std::uint8_t now = BoardAt(store, node)[static_cast<std::size_t>(square)];
  bool unchanged = true;
  WalkFromOrigin(store, node, [&](NodeRef, const BoardSquares& board) {
    if (board[static_cast<std::size_t>(square)] != now) unchanged = false;
  });
  return unchanged;
}

bool CastlingGranted(const NodeStore& store, NodeRef node, std::uint8_t colour, bool kingSide) {
  bool granted = true;
  WalkFromOrigin(store, node, [&](NodeRef at, const BoardSquares&) {
    if (!store.Node(at).Has(kFlagComposed)) return;
    if (const FENExtras* extras = store.Composed(at))
      if (!extras->CastlingFlag(colour, kingSide)) granted = false;
  });
  return granted;
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

  auto right = [&](int king, int rook, std::uint8_t colour, bool kingSide) {
    return board[static_cast<std::size_t>(king)] == (kKing | colour) && SquareUnchanged(store, node, king) &&
           board[static_cast<std::size_t>(rook)] == (kRook | colour) && SquareUnchanged(store, node, rook) &&
           CastlingGranted(store, node, colour, kingSide);
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

bool NodeHistory::SquareUnchanged(int square) const { return varnock::SquareUnchanged(store_, node_, square); }

bool NodeHistory::CastlingGranted(std::uint8_t colour, bool kingSide) const {
  return varnock::CastlingGranted(store_, node_, colour, kingSide);
}

}  // namespace varnock
