// The analysis model running real connections to fake engines, with events
// pumped on this thread as the window's event loop would: the buttons, the
// failure reports, and an engine flooding the window with info lines.
#include <gtest/gtest.h>

#include "EngineTesting.h"
#include "engine/AnalysisModel.h"
#include "engine/BlockingEventQueue.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::FakeEngine;

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class Session {
 public:
  Session(const std::string& path, int lines = 1, const std::string& fen = kStart)
      : model_(queue_, prompt_, Settings(path, lines), AnalysisModel::kFixedFen, fen) {
    queue_.SetHandler([this](const EngineEvent& event) { model_.HandleEvent(event); });
  }
  static AnalysisSettings Settings(const std::string& path, int lines) {
    AnalysisSettings settings;
    settings.enginePath = path;
    settings.lines = lines;
    return settings;
  }
  // Pumps events until the condition holds; the longest single pump is kept.
  bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms) {
    const auto end = Clock::now() + limit;
    while (!condition()) {
      if (Clock::now() >= end) return false;
      const auto began = Clock::now();
      queue_.Pump(5ms);
      longestPump_ = std::max(longestPump_, Clock::now() - began);
    }
    return true;
  }
  AnalysisModel& Model() { return model_; }
  testing::ScriptedPrompt& Prompt() { return prompt_; }
  Clock::duration LongestPump() const { return longestPump_; }

 private:
  BlockingEventQueue queue_;
  testing::ScriptedPrompt prompt_;
  AnalysisModel model_;
  Clock::duration longestPump_{};
};

class AnalysisSessionTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(testing::ChildProcesses().empty()); }
};

TEST_F(AnalysisSessionTest, PauseStopAndRestart) {
  FakeEngine engine(testing::RespondingScript("send id name Fake Engine\n"));
  Session session(engine.Path());
  AnalysisModel& model = session.Model();
  model.Start();
  ASSERT_TRUE(session.PumpUntil([&] { return !model.Display().rows.empty(); }));
  EXPECT_EQ(model.Display().title, " Fake Engine ( " + kStart + " )");
  EXPECT_EQ(model.Display().rows[0], (AnalysisRow{"1", "12", "e4 "}));

  const pid_t first = model.Driver()->ProcessId();
  model.PauseOrResume();
  EXPECT_EQ(model.Display().pauseLabel, "&Resume");
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::ProcessState(first) == 'T'; }));
  // Minimising a paused window and restoring it leaves it paused.
  model.Minimise();
  model.Restore();
  EXPECT_FALSE(model.Running());
  model.PauseOrResume();
  EXPECT_EQ(model.Display().pauseLabel, "&Pause");
  model.Minimise();
  EXPECT_FALSE(model.Running());
  model.Restore();
  EXPECT_TRUE(model.Running());
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::ProcessState(first) != 'T'; }));

  // Stopping from the paused state resumes first, then the search is stopped
  // and, once it answered, the engine gets "quit".
  model.PauseOrResume();
  model.StopOrRestart();
  EXPECT_EQ(model.Display().stopLabel, "Restart &UCI");
  EXPECT_FALSE(model.Display().pauseVisible);
  ASSERT_TRUE(session.PumpUntil([&] { return !model.ThreadRunning(); }));
  EXPECT_TRUE(engine.Received().ends_with("go infinite\r\nstop\r\nquit\r\n")) << engine.Received();
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::ProcessState(first) == 0; }));

  model.StopOrRestart();
  EXPECT_EQ(model.Display().stopLabel, "Stop &UCI");
  EXPECT_TRUE(model.Display().pauseVisible);
  ASSERT_TRUE(engine.WaitForReceived("uci\r\n", 2));
  EXPECT_NE(model.Driver()->ProcessId(), first);
  ASSERT_TRUE(session.PumpUntil([&] { return !model.Display().rows.empty(); }));
  model.Close();
  EXPECT_TRUE(engine.Received().ends_with("quit\r\n"));
  EXPECT_TRUE(session.Prompt().Records().empty());
}

TEST_F(AnalysisSessionTest, EngineFailuresAreReportedAndCloseTheWindow) {
  FakeEngine crashing("on uci:\ncrash\n");
  Session session(crashing.Path());
  session.Model().Start();
  ASSERT_TRUE(session.PumpUntil([&] { return session.Model().CloseRequested(); }));
  ASSERT_EQ(session.Prompt().Records().size(), 1u);
  EXPECT_EQ(session.Prompt().Last().caption, "SDlgChessEngine::OnBadProcess()");
  EXPECT_EQ(session.Prompt().Last().text,
            "'" + crashing.Path() +
                "'\r\n\r\nVarnock was unable to run this executable as a separate process.\r\nIt might be that it is "
                "not a UCI engine.");
  session.Model().Close();

  Session missing("/nonexistent/engine");
  missing.Model().Start();
  EXPECT_TRUE(missing.Model().CloseRequested());
  EXPECT_EQ(missing.Prompt().Last().caption, "SSebrand::Start()");
  EXPECT_FALSE(missing.Model().ThreadRunning());

  // The timeout reports, as the window shows them.
  Session reports("/opt/engines/sf");
  const struct {
    EngineEventKind kind;
    const char* caption;
    const char* text;
  } cases[] = {
      {EngineEventKind::NoUciOk, "SDlgChessEngine::OnUCITimeout()",
       "'/opt/engines/sf'\r\n\r\nThis executable did not respond to the initial 'uci' command.\r\nMost likely it is "
       "not a UCI engine."},
      {EngineEventKind::NoReadyOk, "SDlgChessEngine::OnReadyTimeout()",
       "'/opt/engines/sf'\r\n\r\nThis executable did not reply to the 'isready' command."},
      {EngineEventKind::NoBestMove, "SDlgChessEngine::OnBestTimeout()",
       "'/opt/engines/sf'\r\n\r\nThis executable did not reply to the 'stop' command with a 'bestmove' reply."},
  };
  for (const auto& c : cases) {
    EngineEvent event;
    event.kind = c.kind;
    reports.Model().HandleEvent(event);
    EXPECT_EQ(reports.Prompt().Last().caption, c.caption);
    EXPECT_EQ(reports.Prompt().Last().text, c.text);
    EXPECT_TRUE(reports.Model().CloseRequested());
  }
}

// Engines that misbehave at the end of a session, or speak in lines the
// display must not trust.
TEST_F(AnalysisSessionTest, SilentStopsDyingEnginesAndLinesBeyondTheRules) {
  {
    // No answer to "stop": reported as such once the limit passed.
    FakeEngine silent(
        "on uci:\nsend uciok\non isready:\nsend readyok\non go:\nsend info depth 1 score cp 5 pv "
        "e2e4\non stop:\nsleep 1\n");
    Session session(silent.Path());
    session.Model().Start();
    ASSERT_TRUE(session.PumpUntil([&] { return !session.Model().Display().rows.empty(); }));
    session.Model().StopOrRestart();
    ASSERT_TRUE(session.PumpUntil([&] { return !session.Model().ThreadRunning(); }, 8000ms));
    EXPECT_TRUE(session.Model().CloseRequested());
    ASSERT_FALSE(session.Prompt().Records().empty());
    EXPECT_EQ(session.Prompt().Last().caption, "SDlgChessEngine::OnBestTimeout()");
    session.Model().Close();
  }
  {
    // An engine that cannot allocate its hash says so and exits: its words
    // are shown, not "unable to run".
    FakeEngine dying(
        "on uci:\nsend option name Hash type spin default 16 min 1 max 33554432\nsend uciok\n"
        "on setoption:\nsend info string Failed to allocate 1048576MB for transposition table.\nexit 1\n");
    Session session(dying.Path());
    session.Model().Start();
    ASSERT_TRUE(session.PumpUntil([&] { return session.Model().CloseRequested(); }));
    ASSERT_EQ(session.Prompt().Records().size(), 1u);
    EXPECT_EQ(session.Prompt().Last().text,
              "'" + dying.Path() +
                  "'\r\n\r\nThe engine stopped running.\r\nIts last output was:\r\n\r\noption name Hash type "
                  "spin default 16 min 1 max 33554432\r\nuciok\r\ninfo string Failed to allocate 1048576MB for "
                  "transposition table.");
    session.Model().Close();
  }
  {
    // Lines stop at their first move that is not legal there; a score
    // beyond 64 bits keeps its digits (from White's side: Black to move).
    FakeEngine lying(
        "on uci:\nsend uciok\non isready:\nsend readyok\non go:\n"
        "send info depth 1 score cp 123456789012345678901234 pv e7e5 g1f3 e1e3 a2a3\n"
        "send info depth 2 score cp -98765432109876543210 pv e7e5 g1f3 b8c6 f1b5\non stop:\nsend bestmove e7e5\n");
    Session session(lying.Path(), 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    session.Model().Start();
    ASSERT_TRUE(session.PumpUntil([&] {
      const auto& shown = session.Model().Display().rows;
      return shown.size() >= 2 && shown[0].depth == "2";
    }));
    const auto& rows = session.Model().Display().rows;
    EXPECT_EQ(rows[1], (AnalysisRow{"1", "-123456789012345678901234", "e5 Nf3 "}));
    EXPECT_EQ(rows[0], (AnalysisRow{"2", "98765432109876543210", "e5 Nf3 Nc6 Bb5 "}));
    session.Model().Close();
  }
}

TEST_F(AnalysisSessionTest, AFloodOfInfoLinesKeepsTheInterfaceResponsive) {
  constexpr int kLines = 10000;
  FakeEngine flooding(testing::RespondingScript() + "on go:\nflood " + std::to_string(kLines) +
                      " info depth # seldepth 30 multipv 1 score cp # nodes # nps 100 hashfull 5 time 1 pv e2e4 "
                      "e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7\n");
  Session session(flooding.Path());
  AnalysisModel& model = session.Model();
  const auto began = Clock::now();
  model.Start();
  ASSERT_TRUE(session.PumpUntil([&] { return model.Display().nodes == std::to_string(kLines); }, 60000ms));
  const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
  std::cout << "[ MEASURED ] " << kLines << " info lines handled in " << seconds << " s ("
            << static_cast<int>(kLines / seconds) << " lines/s); longest pump "
            << std::chrono::duration<double, std::milli>(session.LongestPump()).count() << " ms\n";
  EXPECT_LT(session.LongestPump(), 200ms);
  EXPECT_EQ(model.Display().rows.size(), AnalysisModel::kMostHistoryRows);
  EXPECT_EQ(model.Display().rows[0],
            (AnalysisRow{std::to_string(kLines), std::to_string(kLines), "e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7 "}));

  const auto stopping = Clock::now();
  model.StopOrRestart();
  ASSERT_TRUE(session.PumpUntil([&] { return !model.ThreadRunning(); }));
  EXPECT_LT(Clock::now() - stopping, 2000ms);
  model.Close();
}

}  // namespace
}  // namespace varnock
