// Helpers for the ECH tests: games built as a file reader builds them, a
// description that tells two games apart, and reading a text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "formats/EchReader.h"
#include "formats/SGridFrame.h"

namespace varnock::testing {

// Reads coordinate moves ("e2e4 e7e8q", "a8a8" for a pass) from the current
// node as a reader enters them; returns the last node.
NodeRef ReadMoves(GameTree& game, std::string_view moves);

// Reads an alternative to the continuation of `branch`, then goes back to
// where reading was. Returns the alternative's first node.
NodeRef ReadAlternative(GameTree& game, NodeRef branch, std::string_view moves);

// Makes `node` current on the line that holds it, so that reading goes on
// from there.
void ReadOnFrom(GameTree& game, NodeRef node);

// Adds a set-up position at the current node.
NodeRef ReadPosition(GameTree& game, const std::string& fen);

// Everything that the ECH format keeps of a game, in tree order: header,
// flipped flag, every node with its flags, marks, comments, set-up position,
// bookmark and store slot, the current node, line end and primary, and
// whether the line records agree with the links. Keeps its own stack and
// writes depths as numbers, so that deep trees stay cheap.
std::string Describe(SGridFrame& game);

// Reading every game of a text, as a load does.
struct EchLoad {
  explicit EchLoad(NodeStore& store, std::string text, ReadMode firstMode = ReadMode::Full,
                   ReadMode laterModes = ReadMode::Scan, std::string fileName = "games.ech");

  std::string text;
  std::string fileName;
  SErrorList errors;
  EchReadSource source;
  std::vector<std::unique_ptr<SGridFrame>> games;
  std::vector<std::size_t> starts;  // where each game's text began
  int markedGame = -1;              // index of the game that carried "XS[]"
};

// The ECH text of a game.
std::string Written(SGridFrame& game, bool currentGame = false);

}  // namespace varnock::testing
