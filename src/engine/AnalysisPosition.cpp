#include "engine/AnalysisPosition.h"

#include "core/Fen.h"
#include "core/MoveGen.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

SharedPosition PositionOfGame(const GameTree& game, const NotationOptions& notation) {
  auto position = std::make_shared<AnalysisPosition>();
  const NodeStore& store = game.Store();
  const NodeRef node = game.current;
  const MoveNode& moveNode = store.Node(node);
  position->key = {node, game.gameId};
  position->board = BoardAt(store, node);
  const FENExtras extras = NodeExtras(store, node, position->board);
  position->fen = FormatFEN(position->board, extras);
  position->sideToMove = extras.sideToMove;
  position->parent = moveNode.parent;
  position->irregular = moveNode.Has2(kFlag2Irregular);
  position->setUp = moveNode.Has(kFlagComposed);
  if (node != game.root && moveNode.parent != kNoNode)
    position->moveText = MoveText(FactsOf(store, node), PlyOf(store, node), kSingleLine, true, notation);
  return position;
}

SharedPosition PositionOfFen(const std::string& fen) {
  auto position = std::make_shared<AnalysisPosition>();
  position->fen = fen;
  FENExtras parsed;
  ParseFEN(fen, parsed);
  position->board = parsed.board;
  position->sideToMove = parsed.sideToMove;
  position->setUp = true;
  return position;
}

PositionVerdict CheckPosition(const std::string& fen, std::string* normalised) {
  FENExtras position;
  if (!ParseFEN(fen, position).ok) return PositionVerdict::Invalid;
  if (normalised) *normalised = FormatFEN(position.board, position);
  if (IsCheckmate(position)) return PositionVerdict::Checkmate;
  if (IsStalemate(position)) return PositionVerdict::Stalemate;
  return PositionVerdict::Analysable;
}

}  // namespace varnock
