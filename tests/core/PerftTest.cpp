#include <gtest/gtest.h>

#include "core/Fen.h"
#include "core/Perft.h"

namespace varnock {
namespace {

struct PerftCase {
  const char* name;
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

// Published counts; depths kept small enough for the sanitizer build.
// varnock-cli's tests take the deeper counts.
const PerftCase kCases[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
    {"endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
    {"promotions-mirrored", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
    {"talkchess", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
    {"steven-edwards", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, 89890},
    // bxc6 en passant would open the fifth rank to the rook on h5: of the 17
    // moves by the rules of movement, 16 are legal (counted by hand).
    {"ep-discovered-check", "8/8/3p4/KPp4r/1R3p1k/8/4P1P1/8 w - c6 0 2", 1, 16},
};

TEST(Perft, PublishedCounts) {
  for (const PerftCase& c : kCases) {
    FENExtras position;
    FenCheck check = ParseFEN(c.fen, position);
    ASSERT_FALSE(check.rejected) << c.name << ": " << check.message;
    EXPECT_EQ(Perft(position, c.depth), c.nodes) << c.name;
  }
}

TEST(Perft, DivideSumsToTheTotalAndNamesPromotions) {
  FENExtras position;
  ParseFEN("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", position);
  auto rows = PerftDivide(position, 1);
  std::uint64_t total = 0;
  int promotions = 0;
  for (const auto& [move, count] : rows) {
    total += count;
    std::string text = CoordinateText(move);
    if (text.rfind("b7b8", 0) == 0) ++promotions;
  }
  EXPECT_EQ(total, Perft(position, 1));
  EXPECT_EQ(promotions, 4);
}

}  // namespace
}  // namespace varnock
