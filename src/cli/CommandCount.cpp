#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

// count FILE: opens the collection as the main window does (the first game
// in full, the rest scanned) and prints the number of games.
int CommandCount(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false;
  for (const std::string& arg : args) {
    if (arg == "--yes")
      yes = true;
    else if (arg.starts_with("--"))
      return UsageError("count: unknown option " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 1) return UsageError("count takes one file");
  OpenCollection open(yes);
  if (!open.Open(positional[0])) return 2;
  std::cout << open.collection.Count() << '\n';
  return open.collection.errors.Empty() ? 0 : 1;
}

}  // namespace varnock::cli
