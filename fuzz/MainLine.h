// The main line of a game as text, to compare two reads of the same game.
#pragma once

#include <string>

#include "formats/SGridFrame.h"

namespace varnock::fuzz {

// One line for the root's position, then one for each node of the main line:
// its squares, its kind and promotion piece, or the set-up position it
// holds. With `asPgn`, the line ends as a PGN text ends it: a set-up
// position or an irregular move inside the line is written as a pass, and
// nothing after it.
std::string MainLine(SGridFrame& game, bool asPgn);

}  // namespace varnock::fuzz
