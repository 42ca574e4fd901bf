#include "support/TreeTesting.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "support/CoordinateMoves.h"
#include "support/ScriptedPrompt.h"
#include "tree/Bookmarks.h"
#include "tree/MoveEntry.h"
#include "tree/Positions.h"

namespace varnock::testing {

int Square(const std::string& name) { return SquareOf(name); }

namespace {

int PromotionIndex(char letter) {
  switch (letter) {
    case 'q':
      return 0;
    case 'n':
      return 1;
    case 'r':
      return 2;
    case 'b':
      return 3;
    default:
      return -1;
  }
}

}  // namespace

bool Play(GameTree& game, const std::string& moves, UserPrompt* prompt) {
  std::istringstream in(moves);
  std::string move;
  while (in >> move) {
    ScriptedPrompt local;
    UserPrompt& asked = prompt ? *prompt : local;
    if (move.size() == 5 && !prompt) local.Pick(PromotionIndex(move[4]));
    EntryOutcome outcome = PlayMove(game, Square(move.substr(0, 2)), Square(move.substr(2, 2)), asked);
    if (outcome == EntryOutcome::Refused) {
      ADD_FAILURE() << "move " << move << " refused: " << game.statusText;
      return false;
    }
  }
  return true;
}

bool Read(GameTree& game, const std::string& moves) {
  std::istringstream in(moves);
  std::string move;
  while (in >> move) {
    std::uint8_t promotion = move.size() == 5 ? PromotionOf(move[4]) : 0;
    if (PlayReadMove(game, Square(move.substr(0, 2)), Square(move.substr(2, 2)), promotion, nullptr) ==
        EntryOutcome::Refused)
      return false;
  }
  return true;
}

std::string Dump(const GameTree& game) {
  const NodeStore& store = game.Store();
  std::ostringstream out;
  std::vector<std::pair<NodeRef, int>> pending{{game.root, 0}};
  while (!pending.empty()) {
    auto [at, depth] = pending.back();
    pending.pop_back();
    for (; at != kNoNode; at = store.Node(at).next) {
      const MoveNode& n = store.Node(at);
      out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << SquareName(n.From()) << SquareName(n.To()) << " f"
          << int(n.flags) << " g" << int(n.flags2) << " r" << int(store.RatingOf(at)) << " a"
          << int(store.AssessmentOf(at)) << " m" << int(store.ResultOf(at));
      if (const std::string* c = store.Comment(at, NodeStore::kBefore)) out << " {<" << *c << "}";
      if (const std::string* c = store.Comment(at, NodeStore::kAfter)) out << " {>" << *c << "}";
      if (at == game.current) out << " *current";
      if (at == game.lineEnd) out << " *end";
      if (at == game.primary) out << " *primary";
      out << '\n';
      if (auto* alternatives = const_cast<NodeStore&>(store).Alternatives(at)) {
        for (auto it = alternatives->rbegin(); it != alternatives->rend(); ++it)
          pending.push_back({(*it)->first, depth + 1});
      }
    }
  }
  for (const auto& mark : game.bookmarks)
    out << "bookmark " << mark.number << ' ' << BookmarkDescription(game, mark.node) << '\n';
  for (std::size_t i = 0; i < game.storeSlots.size(); ++i)
    if (game.storeSlots[i]) out << "slot " << i << '\n';
  out << "changed " << game.changed << '\n';
  return out.str();
}

NodeRef MainLineNode(const GameTree& game, int plies) {
  NodeRef at = game.root;
  for (int i = 0; i < plies && at != kNoNode; ++i) at = game.Node(at).next;
  return at;
}

}  // namespace varnock::testing
