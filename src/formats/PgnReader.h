// Reading one game of PGN text into a game record.
//
// The reader works in place on the whole file text and never rejects it: a
// move that cannot be read ends its line of play, a report goes to the error
// list, and reading resumes after the enclosing variation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/UserPrompt.h"
#include "formats/PgnReports.h"
#include "formats/SErrorList.h"
#include "formats/SGridFrame.h"

namespace varnock {

struct PgnReadContext {
  std::string_view text;         // the whole text (of the file, or pasted)
  std::size_t cursor = 0;        // in: the game's first character; out: the first after it
  std::string fileName;          // empty for pasted text and rereads; only the reports use it
  int gameCounter = 0;           // Full and Scan: the game is number counter + 1, and the counter becomes it
  int rereadGameNumber = 0;      // Reread: the game's place in the collection, for reports
  bool badContinuation = true;   // keep the text skipped after an error as a comment
  SErrorList* errors = nullptr;  // where reports go
  UserPrompt* prompt = nullptr;  // for the unbalanced-brackets warning
  bool errorFlag = false;        // set when anything was reported; never cleared
  LineCounter lines;             // line numbers of reports, counted once through the text
  bool plainMoves = true;        // the quick lane for plain moves (tests turn it off to compare)
};

// Reads one game starting at ctx.cursor. Returns 1 when a game was read and
// 0 when only white space remained (nothing is changed then).
int Do_FilePGN(SGridFrame& game, ReadMode mode, PgnReadContext& ctx);

}  // namespace varnock
