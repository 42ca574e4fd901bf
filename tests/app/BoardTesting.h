// Helpers for the board tests: a game with a board widget on it, the chess
// fonts loaded once, and mouse gestures on squares given by name.
#pragma once

#include <QPoint>
#include <memory>
#include <string>

#include "app/BoardView.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompt.h"
#include "tree/GameTree.h"
#include "tree/NodeStore.h"

namespace varnock::testing {

// Registers the chess fonts of the data folder (once per run).
void LoadBoardFonts();

int SquareNamed(const std::string& name);  // "e4" -> 0..63

// Plays space-separated moves such as "e2e4 e7e5" through interactive entry;
// false at the first move that is not added or followed.
bool PlayMoves(GameTree& game, const std::string& moves);

struct BoardFixture {
  BoardFixture();
  QPoint Centre(const std::string& square) const;  // widget position of a square's centre
  void Press(const std::string& square);
  void Release(const std::string& square);
  void Click(const std::string& square);
  void Drag(const std::string& from, const std::string& to);
  // Moves the held button over a square without letting go.
  void DragOver(const std::string& from, const std::string& to);

  NodeStore store;
  GameTree game{store};
  Settings settings;
  ScriptedPrompt prompt;
  std::unique_ptr<BoardView> view;
};

}  // namespace varnock::testing
