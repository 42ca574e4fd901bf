// The rows of the game-text window: the game's score in the window's layout,
// each diagram place written as the marks of its move. The window draws them
// and `varnock-cli dump --text` prints them.
#pragma once

#include <string>
#include <vector>

#include "render/ScoreLayout.h"

namespace varnock {

std::vector<ScoreParagraph> GameTextLines(GameTree& game, const ScoreLayoutOptions& options);

// The rows as text, one per line ending in "\n" (tabs kept).
std::string GameTextListing(const std::vector<ScoreParagraph>& rows);

}  // namespace varnock
