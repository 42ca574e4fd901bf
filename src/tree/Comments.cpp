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
  const std::string* existing = store.Comment(node, kind);
  if (!replace && existing) {
    // A stored comment always has ink: only the new text is looked at, and
    // it is added in place.
    store.AppendComment(node, kind, "\r\n\r\n", text);
    return;
  }
  // Trimmed, a text with ink ends in it.
  if (!text.empty())
    store.StoreComment(node, kind, std::move(text));
  else
    store.EraseComment(node, kind);
}

}  // namespace varnock
