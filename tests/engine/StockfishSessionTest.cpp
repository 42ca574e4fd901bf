// A real engine following a game: lines arrive for each position the game
// shows, and a listed line's first move can be played into the game.
#include <gtest/gtest.h>
#include <unistd.h>

#include "EngineTesting.h"
#include "engine/AnalysisCommands.h"
#include "engine/BlockingEventQueue.h"
#include "support/GameBuilder.h"
#include "support/ScriptedPrompt.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using namespace std::chrono_literals;

TEST(StockfishSession, FollowsTheGameAndPlaysAListedLine) {
  const char* stockfish = "/usr/games/stockfish";
  if (access(stockfish, X_OK) != 0) GTEST_SKIP() << "Stockfish is not installed (scripts/install-deps.sh)";
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef c5 = builder.Play("c7c5");
  GoToNode(game, e4);

  BlockingEventQueue events;
  testing::ScriptedPrompt prompt;
  AnalysisSettings settings;
  settings.enginePath = stockfish;
  settings.lines = 3;
  settings.hashMegabytes = 16;
  AnalysisModel model(events, prompt, settings, AnalysisModel::kFollowGame);
  events.SetHandler([&](const EngineEvent& event) { model.HandleEvent(event); });
  auto pumpUntil = [&](const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!condition() && std::chrono::steady_clock::now() < end) events.Pump(10ms);
    return condition();
  };
  auto linesShown = [&] {
    const auto& rows = model.Display().rows;
    return rows.size() == 3 && std::all_of(rows.begin(), rows.end(), [](const AnalysisRow& row) {
             return !row.moves.empty() && std::atoi(row.depth.c_str()) >= 6;
           });
  };

  model.Follow(PositionOfGame(game));
  model.Start();
  ASSERT_TRUE(pumpUntil(linesShown));
  EXPECT_EQ(model.Display().title, " Stockfish 15.1");
  EXPECT_NE(model.Display().currentMove.find("e4"), std::string::npos);

  GoToNode(game, c5);
  model.Follow(PositionOfGame(game));
  ASSERT_TRUE(pumpUntil([&] { return model.Display().currentMove.find("c5") != std::string::npos; }));
  ASSERT_TRUE(pumpUntil(linesShown));
  ASSERT_TRUE(model.RowsPlayable());
  const SUCISequence* line = model.SequenceOfRow(0);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->position, (PositionKey{c5, game.gameId}));
  EXPECT_EQ(CmAddSequence(game, *line, prompt), EntryOutcome::Added);
  EXPECT_EQ(store.Node(game.current).parent, c5);
  EXPECT_TRUE(prompt.Records().empty());

  model.Close();
  EXPECT_TRUE(testing::ChildProcesses().empty());
}

}  // namespace
}  // namespace varnock
