// Pieces of the PGN reader's error reports: line numbers, the extract around
// the error, and the skipped text kept as a comment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tree/GameTree.h"

namespace varnock {

// Line numbers (1 + the LFs before a position). Remembers where it counted
// to, so that many reports in one large text cost one pass.
class LineCounter {
 public:
  int LineAt(std::string_view text, std::size_t position);

 private:
  std::size_t countedTo_ = 0;
  int lines_ = 1;
};

// The 180 characters that begin 90 before the position, or at the game's
// first character when that is nearer; cut at the end of the text.
std::string ExtractAround(std::string_view text, std::size_t gameStart, std::size_t position);

// CRs dropped, tabs and LFs made spaces, runs of spaces made one, ends trimmed.
std::string NormaliseSkippedText(std::string_view text);

// The number of moves from the root to the node.
int MovesFromRoot(const GameTree& tree, NodeRef node);

}  // namespace varnock
