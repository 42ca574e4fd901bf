#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace varnock {
namespace {

using testing::RunCli;

struct FenCase {
  const char* fen;
  const char* verdict;
  const char* message;  // "" when valid
  int status;
};

// Every message of the FEN check, with its verdict, as varnock-cli prints it.
const FenCase kCases[] = {
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", "valid", "", 0},
    {"rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "rejected",
     "Program has counted 7 FEN lines.  Should be 8.", 1},
    {"rnbqkbnr/pppppppp/44/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "rejected",
     "Program has counted 48 inside a line.\r\nShould be 8.", 1},
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNY w - - 0 1", "rejected", "FEN string contains invalid character 'Y'",
     1},
    {"4k3/8/8/8/8/8/8/4K3 bw - - 0 1", "warning", "Invalid whose go parameter", 1},
    {"4k3/8/8/8/8/8/8/4K3 x - - 0 1", "rejected", "Invalid whose go parameter 'x'", 1},
    {"r3k2r/8/8/8/8/8/8/R3K2R w KX - 0 1", "warning", "Invalid castling parameter 'X'", 1},
    {"r3k2r/8/8/8/8/8/8/R3K2R w KK - 0 1", "warning", "Invalid FEN castling string", 1},
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3x 0 1", "warning",
     "The FEN en-passant string has too many characters", 1},
    {"P3k3/8/8/8/8/8/8/4K3 w - - 0 1", "warning", "A pawn cannot be placed on the top rank", 1},
    {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "warning", "A pawn cannot be placed on the bottom rank", 1},
    {"4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - - 0 1", "warning",
     "There are an irregular number of pawns.\r\n\r\nWhite pawns = 9\r\nBlack pawns = 0", 1},
    {"qq2k3/pppppppp/8/8/8/8/8/4K3 w - - 0 1", "warning", "Too many promotions ( 1 ) for black.\r\nNumber of pawns = 8",
     1},
    {"4k3/8/8/8/8/8/PPPPPPPP/QQ2K3 w - - 0 1", "warning", "Too many promotions ( 1 ) for white.\r\nNumber of pawns = 8",
     1},
    {"4k3/8/8/8/8/8/8/4KK2 w - - 0 1", "warning",
     "There are an irregular number of kings.  Varnock might not be able to resolve checks or identify invalid king "
     "moves.\r\n\r\nWhite kings = 2\r\nBlack kings = 1",
     1},
    {"8/8/8/8/8/8/8/3kK3 w - - 0 1", "rejected", "Kings may not touch.", 1},
    {"4k3/8/8/8/8/8/8/R3K3 w KQkq - 0 1", "warning", "Invalid castling.  Black may not castle queen side.", 1},
    {"r3k3/8/8/8/8/8/8/R3K2R w KQk - 0 1", "warning", "Invalid castling.  Black may not castle king side.", 1},
    {"4k3/8/8/8/8/8/8/4K2R w KQ - 0 1", "warning", "Invalid castling.  White may not castle queen side.", 1},
    {"4k3/8/8/8/8/8/8/4K3 w K - 0 1", "warning", "Invalid castling.  White may not castle king side.", 1},
    {"4k3/8/8/8/8/8/8/r3K3 b - - 0 1", "rejected", "It is Black to play.  The White king is in check.", 1},
    {"4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "rejected", "It is White to play.  The Black king is in check.", 1},
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq E3 0 1", "warning",
     "Invalid en-passant string 'E3'.\r\n\r\nIt is black to play.", 1},
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 1 1", "warning",
     "EnPassant and half move values cannot both be set (  'e3', 1 )", 1},
    {"4k3/8/8/8/8/8/8/4K3 w - - 3 1", "warning",
     "The number of half moves is excessive.\r\n\r\nHalf moves = 3\r\nFull moves = 1", 1},
};

TEST(CliFen, EveryMessageWithItsVerdict) {
  for (const FenCase& c : kCases) {
    auto run = RunCli({"fen", c.fen});
    EXPECT_EQ(run.status, c.status) << c.fen;
    std::string expected = std::string(c.verdict) + "\n";
    if (*c.message) expected += std::string(c.message) + "\n";
    if (std::string(c.verdict) != "rejected") {
      ASSERT_GT(run.out.size(), expected.size()) << c.fen;
      EXPECT_EQ(run.out.substr(0, expected.size()), expected) << c.fen;
    } else {
      EXPECT_EQ(run.out, expected) << c.fen;
    }
  }
}

TEST(CliFen, WritesThePositionBackUnlessRejected) {
  auto run = RunCli({"fen", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "valid\nrnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1\n");
  auto warned = RunCli({"fen", "4k3/8/8/8/8/8/8/4K3 w K - 0 1"});
  EXPECT_EQ(warned.out, "warning\nInvalid castling.  White may not castle king side.\n4k3/8/8/8/8/8/8/4K3 w K - 0 1\n");
}

TEST(CliFen, UsageErrors) {
  EXPECT_EQ(RunCli({"fen"}).status, 2);
  EXPECT_EQ(RunCli({"no-such-command"}).status, 2);
  auto help = RunCli({"fen", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("varnock-cli fen FEN"), std::string::npos);
  auto version = RunCli({"--version"});
  EXPECT_EQ(version.out.rfind("Varnock ", 0), 0u);
}

}  // namespace
}  // namespace varnock
