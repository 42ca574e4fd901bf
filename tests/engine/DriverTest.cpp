// The engine connection against scripted fake engines: the exact bytes the
// engine receives in each situation, the events the owner hears, and that no
// engine process outlives its connection.
#include <gtest/gtest.h>

#include <memory>

#include "EngineTesting.h"
#include "core/Fen.h"
#include "engine/SSebrand.h"
#include "support/GameBuilder.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using namespace std::chrono_literals;
using testing::FakeEngine;
using testing::RecordingEvents;
using Kind = EngineEventKind;

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

std::string Search(const std::string& fen, bool newGame = true) {
  return std::string(newGame ? "ucinewgame\r\n" : "") + "position fen " + fen + "\r\ngo infinite\r\n";
}

class DriverTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(testing::ChildProcesses().empty()) << "an engine process outlived its connection";
    for (pid_t group : groups_) {
      EXPECT_TRUE(testing::WaitUntil([&] { return testing::GroupMembers(group).empty(); }, 2000ms))
          << "a process stayed behind in the engine's group " << group;
    }
  }

  std::unique_ptr<SSebrand> Connect(const FakeEngine& engine, EngineSettings settings) {
    settings.enginePath = engine.Path();
    auto driver = std::make_unique<SSebrand>(events_, settings);
    EXPECT_EQ(driver->StartFailed(), SSebrand::StartFailure::None) << driver->StartReport();
    groups_.push_back(driver->ProcessId());
    driver->Run();
    return driver;
  }

  static EngineSettings Fixed(const std::string& fen) {
    EngineSettings settings;
    settings.fixedPosition = true;
    settings.position = PositionOfFen(fen);
    return settings;
  }

  RecordingEvents events_;
  std::vector<pid_t> groups_;
};

TEST_F(DriverTest, HandshakeSendsTheOptionsTheEngineOffers) {
  const std::string everything =
      "send id name Fake Engine 1.0\n"
      "send option name MultiPV type spin default 1 min 0 max 500\n"
      "send option name Hash type spin default 1 min 1 max 1\n"
      "send option name Max CPUs type spin default 2 min 1 max 8\n"
      "send option name UCI_AnalyseMode type check default false\n"
      "send option name UCI_ShowCurrLine type check default false\n";
  struct Case {
    const char* name;
    std::string reply;
    int lines;
    bool oneProcessor;
    std::string options;
  } cases[] = {
      {"every option", everything, 4, true,
       "setoption name MultiPV value 4\r\nsetoption name Hash value 17\r\nsetoption name Max CPUs value 1\r\n"
       "setoption name UCI_AnalyseMode value true\r\nsetoption name UCI_ShowCurrLine value true\r\n"},
      {"one line, all processors", everything, 1, false,
       "setoption name Hash value 17\r\nsetoption name UCI_AnalyseMode value true\r\n"
       "setoption name UCI_ShowCurrLine value true\r\n"},
      {"no options", "", 8, true, ""},
      {"Threads is no processor option",
       "send option name Threads type spin default 1 min 1 max 512\n"
       "send option name MultiPV type spin default 1 min 1 max 3\n",
       8, true, "setoption name MultiPV value 3\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeEngine engine(testing::RespondingScript(c.reply));
    EngineSettings settings = Fixed(kStart);
    settings.lines = c.lines;
    settings.hashMegabytes = 64;
    settings.oneProcessor = c.oneProcessor;
    settings.processorCount = 2;
    auto driver = Connect(engine, settings);
    ASSERT_TRUE(engine.WaitForReceived("go infinite"));
    driver.reset();
    EXPECT_EQ(engine.Received(), "uci\r\n" + c.options + "isready\r\n" + Search(kStart) + "quit\r\n");
  }
  EXPECT_EQ(events_.Count(Kind::EngineName), 2);
}

TEST_F(DriverTest, MovingOnOneMoveKeepsTheGameAndJumpingStartsANewOne) {
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef e5 = builder.Play("e7e5");
  const NodeRef c5 = builder.Alternative(e4, "c7c5");
  GoToNode(game, e4);
  const SharedPosition first = PositionOfGame(game);

  FakeEngine engine(testing::RespondingScript());
  EngineSettings settings;
  settings.position = first;
  auto driver = Connect(engine, settings);
  ASSERT_TRUE(engine.WaitForReceived("go infinite"));
  ASSERT_TRUE(events_.WaitFor(Kind::InfoLine));

  GoToNode(game, e5);
  const SharedPosition second = PositionOfGame(game);
  driver->Watch(second);
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 2));
  GoToNode(game, c5);
  const SharedPosition third = PositionOfGame(game);
  driver->Watch(third);
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 3));
  driver.reset();

  EXPECT_EQ(engine.Received(), "uci\r\nisready\r\n" + Search(first->fen) + "stop\r\n" + Search(second->fen, false) +
                                   "stop\r\n" + Search(third->fen) + "quit\r\n");
  // The owner hears of each new position before the engine is told, and the
  // info lines carry the position they belong to.
  const std::vector<EngineEvent> events = events_.Events();
  int newPositions = 0;
  for (const EngineEvent& event : events) {
    if (event.kind == Kind::NewPosition) ++newPositions;
    if (event.kind == Kind::InfoLine) {
      EXPECT_EQ(event.text, "info depth 1 score cp 12 pv e2e4");
      EXPECT_EQ(event.position, (newPositions == 0 ? first : newPositions == 1 ? second : third)->key);
    }
  }
  EXPECT_EQ(newPositions, 2);
}

TEST_F(DriverTest, PositionsChangingDuringAStopGetOneStopAndOneSearch) {
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef e5 = builder.Play("e7e5");
  const NodeRef nf3 = builder.Play("g1f3");
  GoToNode(game, e4);
  EngineSettings settings;
  settings.position = PositionOfGame(game);
  const std::string first = settings.position->fen;
  // The engine takes its time to answer "stop".
  FakeEngine engine("on uci:\nsend uciok\non isready:\nsend readyok\non stop:\nsleep 300\nsend bestmove e7e5\n");
  auto driver = Connect(engine, settings);
  ASSERT_TRUE(engine.WaitForReceived("go infinite"));
  GoToNode(game, e5);
  driver->Watch(PositionOfGame(game));
  ASSERT_TRUE(engine.WaitForReceived("stop"));
  GoToNode(game, nf3);
  const SharedPosition last = PositionOfGame(game);
  driver->Watch(last);
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 2));
  std::this_thread::sleep_for(100ms);
  driver.reset();
  // The search after the stop is of the newest position, which is not one
  // move on from the position searched before.
  EXPECT_EQ(engine.Received(), "uci\r\nisready\r\n" + Search(first) + "stop\r\n" + Search(last->fen) + "quit\r\n");
  EXPECT_EQ(events_.Count(Kind::NewPosition), 2);
}

TEST_F(DriverTest, CheckmateLeavesTheEngineIdleUntilANormalPositionReturns) {
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef g4 = builder.Play("f2f3 e7e5 g2g4");
  const NodeRef mate = builder.Play("d8h4");
  GoToNode(game, g4);
  const SharedPosition normal = PositionOfGame(game);
  GoToNode(game, mate);
  const SharedPosition checkmate = PositionOfGame(game);

  FakeEngine engine(testing::RespondingScript());
  EngineSettings settings;
  settings.position = normal;
  auto driver = Connect(engine, settings);
  ASSERT_TRUE(engine.WaitForReceived("go infinite"));
  driver->Watch(checkmate);
  ASSERT_TRUE(events_.WaitFor(Kind::Checkmate));
  ASSERT_TRUE(testing::WaitUntil([&] { return driver->CurrentState() == SSebrand::kIdle; }));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(engine.Received(), "uci\r\nisready\r\n" + Search(normal->fen) + "stop\r\n");

  driver->Watch(normal);
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 2));
  driver.reset();
  EXPECT_EQ(engine.Received(),
            "uci\r\nisready\r\n" + Search(normal->fen) + "stop\r\n" + Search(normal->fen) + "quit\r\n");
  for (const EngineEvent& event : events_.Events()) {
    if (event.kind == Kind::Checkmate) {
      EXPECT_EQ(event.text, checkmate->fen);
    }
  }
}

TEST_F(DriverTest, UnanalysablePositionsAreReportedAndNothingIsSearched) {
  struct Case {
    std::string fen;
    Kind kind;
  } cases[] = {
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", Kind::Stalemate},
      {"8/8/8/8/8/8/8/8 w - - 0 1", Kind::InvalidPosition},
      {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", Kind::Checkmate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    // An info line while idle is ignored.
    FakeEngine engine(testing::RespondingScript() + "on isready:\nsend readyok\nsend info depth 5 pv e2e4\n");
    RecordingEvents events;
    EngineSettings settings = Fixed(c.fen);
    settings.enginePath = engine.Path();
    SSebrand driver(events, settings);
    groups_.push_back(driver.ProcessId());
    driver.Run();
    ASSERT_TRUE(testing::WaitUntil([&] { return driver.CurrentState() == SSebrand::kIdle; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(engine.Received(), "uci\r\nisready\r\n");
    EXPECT_EQ(events.Count(c.kind), 1);
    EXPECT_EQ(events.Count(Kind::InfoLine), 0);
  }
}

TEST_F(DriverTest, MissingRepliesAreReportedAfterTheirLimits) {
  FakeEngine silent("");
  FakeEngine noReadyOk("on uci:\nsend uciok\n");
  FakeEngine noBestMove("on uci:\nsend uciok\non isready:\nsend readyok\n");
  RecordingEvents silentEvents, readyEvents, bestEvents;
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef e5 = builder.Play("e7e5");
  GoToNode(game, e4);

  const auto began = std::chrono::steady_clock::now();
  EngineSettings fixed = Fixed(kStart);
  fixed.enginePath = silent.Path();
  SSebrand first(silentEvents, fixed);
  fixed.enginePath = noReadyOk.Path();
  SSebrand second(readyEvents, fixed);
  EngineSettings follow;
  follow.enginePath = noBestMove.Path();
  follow.position = PositionOfGame(game);
  SSebrand third(bestEvents, follow);
  for (SSebrand* driver : {&first, &second, &third}) {
    groups_.push_back(driver->ProcessId());
    driver->Run();
  }
  ASSERT_TRUE(noBestMove.WaitForReceived("go infinite"));
  const auto stopped = std::chrono::steady_clock::now();
  GoToNode(game, e5);
  third.Watch(PositionOfGame(game));

  ASSERT_TRUE(silentEvents.WaitFor(Kind::NoUciOk, 8000ms));
  EXPECT_GE(std::chrono::steady_clock::now() - began, 4000ms);
  ASSERT_TRUE(readyEvents.WaitFor(Kind::NoReadyOk, 8000ms));
  ASSERT_TRUE(bestEvents.WaitFor(Kind::NoBestMove, 8000ms));
  EXPECT_GE(std::chrono::steady_clock::now() - stopped, 3000ms);
  for (SSebrand* driver : {&first, &second, &third}) {
    EXPECT_TRUE(testing::WaitUntil([&] { return !driver->ThreadRunning(); }));
    EXPECT_EQ(driver->ThreadResult(), 0);
  }
  EXPECT_EQ(noReadyOk.Received(), "uci\r\nisready\r\n");
}

TEST_F(DriverTest, RepliesSplitAnywhereAreJoinedAndCarryNoCarriageReturn) {
  FakeEngine engine(
      "on uci:\n"
      "raw id na\nsleep 30\nraw me Split\\r\nsleep 30\nraw  Engine\\r\\n\\r\\n   \\n\nsleep 30\nraw uci\nsleep 30\n"
      "raw ok\\r\\n\n"
      "on isready:\nsend readyok\\r\n"
      "on go:\nraw info depth 3 sc\nsleep 30\nraw ore cp 5 pv e2e4\\r\\n\n");
  auto driver = Connect(engine, Fixed(kStart));
  ASSERT_TRUE(events_.WaitFor(Kind::InfoLine));
  driver.reset();
  std::vector<EngineEvent> events = events_.Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, Kind::EngineName);
  EXPECT_EQ(events[0].text, "Split Engine");
  EXPECT_EQ(events[0].processId, groups_.back());
  EXPECT_EQ(events[1].text, "info depth 3 score cp 5 pv e2e4");
}

TEST_F(DriverTest, OverlongLinesAreCutAndReadingGoesOn) {
  FakeEngine engine(
      "on uci:\nlong 10000 id name Long\nsend uciok\n"
      "on isready:\nsend readyok\n"
      "on go:\nlong 10000 info depth 1 pv e2e4 \nsend info depth 2 pv d2d4\n");
  auto driver = Connect(engine, Fixed(kStart));
  ASSERT_TRUE(testing::WaitUntil([&] { return events_.Count(Kind::InfoLine) == 2; }));
  driver.reset();
  std::vector<EngineEvent> events = events_.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].text, "Long" + std::string(3999 - 12, 'x'));
  EXPECT_EQ(events[1].text.size(), 3999u);
  EXPECT_EQ(events[2].text, "info depth 2 pv d2d4");
}

TEST_F(DriverTest, AnEngineThatDiesIsReportedAndNothingHangs) {
  FakeEngine crashing("on uci:\nsend id name Doomed\ncrash\n");
  auto driver = Connect(crashing, Fixed(kStart));
  ASSERT_TRUE(events_.WaitFor(Kind::ProcessEnded));
  EXPECT_TRUE(testing::WaitUntil([&] { return !driver->ThreadRunning(); }));
  driver.reset();

  // A program that cannot be started at all.
  EngineSettings settings = Fixed(kStart);
  settings.enginePath = "/nonexistent/engine";
  SSebrand missing(events_, settings);
  EXPECT_EQ(missing.StartFailed(), SSebrand::StartFailure::NotStarted);
  EXPECT_EQ(missing.CurrentState(), SSebrand::kFailed);
  EXPECT_EQ(missing.StartReport(),
            "CreateProcessA( '/nonexistent/engine' )\r\n\r\nVarnock was attempting to create a Windows process.\r\n"
            "This statement gave a failed return code.\r\n\r\nError Message is 'No such file or directory'\r\n"
            "Error Code is 2");
}

TEST_F(DriverTest, AnEngineIgnoringQuitAndSigtermIsKilledWithItsGroup) {
  FakeEngine stubborn(testing::RespondingScript() + "start:\nignore-term\nchild\non quit:\nhang\n");
  auto driver = Connect(stubborn, Fixed(kStart));
  ASSERT_TRUE(stubborn.WaitForReceived("go infinite"));
  EXPECT_EQ(testing::GroupMembers(groups_.back()).size(), 2u);
  const auto began = std::chrono::steady_clock::now();
  driver.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - began, 3000ms);
  EXPECT_TRUE(stubborn.Received().ends_with("quit\r\n"));
}

TEST_F(DriverTest, PauseStopsTheEngineGroupAndResumeLetsItGoOn) {
  FakeEngine engine(testing::RespondingScript());
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef e5 = builder.Play("e7e5");
  GoToNode(game, e4);
  EngineSettings settings;
  settings.position = PositionOfGame(game);
  auto driver = Connect(engine, settings);
  ASSERT_TRUE(engine.WaitForReceived("go infinite"));

  driver->Pause();
  EXPECT_TRUE(driver->Paused());
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::ProcessState(driver->ProcessId()) == 'T'; }));
  // A position change waits while paused.
  GoToNode(game, e5);
  driver->Watch(PositionOfGame(game));
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(engine.Received().find("stop"), std::string::npos);

  driver->Resume();
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::ProcessState(driver->ProcessId()) != 'T'; }));
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 2));
  // Ending a paused connection still ends the engine.
  driver->Pause();
  driver.reset();
}

TEST_F(DriverTest, ASearchTheEngineEndsItselfIsNotStoppedAgain) {
  FakeEngine engine(testing::RespondingScript() + "on go:\nsend info depth 1 pv e2e4\nsend bestmove e2e4\n");
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  const NodeRef e4 = builder.Play("e2e4");
  const NodeRef e5 = builder.Play("e7e5");
  GoToNode(game, e4);
  EngineSettings settings;
  settings.position = PositionOfGame(game);
  auto driver = Connect(engine, settings);
  ASSERT_TRUE(testing::WaitUntil([&] { return driver->CurrentState() == SSebrand::kIdle; }));
  GoToNode(game, e5);
  const SharedPosition next = PositionOfGame(game);
  driver->Watch(next);
  ASSERT_TRUE(engine.WaitForReceived("go infinite", 2));
  driver.reset();
  EXPECT_EQ(engine.Received().find("stop"), std::string::npos);
  EXPECT_TRUE(engine.Received().ends_with(Search(next->fen) + "quit\r\n"));
}

}  // namespace
}  // namespace varnock
