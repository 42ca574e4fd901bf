// Opening a file while its games are read leaves what opening it first and
// reading every game after leaves: the same trees, the same reports with the
// same game numbers, the same messages, in the same order.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "GameReads.h"
#include "collection/OpenWhileReading.h"
#include "collection/PlaceSlots.h"
#include "collection/ReadEveryGame.h"
#include "support/Corpus.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::Describe;
using testing::ExpectSame;
using testing::GameRead;
using testing::ReadOutcome;

// Reads every game through `read` (which opens, or not, and then reads with
// the visitor and `done` given), and takes what it leaves. Every game is
// visited once, and `done` is told of them in order.
template <typename Read>
ReadOutcome Outcome(CollectionUnderTest& t, Read read) {
  Collection& c = t.collection;
  const std::size_t toldBefore = t.prompt.Records().size();
  PlaceSlots<GameRead> games;
  std::atomic<std::size_t> visits{0};
  ReadOutcome outcome;
  read(
      [&](std::size_t place, GameTree& tree) {
        games.Set(place, Describe(tree));
        ++visits;
      },
      [&](std::size_t place) {
        EXPECT_EQ(place, outcome.games.size());
        outcome.games.push_back(games.Take(place));
        outcome.games.back().reported = c.errors.GameNumbers().count(static_cast<int>(place + 1)) > 0;
      });
  EXPECT_EQ(outcome.games.size(), c.Count());
  EXPECT_EQ(visits, c.Count());
  testing::Finish(t, toldBefore, outcome);
  return outcome;
}

// Opening the file, then ReadEveryGame on one thread.
ReadOutcome OpenThenRead(const std::filesystem::path& file) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  return Outcome(t, [&](const GameVisitor& visit, const GameDone& done) {
    EXPECT_TRUE(t.files.ReLoad(file));
    ReadEveryGame(t.collection, 1, visit, done);
  });
}

ReadOutcome ReadWhileOpening(const std::filesystem::path& file, unsigned threads) {
  CollectionUnderTest t;
  t.prompt.DeclineUnscripted();
  ReadOutcome outcome = Outcome(t, [&](const GameVisitor& visit, const GameDone& done) {
    EXPECT_TRUE(OpenWhileReading(
        t.collection, threads, [&] { return t.files.ReLoad(file).Loaded(); }, visit, done));
  });
  EXPECT_EQ(t.collection.buildObserver, nullptr);
  // The collection is left as the open left it.
  EXPECT_EQ(t.collection.CountUnloaded(), t.collection.Count() - 1);
  EXPECT_TRUE(t.collection.Game(0).loaded);
  return outcome;
}

void ExpectReadsWhileOpeningAgree(const std::string& name, const std::string& text) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder / name;
  testing::WriteFile(file, text);
  const ReadOutcome expected = OpenThenRead(file);
  for (unsigned threads : {1u, 2u, 4u}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    ExpectSame(expected, ReadWhileOpening(file, threads));
  }
}

TEST(OpenWhileReading, AgreesWithOpeningThenReadingOverTheCorpusAsPgnAndAsEch) {
  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  if (files.empty()) GTEST_SKIP() << "no corpus";
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    testing::ExpectAsPgnAndAsEch(testing::ReadCorpusFile(path), ExpectReadsWhileOpeningAgree);
  }
}

// Reports of the open (a bad FEN tag, an unbalanced bracket) and of the
// reads (bad moves) in games all through the file, several chunks apart.
TEST(OpenWhileReading, ReportsOfTheOpenAndOfTheReadsKeepTheOneThreadOrder) {
  std::string text;
  for (int i = 1; i <= 400; ++i) {
    text += "[Event \"E" + std::to_string(i) + "\"]\n[White \"W\"]\n[Black \"B\"]\n";
    if (i % 50 == 7) text += "[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n";
    if (i % 50 == 9) text += "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0\"]\n";
    text += "\n";
    if (i % 50 == 2 || i % 70 == 5)
      text += "1. e4 e5 2. Nf3 Ke3 3. Bb5 *\n\n";
    else if (i % 50 == 3)
      text += "1. d4 (1. e4 e5 (1... c5 2. Nf3 d5 *\n\n";
    else
      text += "1. d4 d5 (1... Nf6 2. c4) 2. c4 e6 *\n\n";
  }
  ExpectReadsWhileOpeningAgree("faults.pgn", text);
  ExpectReadsWhileOpeningAgree("faults.pgn", testing::GamesWithFaults());
  ExpectReadsWhileOpeningAgree("faults.ech", testing::EchGamesWithFaults());

  // Both kinds are there, and the open's come first.
  testing::TempFolder folder;
  testing::WriteFile(folder / "faults.pgn", text);
  const ReadOutcome outcome = ReadWhileOpening(folder / "faults.pgn", 2);
  ASSERT_GT(outcome.reports.size(), 2u);
  EXPECT_NE(outcome.reports[1].find("FEN string is invalid"), std::string::npos) << outcome.reports[1];
  EXPECT_NE(outcome.reports.back().find("The following move caused the error"), std::string::npos);
}

TEST(OpenWhileReading, AnOpenThatFindsNoGamesVisitsNothing) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "blank.pgn", "\n\n   \r\n\t\n");
  for (const std::string name : {"blank.pgn", "missing.pgn"}) {
    SCOPED_TRACE(name);
    // What the prompt is told by the open alone.
    CollectionUnderTest alone;
    alone.prompt.DeclineUnscripted();
    EXPECT_FALSE(alone.files.ReLoad(folder / name));
    ASSERT_FALSE(alone.prompt.Records().empty());
    for (unsigned threads : {1u, 2u, 4u}) {
      CollectionUnderTest t;
      t.prompt.DeclineUnscripted();
      bool called = false;
      EXPECT_FALSE(OpenWhileReading(
          t.collection, threads, [&] { return t.files.ReLoad(folder / name).Loaded(); },
          [&](std::size_t, GameTree&) { called = true; }, [&](std::size_t) { called = true; }));
      EXPECT_FALSE(called);
      EXPECT_EQ(testing::Told(t.prompt, 0), testing::Told(alone.prompt, 0));
    }
  }
}

TEST(OpenWhileReading, AFailingVisitIsThrownAfterTheGamesBeforeIt) {
  // 3000 games: a game early on fails while the open is still scanning.
  std::string text;
  for (int i = 0; i < 10; ++i) text += testing::GamesWithFaults();
  testing::TempFolder folder;
  testing::WriteFile(folder / "faults.pgn", text);
  for (const std::size_t failing : {std::size_t{0}, std::size_t{5}, std::size_t{203}, std::size_t{2999}}) {
    for (unsigned threads : {1u, 2u, 4u}) {
      SCOPED_TRACE("game " + std::to_string(failing + 1) + ", threads " + std::to_string(threads));
      CollectionUnderTest t;
      t.prompt.DeclineUnscripted();
      std::vector<std::size_t> done;
      EXPECT_THROW(OpenWhileReading(
                       t.collection, threads, [&] { return t.files.ReLoad(folder / "faults.pgn").Loaded(); },
                       [&](std::size_t place, GameTree&) {
                         if (place == failing) throw std::runtime_error("visit failed");
                       },
                       [&](std::size_t place) { done.push_back(place); }),
                   std::runtime_error);
      ASSERT_EQ(done.size(), failing);
      // The reports of the games before the failed one were passed on.
      std::set<int> reported;
      for (int game : {2, 5, 102, 105, 202, 205})
        for (int hundreds = 0; hundreds < 3000; hundreds += 300)
          if (static_cast<std::size_t>(game + hundreds) <= failing) reported.insert(game + hundreds);
      EXPECT_EQ(t.collection.errors.GameNumbers(), reported);
      EXPECT_EQ(t.collection.buildObserver, nullptr);
    }
  }
}

TEST(OpenWhileReading, AFailingOpenIsThrownAndNothingIsPassedOn) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "faults.pgn", testing::GamesWithFaults());
  for (unsigned threads : {1u, 2u, 4u}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    CollectionUnderTest t;
    t.prompt.DeclineUnscripted();
    bool done = false;
    EXPECT_THROW(OpenWhileReading(
                     t.collection, threads,
                     [&]() -> bool {
                       t.files.ReLoad(folder / "faults.pgn");
                       throw std::runtime_error("open failed");
                     },
                     [](std::size_t, GameTree&) {}, [&](std::size_t) { done = true; }),
                 std::runtime_error);
    EXPECT_FALSE(done);
    EXPECT_TRUE(t.collection.errors.Empty());
    EXPECT_EQ(t.collection.buildObserver, nullptr);
  }
}

// An open that loads a game after building the collection, or builds it
// twice: the games are read afresh once it is done, as after a plain open.
TEST(OpenWhileReading, AnOpenThatChangesItsGamesIsReadAfresh) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder / "faults.pgn";
  testing::WriteFile(file, testing::GamesWithFaults());
  const std::filesystem::path other = folder / "other.pgn";
  testing::WriteFile(other, testing::GamesWithFaults() + testing::GamesWithFaults());

  auto compare = [&](const std::function<bool(CollectionUnderTest&)>& open) {
    CollectionUnderTest one;
    one.prompt.DeclineUnscripted();
    const ReadOutcome expected = Outcome(one, [&](const GameVisitor& visit, const GameDone& done) {
      EXPECT_TRUE(open(one));
      ReadEveryGame(one.collection, 1, visit, done);
    });
    for (unsigned threads : {2u, 4u}) {
      SCOPED_TRACE("threads " + std::to_string(threads));
      CollectionUnderTest t;
      t.prompt.DeclineUnscripted();
      // A game may be visited twice: the visits are not counted here.
      const std::size_t toldBefore = t.prompt.Records().size();
      PlaceSlots<GameRead> games;
      ReadOutcome actual;
      EXPECT_TRUE(OpenWhileReading(
          t.collection, threads, [&] { return open(t); },
          [&](std::size_t place, GameTree& tree) { games.Set(place, Describe(tree)); },
          [&](std::size_t place) {
            actual.games.push_back(games.Take(place));
            actual.games.back().reported = t.collection.errors.GameNumbers().count(static_cast<int>(place + 1)) > 0;
          }));
      testing::Finish(t, toldBefore, actual);
      ExpectSame(expected, actual);
    }
  };
  {
    SCOPED_TRACE("a game loaded");
    compare([&](CollectionUnderTest& t) {
      if (!t.files.ReLoad(file)) return false;
      t.collection.SelectGame(201, false);  // game 202 has a bad move
      return true;
    });
  }
  SCOPED_TRACE("two builds");
  compare([&](CollectionUnderTest& t) { return t.files.ReLoad(other).Loaded() && t.files.ReLoad(file).Loaded(); });
}

TEST(OpenWhileReading, AFileOfOneChunkIsReadOnTheCallingThread) {
  testing::TempFolder folder;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "[Event \"E\"]\n\n1. e4 e5 2. Nf3 *\n\n";
  testing::WriteFile(folder / "small.pgn", text);
  CollectionUnderTest t;
  const std::thread::id caller = std::this_thread::get_id();
  std::size_t visits = 0;
  EXPECT_TRUE(OpenWhileReading(
      t.collection, 4, [&] { return t.files.ReLoad(folder / "small.pgn").Loaded(); },
      [&](std::size_t, GameTree&) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        ++visits;
      }));
  EXPECT_EQ(visits, 20u);
}

}  // namespace
}  // namespace varnock
