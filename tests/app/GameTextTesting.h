// Helpers for the game-text and comment-pane tests: a game read from PGN
// text, and a shown, active window to hold the widgets.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "formats/SGridFrame.h"
#include "settings/Settings.h"
#include "tree/NodeStore.h"

namespace varnock::testing {

// The first game of the PGN text, read in full (nullptr when none).
std::unique_ptr<SGridFrame> ReadGameText(const std::string& pgn, NodeStore& store);

// A game of 200 moves with a variation or a comment every few moves.
std::string LongAnnotatedGame();

// Shows the window and waits until it is active, so that focus moves.
bool ShowActive(QWidget& window);

}  // namespace varnock::testing
