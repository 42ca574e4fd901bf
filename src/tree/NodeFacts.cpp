#include "tree/NodeFacts.h"

#include "tree/Positions.h"

namespace varnock {

MoveFacts FactsOf(const NodeStore& store, NodeRef node) {
  const MoveNode& n = store.Node(node);
  MoveFacts facts;
  facts.from = n.From();
  facts.to = n.To();
  facts.piece = PieceTypeOf(n.Piece());
  facts.kind = n.Kind();
  facts.capture = n.Has2(kFlag2Capture);
  facts.check = n.Has2(kFlag2Check);
  facts.irregular = n.Has2(kFlag2Irregular);
  facts.composed = n.Has(kFlagComposed);
  facts.root = n.parent == kNoNode;
  facts.whiteMoved = n.Has(kFlagBlackToMove);
  facts.rating = store.RatingOf(node);
  facts.assessment = store.AssessmentOf(node);
  if (n.parent != kNoNode) facts.before = BoardAt(store, n.parent);
  if (facts.kind == kPromotion) facts.promotedTo = BoardAt(store, node)[static_cast<std::size_t>(facts.to)];
  return facts;
}

std::string CurrentMoveText(const NodeStore& store, NodeRef node, bool shortNotation, const NotationOptions& options,
                            bool numberBlackMoves) {
  if (node == kNoNode || !store.Valid(node)) return {};
  const MoveNode& n = store.Node(node);
  if (n.parent == kNoNode || n.Has(kFlagComposed)) return {};
  const int ply = PlyOf(store, node);
  std::string text = MoveText(FactsOf(store, node), ply, kSingleLine, shortNotation, options);
  if (numberBlackMoves && ply > 0 && ply % 2 == 0) text = std::to_string(ply / 2) + "... " + text;
  return text;
}

}  // namespace varnock
