#include <sys/stat.h>

#include <charconv>
#include <iostream>
#include <optional>

#include "cli/CliSettings.h"
#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "collection/OpenWhileReading.h"
#include "collection/PlaceSlots.h"
#include "collection/ReadEveryGame.h"
#include "core/Fen.h"
#include "openings/CollectionStatsBuild.h"
#include "openings/EcoDatabase.h"
#include "openings/ExplorerPlaces.h"
#include "openings/ExplorerRows.h"
#include "openings/GamePositions.h"
#include "openings/StatsBuilder.h"

namespace varnock::cli {

namespace {

std::optional<int> PliesOf(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 1000) return std::nullopt;
  return value;
}

// True when the path names nothing yet or a regular file.
bool UsableOutput(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

}  // namespace

// explorer-build OUT.db FILE... [--mainline-only] [--plies N]: the games of
// every file, read on every core, counted into one statistics file.
int CommandExplorerBuild(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false;
  PositionWalk walk;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--mainline-only") {
      walk.mainLineOnly = true;
    } else if (arg == "--plies") {
      const std::optional<int> plies = i + 1 < args.size() ? PliesOf(args[++i]) : std::nullopt;
      if (!plies) return UsageError("explorer-build: --plies takes a number from 1 to 1000");
      walk.plies = *plies;
    } else if (arg.starts_with("--")) {
      return UsageError("explorer-build: unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() < 2) return UsageError("explorer-build takes the output file and at least one game file");
  const std::string& output = positional[0];
  if (!UsableOutput(output)) return UsageError("explorer-build: " + output + " is not a regular file");

  StatsBuilder builder;
  bool problems = false;
  std::size_t unfinished = 0;
  for (std::size_t f = 1; f < positional.size(); ++f) {
    OpenCollection& open = OpenCollection::ForThisProcess(yes);
    Collection& collection = open.collection;
    // Each game's facts are gathered on the reading threads and counted on
    // this one, in game order, once the game's result is known.
    PlaceSlots<std::vector<std::uint64_t>> slots;
    const bool opened = OpenWhileReading(
        collection, DefaultReadThreads(), [&] { return open.Open(positional[f]); },
        [&](std::size_t place, GameTree& tree) {
          std::vector<std::uint64_t> facts;
          CollectGamePositions(tree, walk, facts);
          slots.Set(place, std::move(facts));
        },
        [&](std::size_t place) {
          const std::vector<std::uint64_t> facts = slots.Take(place);
          const auto outcome = OutcomeOfResult(collection.Game(place).header.Get(HeaderField::Result));
          if (!outcome) {
            ++unfinished;
            return;
          }
          builder.AddGame(facts, *outcome);
        });
    if (!opened) return 2;
    problems = problems || !collection.errors.Empty();
  }

  ConsolePrompt prompt(false);
  const std::optional<std::size_t> written = WriteExplorerDatabase(output, builder, prompt);
  if (!written) return 3;
  if (unfinished > 0) std::cerr << "explorer-build: " << unfinished << " games without a result were left out\n";
  std::cout << "games " << builder.Games() << " positions " << builder.Positions() << " bytes " << *written << '\n';
  return problems ? 1 : 0;
}

// explore FEN [--db FILE]: the explorer's title and rows for the position.
int CommandExplore(const Args& args) {
  std::vector<std::string> positional;
  std::string database;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--db") {
      if (i + 1 >= args.size()) return UsageError("explore: --db takes a file");
      database = args[++i];
    } else if (args[i].starts_with("--")) {
      return UsageError("explore: unknown option " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return UsageError("explore takes one FEN text (quote it)");
  FENExtras extras;
  const FenCheck check = ParseFEN(positional[0], extras);
  if (check.rejected) return UsageError("explore: the FEN is rejected: " + check.message);

  ConsolePrompt prompt(false);
  if (database.empty()) database = ExplorerDatabasePath();
  const std::optional<ExplorerStats> stats = LoadExplorerStats(database, prompt);
  if (!stats) return 2;
  EcoDatabase eco;
  ExplorerEcoIndex index;
  eco.Start(prompt);
  StartExplorerECODatabase(index, prompt);

  ExplorerSources sources;
  sources.stats = &*stats;
  sources.index = &index;
  sources.table = eco.Table();
  sources.initials = RunSettings().settings.pieceInitials;
  const ExplorerView view = ExplorerViewOf(extras.board, extras.sideToMove, sources);
  std::cout << view.title << '\n';
  for (const ExplorerCells& cells : view.lines) {
    for (std::size_t i = 0; i < cells.size(); ++i) std::cout << (i ? "\t" : "") << cells[i];
    std::cout << '\n';
  }
  return check.ok ? 0 : 1;
}

}  // namespace varnock::cli
