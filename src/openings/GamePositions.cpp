#include "openings/GamePositions.h"

#include <algorithm>

#include "openings/ExplorerStats.h"
#include "openings/PositionKey.h"
#include "tree/NodeWalk.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

struct Pending {
  NodeRef node;
  BoardSquares board;  // before the node's move
  std::uint8_t side;
  std::uint32_t key;  // of the board and side
  int ply;            // half-moves played before the node's move
};

}  // namespace

void CollectGamePositions(const GameTree& game, const PositionWalk& walk, std::vector<std::uint64_t>& facts) {
  const std::size_t first = facts.size();
  NodeStore& store = game.Store();
  NodeWalk nodes(store);
  if (game.root == kNoNode) return;

  const MoveNode& root = nodes.Node(game.root);
  BoardSquares board = StartBoard;
  std::uint8_t side = root.SideToMove();
  if (root.Has(kFlagComposed)) {
    const FENExtras* extras = store.Composed(game.root);
    if (!extras) return;
    board = extras->board;
    side = extras->sideToMove;
  }
  const std::uint32_t rootKey = PositionKey(board, side);
  facts.push_back(PositionFact(rootKey, kReachedMark));

  thread_local std::vector<Pending> pending;
  pending.clear();
  if (walk.plies > 0) {
    if (root.next != kNoNode) pending.push_back({root.next, board, side, rootKey, 0});
    if (!walk.mainLineOnly && root.Has(kFlagBranch))
      if (const auto* alternatives = store.Alternatives(game.root))
        for (const SBranchDetails* line : *alternatives)
          if (line->first != kNoNode) pending.push_back({line->first, board, side, rootKey, 0});
  }
  while (!pending.empty()) {
    Pending at = pending.back();
    pending.pop_back();
    // Along one line without copying the board, the first alternative of
    // each branch put aside for later.
    for (;;) {
      const MoveNode& node = nodes.Node(at.node);
      const int from = node.From(), to = node.To();
      if (node.Has(kFlagComposed) || from == to || (at.board[static_cast<std::size_t>(from)] & kColourMask) != at.side)
        break;
      const std::uint32_t move =
          static_cast<std::uint32_t>(from | to << 6) | (node.Has2(kFlag2Check) ? kStoredMoveCheck : 0);
      facts.push_back(PositionFact(at.key, move));
      ReplayMove(at.board, node);
      at.side = Opponent(at.side);
      ++at.ply;
      at.key = PositionKey(at.board, at.side);
      facts.push_back(PositionFact(at.key, kReachedMark));
      if (at.ply >= walk.plies) break;
      if (!walk.mainLineOnly && node.Has(kFlagBranch))
        if (const auto* alternatives = store.Alternatives(at.node))
          for (const SBranchDetails* line : *alternatives)
            if (line->first != kNoNode) pending.push_back({line->first, at.board, at.side, at.key, at.ply});
      if (node.next == kNoNode) break;
      at.node = node.next;
    }
  }
  std::sort(facts.begin() + static_cast<std::ptrdiff_t>(first), facts.end());
  facts.erase(std::unique(facts.begin() + static_cast<std::ptrdiff_t>(first), facts.end()), facts.end());
}

}  // namespace varnock
