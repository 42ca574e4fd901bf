#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "cli/Progress.h"
#include "openings/CollectionEco.h"

namespace varnock::cli {

// eco FILE: classifies every game; prints each game's ECO and opening, then
// the report; with -o OUT saves the classified collection there.
int CommandEco(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false, transposition = false;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--yes")
      yes = true;
    else if (arg == "--transposition")
      transposition = true;
    else if (arg == "-o" && i + 1 < args.size())
      output = args[++i];
    else if (arg.starts_with("-"))
      return UsageError("eco: unknown option or missing value " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 1) return UsageError("eco takes one file");
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  if (!output.empty() && !UsableOutputPath("eco", output)) return 2;
  if (!open.Open(positional[0])) return 2;
  const bool loadErrors = open.ProblemsReported();
  // Running the command is the go-ahead for loading every game.
  open.prompt.AnswerOk();

  CollectionEco games(open.collection);
  ProgressBar bar("Loading games");
  games.progress = [&bar](int done, int total) { bar.Show(done, total); };
  EcoDatabase database;
  std::string report;
  CmFetchAllECO(games, database, transposition ? EcoMethod::Transposition : EcoMethod::MoveOrder, open.prompt, &report);
  if (!database.Available()) return 1;

  for (std::size_t i = 0; i < open.collection.Count(); ++i) {
    const GameHeader& header = open.collection.Game(i).header;
    std::cout << i + 1 << '\t' << header.Get(HeaderField::ECO) << '\t' << header.Get(HeaderField::Opening) << '\n';
  }
  std::cout << ConsolePrompt::OneLine(report) << '\n';

  if (!output.empty()) return open.SaveAsTo(output, loadErrors);
  return loadErrors || !open.collection.errors.Empty() ? 1 : 0;
}

}  // namespace varnock::cli
