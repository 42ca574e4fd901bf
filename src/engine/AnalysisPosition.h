// The position an engine is asked to analyse, as produced on the interface
// thread: the protocol thread never reads a game tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Board.h"
#include "core/Notation.h"
#include "tree/GameTree.h"

namespace varnock {

// The (move, game) pair a position and its analysis belong to.
struct PositionKey {
  NodeRef move = kNoNode;
  int game = 0;  // the game's id; 0 for a position given by FEN
  bool operator==(const PositionKey&) const = default;
};

struct AnalysisPosition {
  PositionKey key;
  std::string fen;

  // How the position was reached, to tell the engine whether it continues
  // the previous search's game.
  NodeRef parent = kNoNode;
  bool irregular = false;  // an irregular move (a pass, a rule-breaking move)
  bool setUp = false;      // the node is a set-up position

  // What the analysis display shows of it.
  BoardSquares board{};
  std::uint8_t sideToMove = kWhite;
  std::string moveText;  // the move's notation; empty at the root
};

using SharedPosition = std::shared_ptr<const AnalysisPosition>;

// The displayed position of a game.
SharedPosition PositionOfGame(const GameTree& game, const NotationOptions& notation = {});

// Whether the engine can be given the position: its FEN must parse without
// a warning, and the side to move must have a move. `normalised` receives the
// FEN written anew from what was parsed, which is what the engine is sent.
enum class PositionVerdict { Analysable, Invalid, Checkmate, Stalemate };
PositionVerdict CheckPosition(const std::string& fen, std::string* normalised = nullptr);

// A position given by FEN (the fixed-position modes).
SharedPosition PositionOfFen(const std::string& fen);

}  // namespace varnock
