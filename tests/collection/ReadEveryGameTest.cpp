// Reading every game on several threads leaves what reading the games one
// after another leaves: the same trees, reports, game numbers and messages,
// in game order.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "GameReads.h"
#include "collection/ReadEveryGame.h"
#include "support/Corpus.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::Describe;
using testing::ExpectSame;
using testing::ReadOneByOne;
using testing::ReadOutcome;
using testing::Told;

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
  testing::Finish(t, toldBefore, outcome);
  return outcome;
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
  testing::ExpectAsPgnAndAsEch(text, ExpectParallelReadsAgree);
}

TEST(ReadEveryGame, ReportsAndMessagesStayInGameOrder) {
  const std::string text = testing::GamesWithFaults();
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

TEST(ReadEveryGame, EchReportsGetTheHeadOfAnEmptyListOnce) {
  // The ECH reader heads an empty error list with a line of its own: the
  // first report of the reads finds the list empty, the others do not.
  const std::string text = testing::EchGamesWithFaults();
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

TEST(ReadEveryGame, LoadedGamesAreVisitedFromTheirOwnTreesOnTheCallingThread) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  ASSERT_TRUE(t.LoadText("faults.pgn", testing::GamesWithFaults()));
  t.collection.SelectGame(150, false);
  ASSERT_TRUE(t.collection.Game(0).loaded && t.collection.Game(150).loaded);
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::thread::id> visitedOn(t.collection.Count());
  std::vector<const GameTree*> trees(t.collection.Count());
  ReadEveryGame(t.collection, 2, [&](std::size_t place, GameTree& tree) {
    visitedOn[place] = std::this_thread::get_id();
    trees[place] = &tree;
  });
  std::set<std::thread::id> readers;
  for (std::size_t i = 0; i < visitedOn.size(); ++i) {
    SGridFrame& game = t.collection.Game(i);
    if (game.loaded) {
      EXPECT_EQ(visitedOn[i], caller) << "game " << i + 1;
      EXPECT_EQ(trees[i], &game.Tree()) << "game " << i + 1;
    } else {
      EXPECT_FALSE(game.HasTree()) << "game " << i + 1;
      readers.insert(visitedOn[i]);
    }
  }
  EXPECT_LE(readers.size(), 2u) << "the calling thread and one reading thread at most";
}

TEST(ReadEveryGame, AFailingVisitEndsTheReadAfterTheGamesBeforeIt) {
  for (unsigned threads : {1u, 3u}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    CollectionUnderTest t;
    t.prompt.DeclineUnscripted();
    ASSERT_TRUE(t.LoadText("faults.pgn", testing::GamesWithFaults()));
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
