// FEN of the current position, and setting up a position on the current node.
#pragma once

#include <string>

#include "core/Clipboard.h"
#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// The FEN of the current node on its rebuilt board. With `copy`, the text is
// checked first (a failing check is reported and the command goes on), put
// on the clipboard, and the copy is reported.
std::string GetFEN(GameTree& game, bool copy = false, UserPrompt* prompt = nullptr, Clipboard* clipboard = nullptr);

struct SetPositionResult {
  int result = 0;  // 1 valid, 0 only warnings, -1 rejected (nothing changed)
  std::uint8_t side = kWhite;
  std::string message;
};

// Attaches the FEN's position to the current node (creating its entry when
// absent) and locates the kings. The caller sets the composed bit.
SetPositionResult SetPosition(GameTree& game, const std::string& fen);

}  // namespace varnock
