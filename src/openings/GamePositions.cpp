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

// Drops the facts from `first` on that came before, keeping the order of
// the rest. A game's facts are few and mostly different: a small table of
// the facts seen does it, marked by a stamp that a new game moves on; a game
// with too many for it is sorted instead.
void KeepEachOnce(std::vector<std::uint64_t>& facts, std::size_t first) {
  constexpr std::size_t kSlots = 1024, kMostFacts = kSlots / 4;
  struct Seen {
    std::uint64_t fact;
    std::uint32_t stamp;
  };
  thread_local std::vector<Seen> seen(kSlots, Seen{0, 0});
  thread_local std::uint32_t stamp = 0;
  const auto begin = facts.begin() + static_cast<std::ptrdiff_t>(first);
  if (facts.size() - first > kMostFacts) {
    std::sort(begin, facts.end());
    facts.erase(std::unique(begin, facts.end()), facts.end());
    return;
  }
  if (++stamp == 0) {
    std::fill(seen.begin(), seen.end(), Seen{0, 0});
    stamp = 1;
  }
  std::size_t kept = first;
  for (std::size_t i = first; i < facts.size(); ++i) {
    const std::uint64_t fact = facts[i];
    std::size_t slot = static_cast<std::size_t>((fact * 0x9E3779B97F4A7C15ULL) >> 54);
    while (seen[slot].stamp == stamp && seen[slot].fact != fact) slot = (slot + 1) & (kSlots - 1);
    if (seen[slot].stamp == stamp) continue;
    seen[slot] = {fact, stamp};
    facts[kept++] = fact;
  }
  facts.resize(kept);
}

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
  KeepEachOnce(facts, first);
}

}  // namespace varnock
