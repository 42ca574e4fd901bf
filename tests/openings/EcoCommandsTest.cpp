// The bulk commands through a collection of games read from PGN text.
#include <gtest/gtest.h>

#include "EcoTesting.h"
#include "formats/PgnReader.h"
#include "openings/EcoCommands.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

// Games scanned from a text (headers only), loaded on demand, as the
// collection does.
class ScannedCollection : public EcoCollection {
 public:
  explicit ScannedCollection(std::string pgn) : text_(std::move(pgn)) {
    PgnReadContext ctx = Context();
    for (;;) {
      auto game = std::make_unique<SGridFrame>(store_);
      const std::size_t start = ctx.cursor;
      if (!Do_FilePGN(*game, ReadMode::Scan, ctx)) break;
      game->textOffset = start;
      game->loaded = false;
      game->stateFlags = kFromFileText;
      games_.push_back(std::move(game));
    }
  }

  int GameCount() const override { return static_cast<int>(games_.size()); }
  SGridFrame& Game(int index) override { return *games_.at(static_cast<std::size_t>(index)); }
  void EnsureLoaded(SGridFrame& game) override {
    if (game.loaded) return;
    PgnReadContext ctx = Context();
    ctx.cursor = static_cast<std::size_t>(game.textOffset);
    Do_FilePGN(game, ReadMode::Reread, ctx);
    game.loaded = true;
    ++loads;
  }
  void ShowLoadErrors() override { ++errorShows; }
  void MarkModified() override { modified = true; }
  void RepaintList() override { ++repaints; }
  void Progress(int done, int total) override { lastProgress = {done, total}; }

  int loads = 0, errorShows = 0, repaints = 0;
  bool modified = false;
  std::pair<int, int> lastProgress{0, 0};

 private:
  PgnReadContext Context() {
    PgnReadContext ctx;
    ctx.text = text_;
    ctx.errors = &errors_;
    return ctx;
  }
  std::string text_;
  NodeStore store_;
  SErrorList errors_;
  std::vector<std::unique_ptr<SGridFrame>> games_;
};

constexpr const char* kThreeGames =
    "[White \"A\"]\n\n1.e4 e5 2.Nf3 Nc6 3.Bb5 *\n\n"
    "[White \"B\"]\n[ECO \"A40\"]\n[Opening \"Polish Defense\"]\n\n1.d4 b5 *\n\n"
    "[White \"C\"]\n\n1.Nf3 d5 2.d4 *\n";

TEST(EcoCommands, FetchAllAsksLoadsAndReports) {
  EcoDatabase& database = testing::BuiltInDatabase();
  {
    ScannedCollection collection(kThreeGames);
    ScriptedPrompt prompt;
    prompt.No();
    EXPECT_EQ(CmFetchAllECO(collection, database, EcoMethod::MoveOrder, prompt), 0);
    EXPECT_EQ(prompt.Last().kind, ScriptedPrompt::Kind::OkCancel);
    EXPECT_EQ(prompt.Last().caption, "FrameWin::CmFetchAllECO()");
    EXPECT_EQ(prompt.Last().text,
              "3 games in the collection have not yet been loaded from the rollback segment.  All will need to be "
              "loaded so that ECO classifications can be obtained.\r\n\r\nLoad all 3 games?");
    EXPECT_EQ(collection.loads, 0);
  }
  ScannedCollection collection(kThreeGames);
  ScriptedPrompt prompt;
  prompt.Yes();
  EXPECT_EQ(CmFetchAllECO(collection, database, EcoMethod::Transposition, prompt), 2);
  EXPECT_EQ(collection.loads, 3);
  EXPECT_EQ(collection.lastProgress, std::make_pair(3, 3));
  EXPECT_EQ(collection.errorShows, 1);
  EXPECT_TRUE(collection.modified);
  EXPECT_EQ(collection.Game(0).header.Get(HeaderField::ECO), "C60");
  EXPECT_EQ(collection.Game(2).header.Get(HeaderField::ECO), "D02");
  EXPECT_EQ(collection.Game(1).stateFlags, kFromFileText);
  ASSERT_EQ(prompt.Records().size(), 2u);  // the question and the summary only
  EXPECT_EQ(prompt.Last().text, "ECO classifications for 2 games were fetched\r\n\r\nUnchanged: 1 game");

  // Everything loaded and classified already: no question.
  ScriptedPrompt again;
  collection.modified = false;
  EXPECT_EQ(CmFetchAllECO(collection, database, EcoMethod::Transposition, again), 0);
  EXPECT_FALSE(collection.modified);
  EXPECT_EQ(again.Last().text, "Unchanged ECO classifications.  3 games");
  // Move order changes one game back to the line of its own moves.
  EXPECT_EQ(CmFetchAllECO(collection, database, EcoMethod::MoveOrder, again), 1);
  EXPECT_EQ(again.Last().text, "ECO classification for one game was fetched\r\n\r\nUnchanged: 2 games");
}

TEST(EcoCommands, FetchAllOnOneGameShowsTheGameToo) {
  ScannedCollection collection("1.d4 b5 *\n");
  collection.EnsureLoaded(collection.Game(0));
  ScriptedPrompt prompt;
  EXPECT_EQ(CmFetchAllECO(collection, testing::BuiltInDatabase(), EcoMethod::MoveOrder, prompt), 1);
  ASSERT_EQ(prompt.Records().size(), 2u);
  EXPECT_EQ(prompt.Records()[0].text, "A40\nPolish Defense\n\nd2d4b7b5\nMoves = 2");
  EXPECT_EQ(prompt.Records()[1].text, "ECO classification for one game was fetched\r\n\r\nUnchanged: 0 games");
}

TEST(EcoCommands, ManyUnloadedGamesWarnOfTheTime) {
  std::string text;
  for (int i = 0; i < 10001; ++i) text += "[White \"X\"]\n\n*\n\n";
  ScannedCollection collection(text);
  ASSERT_EQ(collection.GameCount(), 10001);
  ScriptedPrompt prompt;
  prompt.No();
  CmFetchAllECO(collection, testing::BuiltInDatabase(), EcoMethod::MoveOrder, prompt);
  EXPECT_TRUE(prompt.Last().text.ends_with("Load all 10001 games?\r\n\r\n( This may take some time. )"));
}

TEST(EcoCommands, FoldersClassifiesTheSelection) {
  EcoDatabase& database = testing::BuiltInDatabase();
  ScannedCollection collection(kThreeGames);
  ScriptedPrompt prompt;
  EXPECT_EQ(CmFoldersECO(collection, {}, database, EcoMethod::MoveOrder, prompt), 0);
  EXPECT_TRUE(prompt.Records().empty());

  // Two items, shown in another order than the collection's.
  const std::vector<SelectedGame> two = {{0, &collection.Game(2)}, {4, &collection.Game(1)}};
  EXPECT_EQ(CmFoldersECO(collection, two, database, EcoMethod::MoveOrder, prompt), 1);
  EXPECT_EQ(collection.loads, 2);
  EXPECT_EQ(collection.repaints, 1);
  EXPECT_TRUE(collection.modified);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "SListCtrl::CmFoldersECO()");
  EXPECT_EQ(prompt.Last().text,
            "ECO classifications for 1 game was fetched\r\n\r\nUnchanged: 1 game\r\n\r\n"
            "2 games were loaded from the rollback segment.");
  EXPECT_EQ(CmFoldersECO(collection, two, database, EcoMethod::MoveOrder, prompt), 0);
  EXPECT_EQ(prompt.Last().text, "Unchanged ECO classifications.  2 games");

  // One item: only the game's own message, numbered by its list place.
  EcoDatabase amar = testing::DatabaseOf("A00\tg1h3\tAmar Opening\n");
  const std::vector<SelectedGame> one = {{6, &collection.Game(0)}};
  EXPECT_EQ(CmFoldersECO(collection, one, amar, EcoMethod::MoveOrder, prompt), 0);
  EXPECT_EQ(prompt.Last().caption, "SGridFrame::FetchECO()");
  EXPECT_EQ(prompt.Last().text, "Opening classification could not be found\n\nGame number = 7\nPlayers = 'A'/''");
}

TEST(EcoCommands, NoDatabaseClassifiesNothing) {
  ScannedCollection collection(kThreeGames);
  EcoDatabase missing;
  ScriptedPrompt prompt;
  ASSERT_FALSE(missing.Start(nullptr, prompt));
  const std::vector<SelectedGame> two = {{0, &collection.Game(0)}, {1, &collection.Game(1)}};
  EXPECT_EQ(CmFoldersECO(collection, two, missing, EcoMethod::MoveOrder, prompt), 0);
  EXPECT_EQ(collection.loads, 0);
  EXPECT_EQ(prompt.Last().text, "Unchanged ECO classifications.  2 games");
}

}  // namespace
}  // namespace varnock
