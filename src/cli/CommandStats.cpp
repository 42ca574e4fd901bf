#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "collection/CollectionList.h"

namespace varnock::cli {

namespace {

void PrintRow(const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) std::cout << (i ? "\t" : "") << cells[i];
  std::cout << '\n';
}

}  // namespace

// stats players|events|openings FILE: the statistics list, heading first.
int CommandStats(const Args& args) {
  const std::optional<FlagsAndNames> split = SplitArgs("stats", args, {"--yes"});
  if (!split) return 2;
  const std::vector<std::string>& positional = split->names;
  const bool yes = split->Has("--yes");
  if (positional.size() != 2) return UsageError("stats takes players, events or openings and a file");
  ListKind kind{};
  bool (*mayOpen)(const Collection&, UserPrompt&) = nullptr;
  if (positional[0] == "players") {
    kind = ListKind::Players;
    mayOpen = CmPlayers;
  } else if (positional[0] == "events") {
    kind = ListKind::Events;
    mayOpen = CmEvents;
  } else if (positional[0] == "openings") {
    kind = ListKind::Openings;
    mayOpen = CmOpenings;
  } else {
    return UsageError("stats: the list is players, events or openings, not '" + positional[0] + "'");
  }
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  if (!open.Open(positional[1])) return 2;
  if (!mayOpen(open.collection, open.prompt)) return 1;
  const CollectionList list(open.collection, kind);
  PrintRow(list.Headings());
  for (std::size_t row = 0; row < list.RowCount(); ++row) PrintRow(list.Cells(row));
  return open.collection.errors.Empty() ? 0 : 1;
}

}  // namespace varnock::cli
