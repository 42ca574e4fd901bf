// What reading every game of a collection leaves, for comparing one way of
// reading with another: each game's tree, the error list and what the
// prompt was told.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "collection/GameVisitor.h"
#include "support/CollectionTesting.h"

namespace varnock::testing {

// What a read leaves of one game: its nodes (the root not counted) and its
// moves, comments and marks as ECH writes them.
struct GameRead {
  long long nodes = -1;
  std::string moves;
  bool reported = false;
  bool operator==(const GameRead&) const = default;
};

struct ReadOutcome {
  std::vector<GameRead> games;
  std::vector<std::string> reports;
  std::set<int> reportedGames;
  std::vector<std::string> told;  // what the prompt was told while the games were read
};

GameRead Describe(GameTree& tree);

// What the prompt was told from record `from` on, one line a record.
std::vector<std::string> Told(const ScriptedPrompt& prompt, std::size_t from);

// Takes the error list and what the prompt was told since `toldBefore`.
void Finish(CollectionUnderTest& t, std::size_t toldBefore, ReadOutcome& outcome);

// The one-thread read: EnsureLoaded game after game, each tree let go again.
ReadOutcome ReadOneByOne(CollectionUnderTest& t);

void ExpectSame(const ReadOutcome& expected, const ReadOutcome& actual);

// The same games as ECH, written by the collection's own save.
std::string AsEch(const std::string& pgn);

// Runs `expect` on the games as PGN ("games.pgn") and again as ECH
// ("games.ech"), each under its own trace.
void ExpectAsPgnAndAsEch(const std::string& pgn,
                         const std::function<void(const char* name, const std::string& text)>& expect);

// 300 games; bad moves in games 2 and 5 and an unbalanced bracket in game 3
// of every hundred.
std::string GamesWithFaults();
// The same faults in ECH: a move off the board in games 2 and 5 of every
// hundred.
std::string EchGamesWithFaults();

}  // namespace varnock::testing
