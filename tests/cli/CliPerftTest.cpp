#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace varnock {
namespace {

using testing::RunCli;

std::string LastLine(const std::string& text) {
  std::size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  std::size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end - (start == std::string::npos ? 0 : start + 1) + 1);
}

// The well-known perft positions at their usual depths.
TEST(CliPerft, PublishedCounts) {
  struct Case {
    const char* fen;
    const char* depth;
    const char* nodes;
  } cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "5", "4865609"},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", "4", "4085603"},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "5", "674624"},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", "4", "422333"},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", "4", "2103487"},
      {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", "4", "3894594"},
  };
  for (const Case& c : cases) {
    auto run = RunCli({"perft", c.fen, c.depth});
    EXPECT_EQ(run.status, 0) << c.fen << run.err;
    EXPECT_EQ(LastLine(run.out), c.nodes) << c.fen;
  }
}

TEST(CliPerft, DivideListsSortedMovesBeforeTheTotal) {
  auto run = RunCli({"perft", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "2", "--divide"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.substr(0, 10), "a2a3 20\na2");
  EXPECT_EQ(LastLine(run.out), "400");
  EXPECT_NE(run.out.find("g1h3 20\n"), std::string::npos);
}

TEST(CliPerft, BadArguments) {
  EXPECT_EQ(RunCli({"perft", "8/8/8/8/8/8/8/3kK3 w - - 0 1", "2"}).status, 2);
  EXPECT_EQ(RunCli({"perft", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "x"}).status, 2);
  EXPECT_EQ(RunCli({"perft", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"}).status, 2);
}

}  // namespace
}  // namespace varnock
