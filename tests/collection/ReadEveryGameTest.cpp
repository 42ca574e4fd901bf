// Reading every game on several threads leaves what reading the games one
// after another leaves: the same trees, reports, game numbers and messages,
// in game order.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "CollectionTesting.h"
#include "collection/ReadEveryGame.h"
#include "formats/EchMoveWriter.h"
#include "support/Corpus.h"
#include "tree/TreeOrder.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ScriptedPrompt;

// What a read leaves of one game: its nodes (the root not counted) and its
// moves, comments and marks as ECH writes them.
struct GameRead {
  long long nodes = -1;
  std::string moves;
  bool reported = false;
  bool operator==(const GameRead&) const = default;
};

struct ReadOutcome {
  std::vector<GameRead> games;
  std::vector<std::string> reports;
  std::set<int> reportedGames;
  std::vector<std::string> told;  // what the prompt was told while the games were read
};

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

// The one-thread read: EnsureLoaded game after game, each tree let go again.
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

ReadOutcome ReadInParallel(CollectionUnderTest& t, unsigned threads) {
  Collection& c = t.collection;
  const std::size_t toldBefore = t.prompt.Records().size();
  const std::size_t unloaded = c.CountUnloaded(), liveNodes = c.Store().LiveNodes();
  ReadOutcome outcome;
  outcome.games.resize(c.Count());
  std::vector<int> visits(c.Count());
  std::size_t nextDone = 0;
  ReadEveryGame(
      c, threads,
      [&](std::size_t place, GameTree& tree) {
        ++visits[place];
        const bool reported = outcome.games[place].reported;
        outcome.games[place] = Describe(tree);
        outcome.games[place].reported = reported;
      },
      [&](std::size_t place) {
        EXPECT_EQ(place, nextDone++);
        EXPECT_EQ(visits[place], 1) << "game " << place + 1;
        outcome.games[place].reported = c.errors.GameNumbers().count(static_cast<int>(place + 1)) > 0;
      });
  EXPECT_EQ(nextDone, c.Count());
  // The collection's games are left as they were.
  EXPECT_EQ(c.CountUnloaded(), unloaded);
  EXPECT_EQ(c.Store().LiveNodes(), liveNodes);
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

// Loads the file once for the one-thread read and again for each thread
// count, and compares what the reads leave.
void ExpectParallelReadsAgree(const std::string& name, const std::string& text) {
  CollectionUnderTest one;
  one.prompt.DeclineUnscripted();  // reports, if any, are not viewed
  ASSERT_TRUE(one.LoadText(name, text));
  const ReadOutcome expected = ReadOneByOne(one);
  for (unsigned threads : {1u, 2u, 4u}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    CollectionUnderTest t;
    t.prompt.DeclineUnscripted();
    ASSERT_TRUE(t.files.ReLoad(one.folder / name));  // the file's name heads the error list
    ExpectSame(expected, ReadInParallel(t, threads));
  }
}

// The same games as ECH, written by the collection's own save.
std::string AsEch(const std::string& pgn) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  if (!t.LoadText("games.pgn", pgn)) return {};
  std::string ech;
  t.files.Save_File(ech, false, kFileEch, false);
  return ech;
}

TEST(ReadEveryGame, AgreesWithTheOneThreadReadOverTheCorpus) {
  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  if (files.empty()) GTEST_SKIP() << "no corpus";
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    ExpectParallelReadsAgree("games.pgn", testing::ReadCorpusFile(path));
  }
}

TEST(ReadEveryGame, AgreesOnTheSmallCorpusFilesTogetherAsPgnAndAsEch) {
  // The small files hold too few games each to be shared out; together they
  // make several chunks of set-ups, variations, odd moves and reports.
  const auto files = testing::CorpusFiles({"annotated", "odd"});
  if (files.empty()) GTEST_SKIP() << "no corpus";
  std::string text;
  for (const auto& path : files) text += testing::ReadCorpusFile(path) + "\n\n";
  {
    SCOPED_TRACE("PGN");
    ExpectParallelReadsAgree("games.pgn", text);
  }
  SCOPED_TRACE("ECH");
  const std::string ech = AsEch(text);
  ASSERT_FALSE(ech.empty());
  ExpectParallelReadsAgree("games.ech", ech);
}

// 300 games; bad moves in games 2 and 5 and an unbalanced bracket in game 3
// of every hundred.
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

TEST(ReadEveryGame, ReportsAndMessagesStayInGameOrder) {
  const std::string text = GamesWithFaults();
  ExpectParallelReadsAgree("faults.pgn", text);

  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  ASSERT_TRUE(t.LoadText("faults.pgn", text));
  t.collection.errors.Clear();
  const std::size_t toldBefore = t.prompt.Records().size();
  ReadEveryGame(t.collection, 4, [](std::size_t, GameTree&) {});
  const std::vector<int> faulty = {2, 5, 102, 105, 202, 205};
  EXPECT_EQ(t.collection.errors.GameNumbers(), std::set<int>(faulty.begin(), faulty.end()));
  const std::vector<std::string>& reports = t.collection.errors.Messages();
  ASSERT_EQ(reports.size(), faulty.size());
  for (std::size_t i = 0; i < faulty.size(); ++i)
    EXPECT_TRUE(reports[i].starts_with("Error in game number " + std::to_string(faulty[i]) + " of the PGN collection"))
        << reports[i];
  const std::vector<std::string> told = Told(t.prompt, toldBefore);
  ASSERT_EQ(told.size(), 3u);
  for (std::size_t i = 0; i < told.size(); ++i)
    EXPECT_NE(told[i].find("brackets in game number " + std::to_string(100 * i + 3) + " of the collection"),
              std::string::npos)
        << told[i];
}

// The same faults in ECH: a move off the board in games 2 and 5 of every
// hundred.
std::string EchGamesWithFaults() {
  std::string text;
  for (int i = 1; i <= 300; ++i) {
    const bool faulty = i % 100 == 2 || i % 100 == 5;
    text += "(\r\nGM[Chess]\r\nEV[E" + std::to_string(i) + "]\r\n\r\nW[e2e4] B[e7e5] " +
            (faulty ? "W[k9z9]" : "W[g1f3]") + "\r\nXP[]\r\nXV[]\r\n)\r\n\r\n";
  }
  return text;
}

TEST(ReadEveryGame, EchReportsGetTheHeadOfAnEmptyListOnce) {
  // The ECH reader heads an empty error list with a line of its own: the
  // first report of the reads finds the list empty, the others do not.
  const std::string text = EchGamesWithFaults();
  ExpectParallelReadsAgree("faults.ech", text);

  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  ASSERT_TRUE(t.LoadText("faults.ech", text));
  ASSERT_TRUE(t.collection.errors.Empty());
  ReadEveryGame(t.collection, 2, [](std::size_t, GameTree&) {});
  EXPECT_EQ(t.collection.errors.GameNumbers(), (std::set<int>{2, 5, 102, 105, 202, 205}));
  const std::vector<std::string>& reports = t.collection.errors.Messages();
  ASSERT_EQ(reports.size(), 7u);
  EXPECT_EQ(reports[0], "\r\n");
  for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_NE(reports[i], "\r\n");
}

TEST(ReadEveryGame, LoadedGamesAreVisitedOnTheCallingThreadTheOthersOnReadingThreads) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  ASSERT_TRUE(t.LoadText("faults.pgn", GamesWithFaults()));
  t.collection.SelectGame(150, false);
  ASSERT_TRUE(t.collection.Game(0).loaded && t.collection.Game(150).loaded);
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::thread::id> visitedOn(t.collection.Count());
  ReadEveryGame(t.collection, 2, [&](std::size_t place, GameTree&) { visitedOn[place] = std::this_thread::get_id(); });
  for (std::size_t i = 0; i < visitedOn.size(); ++i)
    EXPECT_EQ(visitedOn[i] == caller, t.collection.Game(i).loaded) << "game " << i + 1;
}

TEST(ReadEveryGame, AFailingVisitEndsTheReadAfterTheGamesBeforeIt) {
  for (unsigned threads : {1u, 3u}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    CollectionUnderTest t;
    t.prompt.DeclineUnscripted();
    ASSERT_TRUE(t.LoadText("faults.pgn", GamesWithFaults()));
    t.collection.errors.Clear();
    std::vector<std::size_t> done;
    EXPECT_THROW(ReadEveryGame(
                     t.collection, threads,
                     [](std::size_t place, GameTree&) {
                       if (place == 203) throw std::runtime_error("visit failed");
                     },
                     [&](std::size_t place) { done.push_back(place); }),
                 std::runtime_error);
    ASSERT_EQ(done.size(), 203u);
    EXPECT_EQ(done.back(), 202u);
    // The reports of the games before the failed one were passed on.
    EXPECT_EQ(t.collection.errors.GameNumbers(), (std::set<int>{2, 5, 102, 105, 202}));
  }
}

}  // namespace
}  // namespace varnock
