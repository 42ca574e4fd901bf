// Opening classification of one game: the deepest line of the opening table
// that the game's main line follows within its first 36 half-moves, written
// into the game's "ECO" and "Opening" tags.
#pragma once

#include "core/UserPrompt.h"
#include "formats/SGridFrame.h"
#include "openings/EcoDatabase.h"

namespace varnock {

// How a game is matched against the table (the setting "ECOByTransposition").
enum class EcoMethod {
  MoveOrder,      // the game's moves spell the line's moves
  Transposition,  // a position of the game is the line's final position
};

constexpr int kEcoSearchPlies = 36;

// The line found for a game's main line, or nullptr (also for a game that
// starts from a set-up position or has no moves). A key hit counts only when
// the moves, or the position, really are the line's.
const EcoLine* FindOpening(const GameTree& game, const EcoTable& table, EcoMethod method);

// Classifies one game and reports to the user when interactive; loads the
// database first if needed. `gameNumber` is 1-based, 0 for none (the short
// not-found message). Returns whether the game's tags changed; a change also
// sets the game's header-changed flag.
bool FetchECO(SGridFrame& game, bool interactive, int gameNumber, EcoMethod method, EcoDatabase& database,
              UserPrompt& prompt);

}  // namespace varnock
