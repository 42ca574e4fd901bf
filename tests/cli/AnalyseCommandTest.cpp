// varnock-cli analyse with Stockfish: forced mates found with the right sign,
// several lines, positions that cannot be analysed, and no engine process
// left behind.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "EngineTesting.h"
#include "support/CliRunner.h"

namespace varnock {
namespace {

using testing::RunCli;

const char* kStockfish = "/usr/games/stockfish";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Columns(const std::string& row) {
  std::vector<std::string> columns;
  std::size_t start = 0;
  for (std::size_t tab; (tab = row.find('\t', start)) != std::string::npos; start = tab + 1)
    columns.push_back(row.substr(start, tab - start));
  columns.push_back(row.substr(start));
  return columns;
}

// Processes that carry the marker in their environment: the engines this
// test's runs started, which inherit it.
int MarkedProcesses(const std::string& marker) {
  int count = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = proc ? readdir(proc) : nullptr) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    std::ifstream in(std::string("/proc/") + entry->d_name + "/environ", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().find(marker) != std::string::npos) ++count;
  }
  if (proc) closedir(proc);
  return count;
}

class AnalyseCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(kStockfish, X_OK) != 0) GTEST_SKIP() << "Stockfish is not installed (scripts/install-deps.sh)";
    marker_ = "VARNOCK_ANALYSE_TEST=" + std::to_string(getpid());
    setenv("VARNOCK_ANALYSE_TEST", std::to_string(getpid()).c_str(), 1);
  }
  void TearDown() override {
    if (!marker_.empty()) {
      EXPECT_EQ(MarkedProcesses(marker_), 0) << "an engine outlived varnock-cli";
    }
  }
  testing::CliRun Analyse(const std::string& fen, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"analyse", fen, "--engine", kStockfish, "--seconds", "0.3"};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args);
  }

  std::string marker_;
};

TEST_F(AnalyseCommand, ForcedMatesAreFoundWithTheirSign) {
  struct Case {
    const char* fen;
    const char* score;
    const char* firstMove;
  } cases[] = {
      {"r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 0 4", "Mate 1", "Qxf7+"},
      {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2", "Mate -1", "Qh4+"},
      {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 10", "Mate 2", "Nf6+"},
      {"r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", "Mate -1", "Ra1+"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    auto run = Analyse(c.fen);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 2u) << run.out;
    const std::vector<std::string> top = Columns(lines.front());
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[1], c.score);
    EXPECT_EQ(top[2].substr(0, top[2].find(' ')), c.firstMove);
    EXPECT_EQ(lines.back().rfind("best\t", 0), 0u);
  }
}

TEST_F(AnalyseCommand, FourLinesGiveFourRows) {
  auto run = Analyse("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"--lines", "4", "--hash", "16"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  std::vector<std::string> firstMoves;
  for (int i = 0; i < 4; ++i) {
    const std::vector<std::string> row = Columns(lines[static_cast<std::size_t>(i)]);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_FALSE(row[0].empty());
    EXPECT_FALSE(row[1].empty());
    firstMoves.push_back(row[2].substr(0, row[2].find(' ')));
  }
  std::sort(firstMoves.begin(), firstMoves.end());
  EXPECT_EQ(std::unique(firstMoves.begin(), firstMoves.end()), firstMoves.end()) << run.out;
  EXPECT_EQ(lines[4], "best\t" + Columns(lines[0])[2]);
}

TEST_F(AnalyseCommand, PositionsWithoutAMoveAndBadInput) {
  const std::string mate = "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3";
  auto run = Analyse(mate);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "\t\t" + mate + "\nbest\tPosition is Checkmate\n");

  // FEN warnings (no kings, a pawn on the last rank): shown, and exit 1.
  for (const char* warned : {"8/8/8/8/8/8/8/8 w - - 0 1", "P3k3/8/8/8/8/8/8/4K3 w - - 0 1"}) {
    run = Analyse(warned, {"--seconds", "0.2"});
    EXPECT_EQ(run.status, 1) << warned << "\n" << run.err;
    EXPECT_NE(run.err.find("analyse: "), std::string::npos) << run.err;
  }

  run = RunCli({"analyse", mate, "--engine", "/nonexistent/engine"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("SSebrand::Start(): CreateProcessA( '/nonexistent/engine' )"), std::string::npos);
  EXPECT_EQ(RunCli({"analyse", "8/8/8 w", "--engine", kStockfish}).status, 2);
  EXPECT_EQ(RunCli({"analyse", mate}).status, 2);
  EXPECT_EQ(RunCli({"analyse", mate, "--engine", kStockfish, "--lines", "0"}).status, 2);
  EXPECT_EQ(RunCli({"analyse", mate, "--engine", kStockfish, "--seconds", "soon"}).status, 2);
}

// Engines that fail at the end or on their hash: reported, and exit 1.
TEST(AnalyseCommandFailures, AnEngineThatIgnoresStopOrDiesIsReported) {
  const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  const struct {
    std::string script;
    std::string told;
  } cases[] = {
      {"on uci:\nsend uciok\non isready:\nsend readyok\non go:\nsend info depth 1 score cp 5 pv e2e4\n"
       "on stop:\nsleep 1\n",
       "did not reply to the 'stop' command"},
      {"on uci:\nsend option name Hash type spin default 16 min 1 max 33554432\nsend uciok\non setoption:\n"
       "send Failed to allocate 1048576MB for transposition table.\nexit 1\n",
       "The engine stopped running.\\nIts last output was:"},
  };
  for (const auto& c : cases) {
    testing::FakeEngine engine(c.script);
    const auto run = RunCli({"analyse", start, "--engine", engine.Path(), "--seconds", "0.3"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace varnock
