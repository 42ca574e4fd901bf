// What the explorer's window relies on below it: playing a listed move, the
// watcher thread, and counting an open collection into a database.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "core/Fen.h"
#include "openings/CollectionStatsBuild.h"
#include "openings/CompressedContainer.h"
#include "openings/ExplorerMovePlay.h"
#include "openings/ExplorerWatcher.h"
#include "openings/PositionKey.h"
#include "support/CliRunner.h"
#include "support/CollectionTesting.h"
#include "support/Corpus.h"
#include "support/TreeTesting.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

TEST(ExplorerUse, PlayingARowTakesItsSquaresOnTheBoardAsShown) {
  const std::string kBlackRefusal = "'d2-d4'\r\n\r\nInvalid piece selection.\r\nIt is Black to move.";
  struct Case {
    const char* name;
    const char* fen;  // nullptr: the standard start
    const char* moves;
    int at;  // plies from the start to the shown position
    bool flipped;
    const char* square[2];
    int pick;  // the promotion answer, -1 to cancel, -2 for no question
    EntryOutcome outcome;
    const char* caption;  // the report, or nullptr for none
    std::string text;
    std::uint8_t on;  // what the to square holds after an entered move
  } cases[] = {
      {"plain", nullptr, "", 0, false, {"e2", "e4"}, -2, EntryOutcome::Added, nullptr, "", kWhite | kPawn},
      {"reversed", nullptr, "", 0, true, {"e2", "e4"}, -2, EntryOutcome::Added, nullptr, "", kWhite | kPawn},
      {"in the game",
       nullptr,
       "e2e4 e7e5",
       0,
       false,
       {"e2", "e4"},
       -2,
       EntryOutcome::Followed,
       nullptr,
       "",
       kWhite | kPawn},
      {"other side",
       nullptr,
       "e2e4",
       1,
       false,
       {"d2", "d4"},
       -2,
       EntryOutcome::Refused,
       kExplorerMoveCaption,
       kBlackRefusal,
       0},
      {"other side, reversed",
       nullptr,
       "e2e4",
       1,
       true,
       {"d2", "d4"},
       -2,
       EntryOutcome::Refused,
       kExplorerMoveCaption,
       kBlackRefusal,
       0},
      {"empty square",
       nullptr,
       "",
       0,
       false,
       {"e4", "e5"},
       -2,
       EntryOutcome::Refused,
       kExplorerMoveCaption,
       "'d2-d4'\r\n\r\nInvalid piece selection.\r\nIt is White to move.",
       0},
      {"illegal", nullptr, "", 0, false, {"e2", "e5"}, -2, EntryOutcome::Refused, kMoveEntryCaption, "", 0},
      {"promotion",
       "4k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       "",
       0,
       false,
       {"a7", "a8"},
       1,
       EntryOutcome::Added,
       nullptr,
       "",
       kWhite | kKnight},
      {"promotion, reversed",
       "4k3/8/8/8/8/8/p7/4K3 b - - 0 1",
       "",
       0,
       true,
       {"a2", "a1"},
       0,
       EntryOutcome::Added,
       nullptr,
       "",
       kBlack | kQueen},
      {"promotion abandoned",
       "4k3/P7/8/8/8/8/8/4K3 w - - 0 1",
       "",
       0,
       false,
       {"a7", "a8"},
       -1,
       EntryOutcome::Refused,
       nullptr,
       "",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NodeStore store;
    GameTree game{store};
    if (c.fen) {
      FENExtras position;
      ASSERT_FALSE(ParseFEN(c.fen, position).rejected);
      ComposeRoot(game, position);
    }
    ASSERT_TRUE(testing::Play(game, c.moves));
    GoToRoot(game);
    GoForward(game, c.at);
    game.boardFlipped = c.flipped;
    ScriptedPrompt prompt;
    if (c.pick >= 0) prompt.Pick(c.pick);
    if (c.pick == -1) prompt.CancelPick();
    SExplorerMove row;
    row.moveText = "d2-d4";
    row.from = testing::Square(c.square[0]);
    row.to = testing::Square(c.square[1]);
    const NodeRef before = game.current;
    EXPECT_EQ(PlayExplorerMove(game, row, prompt), c.outcome);
    EXPECT_TRUE(prompt.AllAnswersUsed());
    std::vector<ScriptedPrompt::Record> reports;
    for (const auto& record : prompt.Records())
      if (record.kind == ScriptedPrompt::Kind::Inform) reports.push_back(record);
    ASSERT_EQ(reports.size(), c.caption ? 1u : 0u);
    if (c.caption) {
      EXPECT_EQ(reports[0].caption, c.caption);
      EXPECT_EQ(reports[0].text, c.text.empty() ? game.statusText : c.text);
    }
    if (c.outcome == EntryOutcome::Refused) {
      EXPECT_EQ(game.current, before);
      continue;
    }
    const MoveNode& node = game.Node(game.current);
    EXPECT_EQ(node.From(), row.from);
    EXPECT_EQ(node.To(), row.to);
    EXPECT_EQ(game.board[static_cast<std::size_t>(row.to)], c.on);
  }
}

TEST(ExplorerUse, TheWatcherTellsOfEveryNewPlace) {
  ExplorerWatcher watcher;
  // One look at a time, without the thread: the first look always tells.
  struct Step {
    std::uint32_t game, node;
    bool publish, changed;
  } steps[] = {{0, 0, false, true}, {0, 0, false, false}, {0, 5, true, true}, {0, 5, true, false},
               {5, 0, true, true},  {0, 5, true, true},   {0, 6, true, true}, {0, 6, false, false}};
  for (const Step& step : steps) {
    if (step.publish) watcher.Publish(step.game, step.node);
    EXPECT_EQ(watcher.Changed(), step.changed) << step.game << " " << step.node;
  }

  // The thread: it tells once at its start and once for each new place;
  // a second launch is refused while it runs; it stops and starts again.
  std::mutex mutex;
  std::condition_variable told;
  int notices = 0;
  const auto notify = [&] {
    std::lock_guard lock(mutex);
    ++notices;
    told.notify_all();
  };
  const auto waitFor = [&](int count) {
    std::unique_lock lock(mutex);
    return told.wait_for(lock, std::chrono::seconds(20), [&] { return notices >= count; });
  };
  ScriptedPrompt prompt;
  ASSERT_TRUE(watcher.Launch(notify, prompt));
  ASSERT_TRUE(waitFor(1));
  EXPECT_FALSE(watcher.Launch(notify, prompt));
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "CmExplorerLaunch()");
  EXPECT_EQ(prompt.Last().text, "An explorer thread is already running");
  watcher.Publish(3, 9);
  ASSERT_TRUE(waitFor(2));
  watcher.Stop();
  EXPECT_FALSE(watcher.Running());
  {
    std::lock_guard lock(mutex);
    EXPECT_EQ(notices, 2);
  }
  ASSERT_TRUE(watcher.Launch(notify, prompt));
  ASSERT_TRUE(waitFor(3));
  watcher.Stop();
  EXPECT_EQ(prompt.Records().size(), 1u);
}

// Counting an open collection gives the file explorer-build writes for the
// same games; an edited game counts as it is now.
TEST(ExplorerUse, ACollectionBuildsWhatExplorerBuildWrites) {
  const std::filesystem::path corpus = std::string(VARNOCK_SHARED_DIR) + "/corpus";
  for (const char* name : {"big/hlotze/tatamast22.pgn.xz", "annotated/mliebelt/semicomm.pgn.xz"}) {
    SCOPED_TRACE(name);
    const std::string text = testing::ReadCorpusFile(corpus / name);
    if (text.empty()) GTEST_SKIP() << "no corpus";
    testing::CollectionUnderTest open;
    open.prompt.DeclineUnscripted();
    ASSERT_TRUE(open.LoadText("games.pgn", text));
    const std::string file = open.folder / "games.pgn";
    const std::string built = open.folder / "Explorer/Varnock.db";
    const std::string expected = open.folder / "expected.db";

    CollectionStatsBuild build(open.collection);
    std::size_t steps = 1;
    while (build.Step()) ++steps;
    EXPECT_EQ(build.GamesDone(), open.collection.Count());
    EXPECT_EQ(steps, (open.collection.Count() + kChunkGames - 1) / kChunkGames);
    ASSERT_TRUE(WriteExplorerDatabase(built, build.Builder(), open.prompt));
    const testing::CliRun cli = testing::RunCli({"explorer-build", expected, file});
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_EQ(testing::ReadFile(built), testing::ReadFile(expected));
    EXPECT_NE(cli.out.find("games " + std::to_string(build.Builder().Games()) + " "), std::string::npos) << cli.out;

    // 1.a3, played from the start of a game with a result, now counts.
    const auto statsOf = [](const StatsBuilder& builder) {
      std::vector<std::uint8_t> data;
      std::uint64_t wanted = 0;
      EXPECT_EQ(InflateContainer(DeflateContainer(builder.TreeBytes()), data, wanted), InflateResult::kOk);
      return ExplorerStats(std::move(data));
    };
    BoardSquares afterA3 = StartBoard;
    afterA3[static_cast<std::size_t>(testing::Square("a3"))] = afterA3[testing::Square("a2")];
    afterA3[static_cast<std::size_t>(testing::Square("a2"))] = 0;
    const std::uint32_t a3Key = PositionKey(afterA3, kBlack);
    ASSERT_FALSE(statsOf(build.Builder()).Record(a3Key));
    // A game past the first, whose moves were not read at the load.
    std::size_t place = open.collection.Count() / 2;
    while (!OutcomeOfResult(open.collection.Game(place).header.Get(HeaderField::Result))) ++place;
    open.collection.SelectGame(place, false);
    GameTree& tree = open.collection.CurrentGame().Tree();
    GoToRoot(tree);
    ASSERT_EQ(PlayMove(tree, testing::Square("a2"), testing::Square("a3"), open.prompt), EntryOutcome::Added);
    CollectionStatsBuild again(open.collection);
    while (again.Step()) {
    }
    const std::optional<StatsRecord> record = statsOf(again.Builder()).Record(a3Key);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Total(), 1u);
    EXPECT_EQ(again.Builder().Games(), build.Builder().Games());
  }
}

TEST(ExplorerUse, AFailedWriteIsReportedAndLeavesNothing) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "plain", "not a folder");
  StatsBuilder builder;
  ScriptedPrompt prompt;
  const std::string path = folder / "plain/Explorer/Varnock.db";
  EXPECT_FALSE(WriteExplorerDatabase(path, builder, prompt));
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, kExplorerBuildCaption);
  EXPECT_EQ(prompt.Last().text.rfind("'" + folder / "plain/Explorer" + "'\n", 0), 0u) << prompt.Last().text;
  EXPECT_NE(prompt.Last().text.find("\nError Code is "), std::string::npos);
  EXPECT_EQ(testing::ReadFile(folder / "plain"), "not a folder");
}

}  // namespace
}  // namespace varnock
