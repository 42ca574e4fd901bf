#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

// count FILE: opens the collection as the main window does (the first game
// in full, the rest scanned) and prints the number of games.
int CommandCount(const Args& args) {
  const std::optional<FlagsAndNames> split = SplitArgs("count", args, {"--yes"});
  if (!split) return 2;
  if (split->names.size() != 1) return UsageError("count takes one file");
  OpenCollection& open = OpenCollection::ForThisProcess(split->Has("--yes"));
  if (!open.Open(split->names[0])) return 2;
  std::cout << open.collection.Count() << '\n';
  return open.ProblemsReported() ? 1 : 0;
}

}  // namespace varnock::cli
