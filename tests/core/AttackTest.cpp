// The quick check test and the pin test agree with the full attack scan on
// every position and move of several perft trees.
#include <gtest/gtest.h>

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Legality.h"
#include "core/MoveGen.h"

namespace varnock {
namespace {

struct Tally {
  int checks = 0;
  int quiet = 0;
  int pins = 0;
};

// Walks the legal moves to `depth` plies. Castling rights carry over as they
// were and en passant is only taken from the starting FEN: enough to visit
// many thousands of real positions.
void Walk(const FENExtras& position, int depth, Tally& tally) {
  KingSquares kings;
  LocateKings(position.board, kings);
  const std::uint8_t side = position.sideToMove;
  const std::uint8_t other = Opponent(side);
  FenHistory history(position);

  // Every own piece: pinned by the quick test exactly when the full test,
  // which tries the piece's removal, says so.
  for (int square = 0; square < 64; ++square) {
    const std::uint8_t code = position.board[static_cast<std::size_t>(square)];
    if (!(code & side) || (code & kKing)) continue;
    BoardSquares without = position.board;
    without[static_cast<std::size_t>(square)] = 0;
    const bool exposes = IsKingAttacked(without, kings, side) && !IsKingAttacked(position.board, kings, side);
    const bool pinned = IsPinned(position.board, side, square, kings.Of(side));
    // A piece whose removal exposes the king is pinned; a pinned piece always
    // exposes it unless the king is in check already.
    if (exposes) {
      EXPECT_TRUE(pinned) << FormatFEN(position.board, position) << " square " << square;
    }
    if (pinned && !IsKingAttacked(position.board, kings, side)) {
      EXPECT_TRUE(exposes) << FormatFEN(position.board, position) << " square " << square;
    }
    tally.pins += pinned;
  }

  for (const Move& move : GenerateLegalMoves(position.board, kings, side, history)) {
    FENExtras next = position;
    KingSquares nextKings = kings;
    const AppliedMove applied = ApplyMove(next.board, nextKings, move.from, move.to, move.promotion);
    next.sideToMove = other;
    next.SetEnPassant("-");
    if (applied.kind == kOrdinary || applied.kind == kPromotion) {
      const bool full = IsKingAttacked(next.board, nextKings, other);
      EXPECT_EQ(MoveGivesCheck(next.board, nextKings.Of(other), move.from, move.to), full)
          << FormatFEN(position.board, position) << " " << SquareName(move.from) << SquareName(move.to);
      ++(full ? tally.checks : tally.quiet);
    }
    if (depth > 1) Walk(next, depth - 1, tally);
  }
}

TEST(Attack, QuickCheckAndPinTestsAgreeWithTheFullScan) {
  const char* fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
  };
  Tally tally;
  for (const char* fen : fens) {
    FENExtras position;
    ASSERT_FALSE(ParseFEN(fen, position).rejected) << fen;
    Walk(position, 3, tally);
  }
  // The trees hold plenty of each kind.
  EXPECT_GT(tally.checks, 1000);
  EXPECT_GT(tally.quiet, 100000);
  EXPECT_GT(tally.pins, 1000);
}

}  // namespace
}  // namespace varnock
