// Reading every game of a text, one after another, as a file load does.
#pragma once

#include <cstdint>
#include <string_view>

#include "formats/SGridFrame.h"

namespace varnock::bench {

struct ReadTotals {
  std::int64_t games = 0;
  std::int64_t nodes = 0;    // move nodes of every line (Full only)
  std::int64_t reports = 0;  // error reports
};

// Reads the games in the mode given (Full or Scan); each game is dropped once
// read, so memory stays at one game's.
ReadTotals ReadAllGames(std::string_view text, ReadMode mode);

}  // namespace varnock::bench
