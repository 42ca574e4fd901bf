#include "GameReads.h"

#include <gtest/gtest.h>

#include "formats/EchMoveWriter.h"
#include "tree/TreeOrder.h"

namespace varnock::testing {

GameRead Describe(GameTree& tree) {
  GameRead read;
  read.nodes = static_cast<long long>(MoveCount(tree));
  WriteEchMoves(tree, read.moves);
  return read;
}

std::vector<std::string> Told(const ScriptedPrompt& prompt, std::size_t from) {
  std::vector<std::string> told;
  for (std::size_t i = from; i < prompt.Records().size(); ++i) {
    const ScriptedPrompt::Record& record = prompt.Records()[i];
    told.push_back(std::to_string(static_cast<int>(record.kind)) + "|" + record.caption + "|" + record.text);
  }
  return told;
}

void Finish(CollectionUnderTest& t, std::size_t toldBefore, ReadOutcome& outcome) {
  outcome.reports = t.collection.errors.Messages();
  outcome.reportedGames = t.collection.errors.GameNumbers();
  outcome.told = Told(t.prompt, toldBefore);
}

ReadOutcome ReadOneByOne(CollectionUnderTest& t) {
  Collection& c = t.collection;
  const std::size_t toldBefore = t.prompt.Records().size();
  ReadOutcome outcome;
  for (std::size_t i = 0; i < c.Count(); ++i) {
    SGridFrame& game = c.Game(i);
    const bool wasLoaded = game.loaded;
    c.EnsureLoaded(game);
    outcome.games.push_back(Describe(game.Tree()));
    outcome.games.back().reported = c.errors.GameNumbers().count(static_cast<int>(i + 1)) > 0;
    if (!wasLoaded && &game != &c.CurrentGame()) {
      game.DropTree();
      game.loaded = false;
    }
  }
  Finish(t, toldBefore, outcome);
  return outcome;
}

void ExpectSame(const ReadOutcome& expected, const ReadOutcome& actual) {
  ASSERT_EQ(actual.games.size(), expected.games.size());
  for (std::size_t i = 0; i < expected.games.size(); ++i)
    if (!(actual.games[i] == expected.games[i])) {
      ADD_FAILURE() << "game " << i + 1 << ": nodes " << actual.games[i].nodes << " for " << expected.games[i].nodes
                    << ", reported " << actual.games[i].reported << " for " << expected.games[i].reported;
      break;
    }
  EXPECT_EQ(actual.reports, expected.reports);
  EXPECT_EQ(actual.reportedGames, expected.reportedGames);
  EXPECT_EQ(actual.told, expected.told);
}

std::string AsEch(const std::string& pgn) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  if (!t.LoadText("games.pgn", pgn)) return {};
  std::string ech;
  t.files.Save_File(ech, false, kFileEch, false);
  return ech;
}

void ExpectAsPgnAndAsEch(const std::string& pgn,
                         const std::function<void(const char* name, const std::string& text)>& expect) {
  {
    SCOPED_TRACE("PGN");
    expect("games.pgn", pgn);
  }
  SCOPED_TRACE("ECH");
  const std::string ech = AsEch(pgn);
  ASSERT_FALSE(ech.empty());
  expect("games.ech", ech);
}

std::string GamesWithFaults() {
  std::string text;
  for (int i = 1; i <= 300; ++i) {
    text += "[Event \"E" + std::to_string(i) + "\"]\n[White \"W\"]\n[Black \"B\"]\n\n";
    switch (i % 100) {
      case 2:
      case 5:
        text += "1. e4 e5 2. Nf3 Ke3 3. Bb5 *\n\n";
        break;
      case 3:
        text += "1. d4 (1. e4 e5 (1... c5 2. Nf3 d5 *\n\n";
        break;
      default:
        text += "1. d4 d5 (1... Nf6 2. c4) 2. c4 e6 *\n\n";
    }
  }
  return text;
}

std::string EchGamesWithFaults() {
  std::string text;
  for (int i = 1; i <= 300; ++i) {
    const bool faulty = i % 100 == 2 || i % 100 == 5;
    text += "(\r\nGM[Chess]\r\nEV[E" + std::to_string(i) + "]\r\n\r\nW[e2e4] B[e7e5] " +
            (faulty ? "W[k9z9]" : "W[g1f3]") + "\r\nXP[]\r\nXV[]\r\n)\r\n\r\n";
  }
  return text;
}

}  // namespace varnock::testing
