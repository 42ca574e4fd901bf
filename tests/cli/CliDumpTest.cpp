#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "support/CliRunner.h"

namespace varnock {
namespace {

using testing::RunCli;

const std::string kSample = std::string(VARNOCK_SOURCE_DIR) + "/data/samples/sample.pgn";

std::string WriteTemporary(const std::string& text, const char* suffix) {
  std::string path = "/tmp/varnock-dump-XXXXXX";
  path += suffix;
  int fd = mkstemps(path.data(), static_cast<int>(std::string(suffix).size()));
  close(fd);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// A dumped game read back and dumped again gives the same text, as PGN and
// as ECH, and both forms hold the same moves.
TEST(CliDump, WritesAGameThatReadsBackTheSame) {
  for (int game = 1; game <= 4; ++game) {
    auto pgn = RunCli({"dump", kSample, std::to_string(game), "--extensions"});
    ASSERT_EQ(pgn.status, 0) << pgn.err;
    const std::string pgnPath = WriteTemporary(pgn.out, ".pgn");
    auto again = RunCli({"dump", pgnPath, "1", "--extensions"});
    EXPECT_EQ(again.out, pgn.out) << game;

    auto ech = RunCli({"dump", pgnPath, "1", "--ech"});
    ASSERT_EQ(ech.status, 0) << ech.err;
    EXPECT_EQ(ech.out.rfind("(\r\nGM[Chess]\r\n", 0), 0u);
    const std::string echPath = WriteTemporary(ech.out, ".ech");
    auto fromEch = RunCli({"dump", echPath, "1"});
    auto fromPgn = RunCli({"dump", pgnPath, "1"});
    // The ECH copy has no file tags to copy, so compare from the movetext on;
    // ECH stores a comment's line ends as CR LF.
    auto movetext = [](std::string text) {
      text = text.substr(text.find("\r\n\r\n"));
      std::erase(text, '\r');
      return text;
    };
    EXPECT_EQ(movetext(fromEch.out), movetext(fromPgn.out));
    unlink(pgnPath.c_str());
    unlink(echPath.c_str());
  }
}

TEST(CliDump, UsageAndMissingGames) {
  EXPECT_EQ(RunCli({"dump", kSample}).status, 2);
  EXPECT_EQ(RunCli({"dump", kSample, "0"}).status, 2);
  EXPECT_EQ(RunCli({"dump", kSample, "99"}).status, 2);
  EXPECT_EQ(RunCli({"dump", "/nonexistent.pgn", "1"}).status, 2);
  const std::string bad = WriteTemporary("1. e4 e5 2. Ke3 *\n", ".pgn");
  auto run = RunCli({"dump", bad, "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The following move caused the error."), std::string::npos);
  EXPECT_NE(run.out.find("1. e4 e5"), std::string::npos);
  unlink(bad.c_str());

  // A folder and a FIFO without a writer are refused as a load refuses
  // them, never waited on.
  const auto folder = RunCli({"dump", "/tmp", "1"});
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("Is a directory"), std::string::npos) << folder.err;
  const std::string fifo = "/tmp/varnock-dump-fifo-" + std::to_string(getpid()) + ".pgn";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto piped = RunCli({"dump", fifo, "1"});
  EXPECT_EQ(piped.status, 2);
  EXPECT_NE(piped.err.find("Zero bytes read"), std::string::npos) << piped.err;
  unlink(fifo.c_str());
}

// --text prints the game-text window's rows: move pairs in columns, one row
// per alternative line, comments on one row, the result row and the marks;
// the notation follows the settings.
TEST(CliDump, TextPrintsTheGameTextWindowsRows) {
  const std::string path = WriteTemporary(
      "[Result \"1-0\"]\n\n{Start} 1. e4 e5 (1... c5 {Sicilian} 2. Nf3 (2. c3) d6) 2. Nf3 {knight\nout} Nc6 "
      "3. Bb5 1-0\n",
      ".pgn");
  auto run = RunCli({"dump", path, "1", "--text"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Start\n"
            "\t  1.   e2-e4\t e7-e5\n"
            "\t\t c7-c5 (3)\n"
            "\t  2.  Ng1-f3\n"
            "knight\\out\n"
            "\t\tNb8-c6\n"
            "\t  3.  Bf1-b5\n"
            "\t        1-0  \n"
            "\t primary \n");
  auto shortText = RunCli({"dump", path, "1", "--text", "--set", "ShortNotation=YES"});
  EXPECT_NE(shortText.out.find("\t  2.    Nf3\n"), std::string::npos) << shortText.out;
  EXPECT_EQ(RunCli({"dump", path, "1", "--text", "--ech"}).status, 2);
  unlink(path.c_str());
}

}  // namespace
}  // namespace varnock
