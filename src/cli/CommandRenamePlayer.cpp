#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "collection/HeaderEdits.h"

namespace varnock::cli {

// rename-player FILE OLD NEW -o OUT: renames the player on both sides of
// every game and saves the games as OUT.
int CommandRenamePlayer(const Args& args) {
  std::vector<std::string> positional;
  std::optional<std::string> out;
  bool yes = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--yes")
      yes = true;
    else if (arg == "-o" && i + 1 < args.size())
      out = args[++i];
    else if (arg.starts_with("-") && arg.size() > 1)
      return UsageError("rename-player: unknown option or missing value " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 3 || !out) return UsageError("rename-player takes a file, the old and new names and -o OUT");
  if (positional[1].empty() || positional[2].empty()) return UsageError("rename-player: the names must not be empty");
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  if (!UsableOutputPath("rename-player", *out)) return 2;
  if (!open.Open(positional[0])) return 2;
  const bool problems = open.ProblemsReported();
  const EditOutcome outcome = RenamePlayer(open.collection, positional[1], positional[2]);
  std::cout << ConsolePrompt::OneLine(outcome.report) << '\n';
  return open.SaveAsTo(*out, problems);
}

}  // namespace varnock::cli
