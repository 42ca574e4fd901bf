// The text lines drawn above and below the board.
#pragma once

#include <string>
#include <vector>

namespace varnock {

// What the caption shows of the game and its collection.
struct BoardCaptionValues {
  int place = 1;             // 1-based place of the game in the collection
  int count = 1;             // games in the collection
  std::string board;         // the game's Board field
  std::string white, black;  // player names
  bool movesChanged = false;
  std::string fileName;     // the collection's file, empty when it has none
  bool modified = false;    // the collection is modified
  bool showPlayers = true;  // "ShowPlayers"
  bool showFile = true;     // "ShowFile"
};

// The lines above the board: game place, board and players; then the file
// name. Empty lines are left out.
std::vector<std::string> CaptionLines(const BoardCaptionValues& values);

// The line below the board: the current move's number and text, or
// "( composed )" at the start of a game from a composed position.
std::string MoveCaption(const std::string& moveText, bool composedStart);

}  // namespace varnock
