// Searching the comments of a game for a text.
#pragma once

#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// What the find dialog holds between searches.
struct FindSettings {
  std::string text;
  bool matchCase = false;
  bool forward = true;
};

// The nodes that carry a comment, in tree order.
std::vector<NodeRef> CreateCommentsList(const GameTree& game);

// Whether `text` occurs in `comment`; without `matchCase` letters compare
// regardless of case.
bool CommentContains(const std::string& comment, const std::string& text, bool matchCase);

// Starts a search: rebuilds the list of commented nodes (reporting when there
// is none), asks for the search text and looks for it from the current node
// in the direction of `settings`.
void CmFind(GameTree& game, UserPrompt& prompt, FindSettings& settings);

// Continues the search from the last hit, one commented node at a time,
// wrapping around; the hit becomes current, its line made active.
void CmFindNext(GameTree& game, UserPrompt& prompt, const FindSettings& settings);

}  // namespace varnock
