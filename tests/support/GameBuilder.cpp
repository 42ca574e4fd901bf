#include "support/GameBuilder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "core/Fen.h"
#include "core/Legality.h"
#include "support/CoordinateMoves.h"
#include "tree/NodeCreation.h"
#include "tree/Positions.h"
#include "tree/TreeOrder.h"

namespace varnock::testing {

namespace {

int ParseSquare(std::string_view text) {
  if (text.size() < 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
    throw std::invalid_argument("bad square");
  return SquareAt(text[0] - 'a', 8 - (text[1] - '0'));
}

std::uint8_t ParsePromotion(char letter) {
  const std::uint8_t piece = PromotionOf(letter);
  if (piece == 0) throw std::invalid_argument("bad promotion");
  return piece;
}

}  // namespace

NodeRef GameBuilder::PlayOne(std::string_view move, bool firstOfNewLine) {
  const NodeStore& store = game_.Store();
  const NodeRef parent = game_.lineEnd;
  const int from = ParseSquare(move.substr(0, 2));
  const int to = ParseSquare(move.substr(2, 2));
  const std::uint8_t promotion = move.size() > 4 ? ParsePromotion(move[4]) : 0;

  BoardSquares board = BoardAt(store, parent);
  const std::uint8_t side = store.Node(parent).SideToMove();
  const std::uint8_t moving = board[static_cast<std::size_t>(from)];
  std::string message;
  NodeHistory history(store, parent);
  if ((moving & side) == 0 || !IsMoveValid(board, side, from, to, history, message)) {
    ADD_FAILURE() << "illegal move in a test game: " << move;
    return kNoNode;
  }
  KingSquares kings;
  LocateKings(board, kings);
  AppliedMove applied = ApplyMove(board, kings, from, to, promotion);

  NewNode request;
  request.boardAfter = &board;
  request.from = from;
  request.to = to;
  request.piece = promotion ? kPawn : static_cast<std::uint8_t>(moving & kTypeMask);
  request.kind = applied.kind;
  request.capture = applied.capture;
  request.check = IsKingAttacked(board, kings, Opponent(side));
  request.whiteMoved = side == kWhite;
  request.firstOfNewLine = firstOfNewLine;
  NodeRef node = CreateNode(game_, request, nullptr);
  EXPECT_NE(node, kNoNode);
  return node;
}

NodeRef GameBuilder::Play(std::string_view moves) {
  std::istringstream in{std::string(moves)};
  std::string move;
  NodeRef last = kNoNode;
  while (in >> move) {
    last = PlayOne(move, false);
    if (last == kNoNode) break;
    game_.lineEnd = last;
    game_.current = last;
    game_.activeLine->last = last;
  }
  return last;
}

NodeRef GameBuilder::Alternative(NodeRef branch, std::string_view moves) {
  const NodeRef savedEnd = game_.lineEnd, savedCurrent = game_.current;
  SBranchDetails* savedLine = game_.activeLine;

  std::istringstream in{std::string(moves)};
  std::string move;
  SBranchDetails* line = game_.Store().NewLine(game_.gameId, kNoNode, kNoNode);
  game_.lineEnd = branch;
  NodeRef last = kNoNode;
  while (in >> move) {
    last = PlayOne(move, line->first == kNoNode);
    if (last == kNoNode) break;
    if (line->first == kNoNode) {
      line->first = last;
      game_.Store().AddAlternative(branch, line);
    }
    line->last = last;
    game_.lineEnd = last;
  }
  game_.lineEnd = savedEnd;
  game_.current = savedCurrent;
  game_.activeLine = savedLine;
  return last;
}

void GameBuilder::SetUpRoot(const std::string& fen) {
  FENExtras extras;
  FenCheck check = ParseFEN(fen, extras);
  ASSERT_FALSE(check.rejected) << check.message;
  game_.Store().SetComposed(game_.root, extras);
  game_.Node(game_.root).Set(kFlagBlackToMove, extras.sideToMove == kBlack);
}

NodeRef GameBuilder::Compose(const std::string& fen) {
  FENExtras extras;
  FenCheck check = ParseFEN(fen, extras);
  EXPECT_FALSE(check.rejected) << check.message;
  NewNode request;
  request.whiteMoved = extras.sideToMove == kBlack;
  NodeRef node = CreateNode(game_, request, nullptr);
  game_.Store().SetComposed(node, extras);
  game_.lineEnd = node;
  game_.current = node;
  game_.activeLine->last = node;
  return node;
}

NodeRef GameBuilder::OnActiveLine(int plies) const {
  NodeRef at = game_.root;
  for (int i = 0; i < plies && at != kNoNode; ++i) at = game_.Node(at).next;
  return at;
}

std::string DumpGame(const GameTree& game) {
  NodeStore& store = game.Store();
  std::ostringstream out;
  out << "root " << game.root << " end " << game.lineEnd << " current " << game.current << " primary " << game.primary
      << " rootLine " << game.rootLine->first << '-' << game.rootLine->last << " flipped " << game.boardFlipped << '\n';
  for (NodeRef slot : game.storeSlots) out << slot << ' ';
  out << '\n';
  for (const auto& mark : game.bookmarks) out << "bm " << mark.number << ' ' << mark.node << '\n';
  for (NodeRef at : NodesInTreeOrder(game)) {
    const MoveNode& n = store.Node(at);
    out << at << ": " << n.move << ' ' << int{n.flags} << ' ' << int{n.flags2} << ' ' << n.next << ' ' << n.parent
        << " r" << int{store.RatingOf(at)} << " a" << int{store.AssessmentOf(at)} << " x" << int{store.ResultOf(at)};
    for (auto kind : {NodeStore::kBefore, NodeStore::kAfter})
      if (const std::string* comment = store.Comment(at, kind)) out << " {" << *comment << '}';
    if (const auto* alternatives = store.Alternatives(at))
      for (const SBranchDetails* line : *alternatives) out << " alt " << line->first << '-' << line->last;
    out << '\n';
  }
  return out.str();
}

}  // namespace varnock::testing
