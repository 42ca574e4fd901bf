#include "openings/ExplorerSummary.h"

#include "core/Board.h"
#include "openings/PositionKey.h"

namespace varnock {

std::uint32_t ExplorerDatabaseGames(const ExplorerStats& stats) {
  const std::optional<StatsRecord> start = stats.Record(PositionKey(StartBoard, kWhite));
  return start ? start->Total() : 0;
}

std::string ExplorerDatabaseSummary(const std::string& path, const ExplorerStats& stats) {
  const std::uint32_t games = ExplorerDatabaseGames(stats);
  return path + "  (" + std::to_string(games) + (games == 1 ? " game)" : " games)");
}

}  // namespace varnock
