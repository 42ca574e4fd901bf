// The statistics of a collection: its games grouped by opening, by event and
// by player, computed from the game headers alone (no game's moves are read).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "collection/Collection.h"

namespace varnock {

// A game's Result field, compared whole and case-sensitively; anything but
// the three results counts as unfinished.
enum class GameResult { WhiteWon, Drawn, BlackWon, Unfinished };
GameResult ResultOf(std::string_view result);

// One row of the openings list: the games with one ECO and opening name.
struct SOpening {
  int games = 0;
  int whitePoints = 0;  // half points: 2 for "1-0", 1 for "1/2-1/2"
  int unfinished = 0;
  std::string eco;
  std::string opening;
};

// One row of the events list: the games of one Event, Site and EventDate.
struct SEvent {
  int games = 0;
  std::string event;
  std::string site;
  std::string eventDate;
};

// One row of the players list.
struct SPlayer {
  int gamesAsWhite = 0;
  int gamesAsBlack = 0;
  int whitePoints = 0;  // half points scored with White
  int blackPoints = 0;  // half points scored with Black
  int unfinishedAsBlack = 0;
  int unfinishedAsWhite = 0;
  std::string name;

  // Whether any game was counted for the player (a player who only met
  // himself has a row but no games).
  bool HasGames() const { return gamesAsWhite + gamesAsBlack > 0; }
};

// The rows in list order: openings by ECO then opening, events by Event,
// Site, then EventDate, players by name; all in byte order.
std::vector<SOpening> BuildOpenings(const Collection& collection);
std::vector<SEvent> BuildEvents(const Collection& collection);
std::vector<SPlayer> BuildPlayers(const Collection& collection);

// The score cells ("%0.2f"), empty when every game of the row is unfinished.
std::string WhiteScoreText(const SOpening& row);
std::string WhiteScoreText(const SPlayer& row);
std::string BlackScoreText(const SPlayer& row);

// The refusals of the three statistics commands: each reports, when the
// collection has nothing to list, and returns whether the list may open.
bool CmEvents(const Collection& collection, UserPrompt& prompt);
bool CmOpenings(const Collection& collection, UserPrompt& prompt);
bool CmPlayers(const Collection& collection, UserPrompt& prompt);

}  // namespace varnock
