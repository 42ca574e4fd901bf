#include "tree/PaneComments.h"

#include "tree/Comments.h"

namespace varnock {

namespace {

std::uint8_t FlagOf(NodeStore::CommentKind kind) {
  return kind == NodeStore::kBefore ? kFlagCommentBefore : kFlagCommentAfter;
}

// A node that lies in a slot still in use: a freed node keeps its slot's
// bytes but not its in-use bit.
bool Live(const NodeStore& store, NodeRef node) {
  return node != kNoNode && store.Valid(node) && store.Node(node).InUse();
}

}  // namespace

std::string PaneCommentOf(const GameTree& game, NodeRef node, NodeStore::CommentKind kind) {
  const NodeStore& store = game.Store();
  if (!Live(store, node) || !store.Node(node).Has(FlagOf(kind))) return {};
  const std::string* text = store.Comment(node, kind);
  return text ? *text : std::string();
}

bool StorePaneComment(GameTree& game, NodeRef node, NodeStore::CommentKind kind, const std::string& edited) {
  if (!Live(game.Store(), node)) return false;
  const std::string before = PaneCommentOf(game, node, kind);
  SetComment(game, node, kind, edited, true);
  if (PaneCommentOf(game, node, kind) == before) return false;
  game.MarkChanged();
  return true;
}

}  // namespace varnock
