#include "openings/ExplorerRows.h"

#include "core/Format.h"
#include "core/Notation.h"
#include "openings/PositionKey.h"

namespace varnock {

namespace {

const EcoLine* OpeningOf(std::uint32_t key, const ExplorerSources& sources) {
  if (!sources.index || !sources.table) return nullptr;
  const std::optional<std::uint32_t> offset = sources.index->Lookup(key);
  return offset ? EcoLineAtOffset(*sources.table, *offset) : nullptr;
}

std::string Text(std::string_view view) { return std::string(view); }

}  // namespace

unsigned ExplorerPercent(unsigned count, unsigned total) { return (count * 200 + total) / (total * 2); }

ExplorerCells ExplorerCellsOf(const SExplorerMove& row) {
  ExplorerCells cells;
  cells[0] = row.moveText;
  cells[1] = Format("%d", row.total);
  if (row.total > 0) {
    const auto total = static_cast<unsigned>(row.total);
    cells[2] = Format("%d", ExplorerPercent(static_cast<unsigned>(row.whiteWins), total));
    cells[3] = Format("%d", ExplorerPercent(static_cast<unsigned>(row.draws), total));
    cells[4] = Format("%d", ExplorerPercent(static_cast<unsigned>(row.blackWins), total));
  }
  if (row.ecoLine) cells[5] = Format("  %s   %s", Text(row.ecoLine->code).c_str(), Text(row.ecoLine->name).c_str());
  return cells;
}

ExplorerView ExplorerViewOf(const BoardSquares& board, std::uint8_t sideToMove, const ExplorerSources& sources) {
  ExplorerView view;
  const std::uint32_t key = PositionKey(board, sideToMove);
  if (const EcoLine* line = OpeningOf(key, sources))
    view.title = Format(" %s %s", Text(line->code).c_str(), Text(line->name).c_str());

  const std::optional<StatsRecord> record = sources.stats ? sources.stats->Record(key) : std::nullopt;
  if (record) {
    for (const std::uint16_t stored : record->moves) {
      SExplorerMove row;
      BoardSquares after = board;
      // Castling is shown as "O-O" or "O-O-O" alone, without a check sign.
      const int from = stored & 63, to = (stored >> 6) & 63;
      const bool castling = (board[static_cast<std::size_t>(from)] & kKing) && RowOf(from) == RowOf(to) &&
                            (FileOf(to) - FileOf(from) == 2 || FileOf(from) - FileOf(to) == 2);
      row.moveText = EngineMoveText(castling ? static_cast<std::uint16_t>(stored & ~kStoredMoveCheck) : stored, after,
                                    sources.initials);
      const std::uint32_t next = PositionKey(after, Opponent(sideToMove));
      if (const std::optional<StatsRecord> counts = sources.stats->Record(next)) {
        row.whiteWins = static_cast<int>(counts->whiteWins);
        row.blackWins = static_cast<int>(counts->blackWins);
        row.draws = static_cast<int>(counts->draws);
        row.total = row.whiteWins + row.blackWins + row.draws;
      }
      row.from = stored & 63;
      row.to = (stored >> 6) & 63;
      row.ecoLine = OpeningOf(next, sources);
      auto at = view.rows.begin();
      while (at != view.rows.end() && at->total >= row.total) ++at;
      view.rows.insert(at, std::move(row));
    }
  }
  for (const SExplorerMove& row : view.rows)
    if (board[static_cast<std::size_t>(row.from)] & sideToMove) view.lines.push_back(ExplorerCellsOf(row));
  if (view.lines.empty()) view.lines.push_back({"0", "0", "0", "0", "0", ""});
  return view;
}

}  // namespace varnock
