// check reads the games while the file is opened: what it prints does not
// depend on the number of threads.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRunner.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::RunCli;

// 500 games: bad FEN tags (reported by the open), bad moves (reported by the
// reads) and unbalanced brackets (told on stderr) all through the file.
std::string GamesWithReports() {
  std::string text;
  for (int i = 1; i <= 500; ++i) {
    text += "[Event \"E" + std::to_string(i) + "\"]\n[White \"W\"]\n[Black \"B\"]\n";
    if (i % 90 == 7) text += "[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n";
    text += "\n";
    if (i % 60 == 2)
      text += "1. e4 e5 2. Nf3 Ke3 3. Bb5 *\n\n";
    else if (i % 110 == 3)
      text += "1. d4 (1. e4 e5 (1... c5 2. Nf3 d5 *\n\n";
    else
      text += "1. d4 d5 (1... Nf6 2. c4) 2. c4 e6 *\n\n";
  }
  return text;
}

TEST(CliCheck, PrintsTheSameWithAnyNumberOfThreads) {
  testing::TempFolder folder;
  const std::string pgn = folder / "reports.pgn";
  testing::WriteFile(pgn, GamesWithReports());
  const auto one = RunCli({"check", pgn, "--per-game", "--errors", "--threads", "1"});
  EXPECT_EQ(one.status, 1);
  EXPECT_NE(one.out.find("games 500 nodes "), std::string::npos);
  EXPECT_NE(one.out.find("FEN string is invalid"), std::string::npos);
  EXPECT_NE(one.out.find("The following move caused the error"), std::string::npos);
  EXPECT_NE(one.err.find("brackets in game number 3 of"), std::string::npos) << one.err;
  for (const char* threads : {"2", "3", "8"}) {
    SCOPED_TRACE(threads);
    const auto run = RunCli({"check", pgn, "--per-game", "--errors", "--threads", threads});
    EXPECT_EQ(run.status, one.status);
    EXPECT_EQ(run.out, one.out);
    EXPECT_EQ(run.err, one.err);
  }
}

TEST(CliCheck, AFileWithoutGamesIsRefusedWithAnyNumberOfThreads) {
  testing::TempFolder folder;
  const std::string blank = folder / "blank.pgn";
  testing::WriteFile(blank, "\n \n\n");
  for (const char* threads : {"1", "2"}) {
    const auto run = RunCli({"check", blank, "--threads", threads});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("No games were loaded."), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace varnock
