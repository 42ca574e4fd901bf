#include <charconv>
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "collection/OpenWhileReading.h"
#include "collection/PlaceSlots.h"
#include "collection/ReadEveryGame.h"
#include "tree/TreeOrder.h"

namespace varnock::cli {

namespace {

struct GameCounts {
  long long mainline = 0;
  long long nodes = 0;
};

GameCounts CountGame(GameTree& tree) {
  const MoveCounts counts = CountMoves(tree);
  return {static_cast<long long>(counts.mainLine), static_cast<long long>(counts.all)};
}

// The value of --threads: a whole number from 1 to 256.
std::optional<unsigned> ThreadCount(const std::string& text) {
  unsigned value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 256) return std::nullopt;
  return value;
}

}  // namespace

// check FILE: opens the collection and reads the moves of every game.
int CommandCheck(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false, perGame = false, listErrors = false;
  unsigned threads = DefaultReadThreads();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--per-game") {
      perGame = true;
    } else if (arg == "--errors") {
      listErrors = true;
    } else if (arg == "--threads") {
      const std::optional<unsigned> count = i + 1 < args.size() ? ThreadCount(args[++i]) : std::nullopt;
      if (!count) return UsageError("check: --threads takes a number from 1 to 256");
      threads = *count;
    } else if (arg.starts_with("--")) {
      return UsageError("check: unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return UsageError("check takes one file");
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  Collection& collection = open.collection;

  // The games are read on several threads, while the file is opened; each
  // thread counts into the game's own slot, and the lines are written in
  // game order.
  PlaceSlots<GameCounts> slots;
  long long nodes = 0, mainline = 0;
  const bool opened = OpenWhileReading(
      collection, threads, [&] { return open.Open(positional[0]); },
      [&slots](std::size_t place, GameTree& tree) { slots.Set(place, CountGame(tree)); },
      [&](std::size_t place) {
        const GameCounts counts = slots.Take(place);
        nodes += counts.nodes;
        mainline += counts.mainline;
        if (!perGame) return;
        const bool reported = collection.errors.GameNumbers().count(static_cast<int>(place + 1)) > 0;
        std::cout << place + 1 << '\t' << counts.mainline << '\t' << counts.nodes << '\t' << (reported ? 1 : 0) << '\n';
      });
  if (!opened) return 2;
  const std::size_t errorGames = collection.errors.GameNumbers().size();
  std::cout << "games " << collection.Count() << " nodes " << nodes << " mainline " << mainline << " errors "
            << errorGames << '\n';
  if (listErrors && !collection.errors.Empty()) std::cout << collection.errors.Joined() << '\n';
  return open.ProblemsReported() ? 1 : 0;
}

}  // namespace varnock::cli
