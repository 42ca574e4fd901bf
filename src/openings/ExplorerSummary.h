// The explorer's line about the database it shows.
#pragma once

#include <string>

#include "openings/ExplorerStats.h"

namespace varnock {

// The games the database holds: the results recorded for the standard
// start position (games from set-up positions are not among them).
std::uint32_t ExplorerDatabaseGames(const ExplorerStats& stats);

// "PATH  (N games)".
std::string ExplorerDatabaseSummary(const std::string& path, const ExplorerStats& stats);

}  // namespace varnock
