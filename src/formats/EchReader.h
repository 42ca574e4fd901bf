// Reading games of an ECH collection.
#pragma once

#include <cstddef>
#include <string_view>

#include "formats/PgnReports.h"
#include "formats/SErrorList.h"
#include "formats/SGridFrame.h"

namespace varnock {

// The text a game is read from and where its reports go. One source serves
// every game of a load.
struct EchReadSource {
  std::string_view text;      // the whole file text; line numbers count from its start
  std::string_view fileName;  // heads the error list before its first report (not when rereading)
  int gameNumber = 0;         // the game's number in reports: its place in the collection
  SErrorList* errors = nullptr;
  LineCounter lines;
};

// Reads the game that begins at `cursor` (the whole text is bounds-checked;
// the reader never fails on bad input: errors go to the source's error list).
//
// Returns 0, leaving everything untouched, when the rest of the text holds no
// property at all. Otherwise replaces any tree the game had, fills the game
// and returns 1 with `cursor` just
// after the game's closing ")" (or at the end of the text):
// - Full: header, moves, `loaded`.
// - Scan: header and `headerLength` only; `loaded` stays 0 and the moves are
//   skipped. A tree is made only when the root carries properties (its
//   position, comment or marks), so that a header can be written again
//   without reading the moves.
// - Reread: the moves, into a fresh tree; the header is left as it is.
// `markedGame` tells whether the game carries "XS[]" (the collection's
// current game); such a game is read in full even when scanning.
int ReadEchGame(SGridFrame& game, ReadMode mode, EchReadSource& source, std::size_t& cursor, bool& markedGame);

}  // namespace varnock
