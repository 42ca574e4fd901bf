#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

namespace {

struct GameCounts {
  long long mainline = 0;
  long long nodes = 0;
};

GameCounts CountGame(GameTree& tree) {
  GameCounts counts;
  for (NodeRef at = tree.Node(tree.root).next; at != kNoNode; at = tree.Node(at).next) ++counts.mainline;
  // Every node but the root, through an explicit stack of line starts.
  std::vector<NodeRef> pending{tree.root};
  NodeStore& store = tree.Store();
  while (!pending.empty()) {
    NodeRef at = pending.back();
    pending.pop_back();
    for (; at != kNoNode; at = tree.Node(at).next) {
      if (at != tree.root) ++counts.nodes;
      if (!tree.Node(at).Has(kFlagBranch)) continue;
      if (const auto* lines = store.Alternatives(at))
        for (const SBranchDetails* line : *lines)
          if (line->first != kNoNode) pending.push_back(line->first);
    }
  }
  return counts;
}

}  // namespace

// check FILE: opens the collection, then reads the moves of every game.
int CommandCheck(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false, perGame = false, listErrors = false;
  for (const std::string& arg : args) {
    if (arg == "--yes")
      yes = true;
    else if (arg == "--per-game")
      perGame = true;
    else if (arg == "--errors")
      listErrors = true;
    else if (arg.starts_with("--"))
      return UsageError("check: unknown option " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 1) return UsageError("check takes one file");
  OpenCollection open(yes);
  if (!open.Open(positional[0])) return 2;
  Collection& collection = open.collection;

  long long nodes = 0, mainline = 0;
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    SGridFrame& game = collection.Game(i);
    const bool wasLoaded = game.loaded;
    collection.EnsureLoaded(game);
    const GameCounts counts = CountGame(game.Tree());
    nodes += counts.nodes;
    mainline += counts.mainline;
    if (perGame) {
      const bool reported = collection.errors.GameNumbers().count(static_cast<int>(i + 1)) > 0;
      std::cout << i + 1 << '\t' << counts.mainline << '\t' << counts.nodes << '\t' << (reported ? 1 : 0) << '\n';
    }
    // A game read only to be counted is let go again, so that a file of any
    // size is checked in the memory of its text.
    if (!wasLoaded && &game != &collection.CurrentGame()) {
      game.DropTree();
      game.loaded = false;
      if (i % 1024 == 0) collection.ReleaseEmptySegments();
    }
  }
  const std::size_t errorGames = collection.errors.GameNumbers().size();
  std::cout << "games " << collection.Count() << " nodes " << nodes << " mainline " << mainline << " errors "
            << errorGames << '\n';
  if (listErrors && !collection.errors.Empty()) std::cout << collection.errors.Joined() << '\n';
  return collection.errors.Empty() ? 0 : 1;
}

}  // namespace varnock::cli
