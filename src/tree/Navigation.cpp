#include "tree/Navigation.h"

#include "tree/Positions.h"

namespace varnock {

void ShowCurrentPosition(GameTree& game) {
  game.board = BoardAt(game.Store(), game.current);
  game.sideToMove = game.Node(game.current).SideToMove();
  LocateKings(game.board, game.kings);
}

std::string ToMoveText(std::uint8_t side) { return std::string(ColourName(side)) + " " + "to move"; }

void GoToNode(GameTree& game, NodeRef node, bool quiet) {
  if (node == kNoNode || node == game.current) return;
  game.current = node;
  ShowCurrentPosition(game);
  if (quiet) return;
  game.statusText = ToMoveText(game.sideToMove);
  if (game.observer) game.observer->CurrentNodeChanged();
}

void GoToRoot(GameTree& game) { GoToNode(game, game.root); }

void GoToLineEnd(GameTree& game) { GoToNode(game, game.lineEnd); }

void GoBack(GameTree& game, int moves) {
  NodeRef at = game.current;
  for (int i = 0; i < moves && game.Node(at).parent != kNoNode; ++i) at = game.Node(at).parent;
  GoToNode(game, at);
}

void GoForward(GameTree& game, int moves) {
  NodeRef at = game.current;
  for (int i = 0; i < moves && game.Node(at).next != kNoNode; ++i) at = game.Node(at).next;
  GoToNode(game, at);
}

namespace {

bool PawnOrCapture(const MoveNode& node) {
  return node.parent != kNoNode && !node.Has(kFlagComposed) &&
         (node.Piece() == kStoredPawn || node.Has2(kFlag2Capture)) && node.From() != node.To();
}

}  // namespace

void GoBackToPawnOrCapture(GameTree& game) {
  for (NodeRef at = game.Node(game.current).parent; at != kNoNode; at = game.Node(at).parent) {
    if (PawnOrCapture(game.Node(at))) return GoToNode(game, at);
  }
}

void GoForwardToPawnOrCapture(GameTree& game) {
  for (NodeRef at = game.Node(game.current).next; at != kNoNode; at = game.Node(at).next) {
    if (PawnOrCapture(game.Node(at))) return GoToNode(game, at);
  }
  GoToNode(game, game.lineEnd);
}

}  // namespace varnock
