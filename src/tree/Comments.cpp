#include "tree/Comments.h"

namespace varnock {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void TrimTrailing(std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  text.resize(end);
}

}  // namespace

void SetComment(GameTree& game, NodeRef node, NodeStore::CommentKind kind, std::string text, bool replace) {
  NodeStore& store = game.Store();
  game.ForgetCommentRing();
  TrimTrailing(text);
  std::string combined;
  const std::string* existing = store.Comment(node, kind);
  if (!replace && existing)
    combined = *existing + "\r\n\r\n" + text;
  else
    combined = std::move(text);
  bool hasInk = false;
  for (char c : combined)
    if (!IsBlank(c)) hasInk = true;
  if (hasInk)
    store.StoreComment(node, kind, std::move(combined));
  else
    store.EraseComment(node, kind);
}

}  // namespace varnock
