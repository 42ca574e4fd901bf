// A game record for PGN tests, built move by move as a reader builds it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/PgnExportOptions.h"
#include "formats/SGridFrame.h"

namespace varnock::testing {

struct PgnTestGame {
  NodeStore store;
  SGridFrame game{store};
  GameTree& tree = game.Tree();

  // Plays coordinate moves ("e2e4 e7e8q", "a8a8" for a pass) at the current
  // node; returns the last node played.
  NodeRef Read(const std::string& moves);
  // Reads an alternative to the continuation of `branch`; the current node
  // and the active line stay where they were. Returns the alternative's
  // first node.
  NodeRef Alternative(NodeRef branch, const std::string& moves);
  // Gives the root a set-up position.
  void SetUpRoot(const std::string& fen);
  // The node `plies` moves down the main line.
  NodeRef Ply(int plies) const;

  // The movetext from the root, alone.
  std::string Movetext(const PgnExportOptions& options);
  // The whole game.
  std::string Written(const PgnExportOptions& options, std::optional<std::string_view> fileText = std::nullopt);
};

// The tag section of a game whose header is empty.
inline constexpr std::string_view kEmptyTags =
    "[Event \"?\"]\r\n[EventDate \"?\"]\r\n[Site \"?\"]\r\n[Date \"?\"]\r\n[Round \"?\"]\r\n"
    "[White \"?\"]\r\n[Black \"?\"]\r\n[Result \"*\"]\r\n";

}  // namespace varnock::testing
