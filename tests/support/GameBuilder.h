// Builds game trees for tests from moves in coordinate text ("e2e4",
// "e7e8q").
#pragma once

#include <string>
#include <string_view>

#include "tree/GameTree.h"

namespace varnock::testing {

class GameBuilder {
 public:
  explicit GameBuilder(GameTree& game) : game_(game) {}

  // Plays space-separated moves at the line end of the active line; each
  // becomes the current node and the line end. Returns the last node.
  NodeRef Play(std::string_view moves);

  // Starts an alternative to the continuation of `branch` (as a file reader
  // does: the existing continuation stays on the active line) and plays the
  // moves on it. Returns the alternative's last node. The active line, its
  // end and the current node are left as they were.
  NodeRef Alternative(NodeRef branch, std::string_view moves);

  // Gives the root a set-up position.
  void SetUpRoot(const std::string& fen);

  // Appends a set-up position (a8-a8, composed) at the line end.
  NodeRef Compose(const std::string& fen);

  // The node reached from the root by following continuations `plies` times.
  NodeRef OnActiveLine(int plies) const;

 private:
  NodeRef PlayOne(std::string_view move, bool firstOfNewLine);

  GameTree& game_;
};

// A text that tells two states of a game apart: every node in tree order
// with its links, flags and attributes, and the game's own references.
std::string DumpGame(const GameTree& game);

}  // namespace varnock::testing
