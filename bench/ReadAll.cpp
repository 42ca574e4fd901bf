#include "ReadAll.h"

#include "formats/PgnReader.h"

namespace varnock::bench {

ReadTotals ReadAllGames(std::string_view text, ReadMode mode) {
  ReadTotals totals;
  NodeStore store;
  store.SetOneGameAtATime(true);
  SErrorList errors;
  PgnReadContext ctx;
  ctx.text = text;
  ctx.fileName = "bench.pgn";
  ctx.errors = &errors;
  while (true) {
    SGridFrame game(store);
    const std::size_t start = ctx.cursor;
    const std::size_t nodesBefore = store.LiveNodes();
    if (!Do_FilePGN(game, mode, ctx)) break;
    ++totals.games;
    if (game.HasTree()) totals.nodes += static_cast<std::int64_t>(store.LiveNodes() - nodesBefore) - 1;  // not the root
    if (ctx.cursor <= start) break;
  }
  totals.reports = static_cast<std::int64_t>(errors.Messages().size());
  return totals;
}

}  // namespace varnock::bench
