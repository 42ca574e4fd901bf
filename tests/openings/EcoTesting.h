// Helpers for the opening tests: games from PGN text, the table file, and
// databases built from the built-in resource or from a table text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/SGridFrame.h"
#include "openings/EcoDatabase.h"

namespace varnock::testing {

// The games of a PGN text, read in full as a load reads its first game.
struct PgnGames {
  NodeStore store;
  std::string text;
  std::vector<std::unique_ptr<SGridFrame>> games;

  explicit PgnGames(std::string pgn);
  SGridFrame& operator[](std::size_t i) { return *games.at(i); }
};

// data/eco/eco.txt of the source tree.
std::string EcoTableFile();

// A database loaded from the built-in resource, shared by the tests of a run.
EcoDatabase& BuiltInDatabase();

// A loaded database over the table text given.
EcoDatabase DatabaseOf(std::string tableText);

}  // namespace varnock::testing
